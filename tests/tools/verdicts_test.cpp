// benchora's checks and reports without the plug-in: what a verify line
// means and prints, which readings pass, how a `get` state is read, and
// the JUnit, CSV and JSON texts whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "measurement.h"
#include "reports.h"
#include "sampling.h"
#include "verdict.h"

namespace {

using namespace benchora;

struct CheckCase {
  const char* arguments;
  const char* measured;  // nullptr: nothing could be read
  const char* line;      // the verdict line, or "error: ..." for a refused check
};

// One row per operator and per way of comparing: numbers as numbers (hex,
// fractions), quoted values as text, limits at their edges, patterns.
const CheckCase kChecks[] = {
    {"LERSSI in 25..40 dBuV", "25", "PASS LERSSI: measured 25, limits in 25..40 dBuV"},
    {"LERSSI in 25..40 dBuV", "40.5", "FAIL LERSSI: measured 40.5, limits in 25..40 dBuV"},
    {"LERSSI in 25..40", "strong",
     "FAIL LERSSI: measured \"strong\", limits in 25..40 (not a number)"},
    {"LEFrequency = 95400000 Hz", "95400000.0",
     "PASS LEFrequency: measured 95400000.0, limits = 95400000 Hz"},
    {"LEReg = 0x1A", "26", "PASS LEReg: measured 26, limits = 0x1A"},
    {"LEReg = \"0x1A\"", "26", "FAIL LEReg: measured \"26\", limits = \"0x1A\""},
    {"LReady != Yes", "Yes", "FAIL LReady: measured \"Yes\", limits != \"Yes\""},
    {"LReady = yes", "Yes", "FAIL LReady: measured \"Yes\", limits = \"yes\""},
    {"X < 10", "10", "FAIL X: measured 10, limits < 10"},
    {"X <= 10", "10", "PASS X: measured 10, limits <= 10"},
    {"X > -3", "-2", "PASS X: measured -2, limits > -3"},
    {"X >= 1e3", "999", "FAIL X: measured 999, limits >= 1e3"},
    {"rds.ps = \"ROCK 95 \"", "ROCK 95 ",
     "PASS rds.ps: measured \"ROCK 95 \", limits = \"ROCK 95 \""},
    {"rds.rt ~ \"^Rock [0-9]+\"", "Rock 95 - live",
     "PASS rds.rt: measured \"Rock 95 - live\", limits ~ \"^Rock [0-9]+\""},
    {"LData ~ x", "a\tb", "FAIL LData: measured \"a\\x09b\", limits ~ \"x\""},
    {"LEPSN = SONVIO", nullptr,
     "FAIL LEPSN: measured nothing, limits = \"SONVIO\" (no control named LEPSN)"},
    {"X < high", "1", "error: < compares numbers, not \"high\""},
    {"X in 40..25", "1", "error: in needs LOW..HIGH, two numbers, the lower first, not 40..25"},
    {"X ~ \"(\"", "1", "error: not a regular expression (of at most 256 characters): ("},
    {"X = \"open", "1",
     "error: a quote is not closed: verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH ~ "
     "REGEX)"},
    {"X is 1", "1",
     "error: unknown comparison 'is': verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH "
     "~ REGEX)"},
    {"X = 1 dB extra", "1",
     "error: verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH ~ REGEX)"},
};

TEST(Verify, EachOperatorJudgesAndPrintsOneVerdictLine) {
  for (const CheckCase& c : kChecks) {
    std::string error;
    const std::optional<CheckSpec> check = ParseCheck(c.arguments, error);
    std::string line;
    if (!check) {
      line = "error: " + error;
    } else if (c.measured == nullptr) {
      Judgement j = Judge(*check, "");
      j.pass = false;
      j.why = "no control named LEPSN";
      line = VerdictLine(*check, "", std::nullopt, j);
    } else {
      line = VerdictLine(*check, "", std::string(c.measured), Judge(*check, c.measured));
    }
    EXPECT_EQ(line, c.line) << c.arguments;
  }
}

TEST(Verify, ReadsTheValueAControlShows) {
  const std::string edit =
      R"(kind=LabeledEdit enabled=1 visible=1 label="RSSI (dBuV):" text="a \"b\"\t\x41" bounds=1,2,3,4)";
  EXPECT_EQ(MainValue(edit), "a \"b\"\tA");
  EXPECT_EQ(StateValue(edit, "label"), "RSSI (dBuV):");
  EXPECT_EQ(StateValue(edit, "bounds"), "1,2,3,4");
  EXPECT_EQ(StateValue(edit, "caption"), std::nullopt);
  // A check box's value is its mark, a label's its caption.
  EXPECT_EQ(MainValue(R"(kind=CheckBox enabled=1 visible=1 caption="RDS" checked=1)"), "1");
  EXPECT_EQ(MainValue(R"(kind=Label enabled=1 visible=1 caption="Yes" color=green)"), "Yes");
}

TEST(Sample, ReadsIntervalCountAndNamesWithUnits) {
  std::string error;
  const auto sampling = ParseSample("1000 5 LERSSI:dBuV LEFrequency", error);
  ASSERT_TRUE(sampling) << error;
  EXPECT_EQ(sampling->every_ms, 1000u);
  EXPECT_EQ(sampling->count, 5u);
  ASSERT_EQ(sampling->values.size(), 2u);
  EXPECT_EQ(sampling->values[0].unit, "dBuV");
  EXPECT_EQ(sampling->values[1].name, "LEFrequency");
  for (const char* bad : {"0 5 X", "1000 0 X", "1000 5", "x 5 X", "1000 5 :dB", "3600001 1 X"}) {
    EXPECT_FALSE(ParseSample(bad, error)) << bad;
  }
}

TEST(Reports, JunitCsvAndJsonWhole) {
  std::vector<Record> records(3);
  records[0] = {RecordKind::kCheck,
                900,
                "a/check.txt:7",
                "LERSSI",
                "30",
                "dBuV",
                "25",
                "40",
                true,
                "PASS LERSSI: measured 30, limits in 25..40 dBuV",
                "LERSSI in 25..40 dBuV"};
  records[1] = {RecordKind::kCheck,
                900,
                "a/check.txt:8",
                "rds.ps",
                "R&B <1>",
                "",
                "",
                "",
                false,
                "FAIL rds.ps: measured \"R&B <1>\", limits = \"x\"",
                "rds.ps = \"x\""};
  records[2] = {
      RecordKind::kProblem,           1000,       "-e 2", "click Btn", "", "", "", "", false,
      "unexpected error line: Error", "click Btn"};
  EXPECT_EQ(JunitXml(records), R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites name="benchora" tests="3" failures="2" errors="0">
  <testsuite name="a/check.txt" tests="2" failures="1" errors="0" skipped="0">
    <testcase classname="a/check.txt" name="LERSSI in 25..40 dBuV" file="a/check.txt" line="7" time="0"/>
    <testcase classname="a/check.txt" name="rds.ps = &quot;x&quot;" file="a/check.txt" line="8" time="0">
      <failure message="FAIL rds.ps: measured &quot;R&amp;B &lt;1&gt;&quot;, limits = &quot;x&quot;" type="verify">a/check.txt:8: FAIL rds.ps: measured &quot;R&amp;B &lt;1&gt;&quot;, limits = &quot;x&quot;</failure>
    </testcase>
  </testsuite>
  <testsuite name="-e" tests="1" failures="1" errors="0" skipped="0">
    <testcase classname="-e" name="click Btn" time="0">
      <failure message="unexpected error line: Error" type="command">-e 2: unexpected error line: Error</failure>
    </testcase>
  </testsuite>
</testsuites>
)");
  EXPECT_EQ(
      JsonLine(records[1]),
      R"({"kind":"check","time_ms":900,"origin":"a/check.txt:8","name":"rds.ps","value":"R&B <1>",)"
      R"("unit":"","low":"","high":"","verdict":"FAIL","message":"FAIL rds.ps: measured \"R&B <1>\", limits = \"x\""})");
  EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
  EXPECT_EQ(CsvField("plain"), "plain");
}

}  // namespace
