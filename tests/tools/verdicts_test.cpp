// benchora's checks and reports without the plug-in: what a verify line
// means and prints, which readings pass, how a `get` state is read, and
// the JUnit, CSV and JSON texts whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "measure/measurement.h"
#include "measure/sampling.h"
#include "measure/verdict.h"
#include "report/reports.h"
#include "script/script.h"

namespace {

using namespace benchora;

struct CheckCase {
  const char* arguments;
  const char* measured;  // nullptr: nothing could be read
  const char* line;      // the verdict line, or "error: ..." for a refused check
};

// One row per operator and per way of comparing: numbers as numbers (hex,
// fractions), a number limit against a text reading, quoted values as text,
// codes as hexadecimal whatever their digits look like, limits at their
// edges, patterns with their backslashes, and what is refused when the
// script is read.
const CheckCase kChecks[] = {
    {"LERSSI in 25..40 dBuV", "25", "PASS LERSSI: measured 25, limits in 25..40 dBuV"},
    {"LERSSI in 25..40 dBuV", "40.5", "FAIL LERSSI: measured 40.5, limits in 25..40 dBuV"},
    {"LERSSI in 25..40", "strong",
     "FAIL LERSSI: measured \"strong\", limits in 25..40 (not a number)"},
    {"LEFrequency = 95400000 Hz", "95400000.0",
     "PASS LEFrequency: measured 95400000.0, limits = 95400000 Hz"},
    {"LEFrequency = 1e5", "100000", "PASS LEFrequency: measured 100000, limits = 1e5"},
    {"LEReg = 0x1A", "26", "PASS LEReg: measured 26, limits = 0x1A"},
    {"LEReg = \"0x1A\"", "26", "FAIL LEReg: measured \"26\", limits = \"0x1A\""},
    // A text never equals a number, and never differs from one either.
    {"LEReg = 5", "five", "FAIL LEReg: measured \"five\", limits = 5 (not a number)"},
    {"LEReg != 5", "five", "FAIL LEReg: measured \"five\", limits != 5 (not a number)"},
    {"LEReg != 5", "", "FAIL LEReg: measured \"\", limits != 5 (not a number)"},
    {"LEReg = 5", " 5", "FAIL LEReg: measured \" 5\", limits = 5 (not a number)"},
    {"LReady != Yes", "Yes", "FAIL LReady: measured \"Yes\", limits != \"Yes\""},
    {"LReady = yes", "Yes", "FAIL LReady: measured \"Yes\", limits = \"yes\""},
    {"X < 10", "10", "FAIL X: measured 10, limits < 10"},
    {"X <= 10", "10", "PASS X: measured 10, limits <= 10"},
    {"X > -3", "-2", "PASS X: measured -2, limits > -3"},
    {"X >= 1e3", "999", "FAIL X: measured 999, limits >= 1e3"},
    {"X > 1", "inf", "FAIL X: measured \"inf\", limits > 1 (not a number)"},
    {"X > 1", "0x-1", "FAIL X: measured \"0x-1\", limits > 1 (not a number)"},
    // Codes: hexadecimal whatever their digits look like, any case, 0x or not.
    {"rds.pi = 1E05", "1E05", "PASS rds.pi: measured 1E05, limits = 1E05"},
    {"rds.pi = 0x1E05", "1E05", "PASS rds.pi: measured 1E05, limits = 0x1E05"},
    {"rds.pi = c204", "C204", "PASS rds.pi: measured C204, limits = c204"},
    {"rds.pi = \"C204\"", "C204", "PASS rds.pi: measured C204, limits = C204"},
    {"rds.pi != C204", "C205", "PASS rds.pi: measured C205, limits != C204"},
    {"rds.pi = 1E5", "1E05", "FAIL rds.pi: measured 1E05, limits = 1E5"},  // 0x01E5
    {"rds.pi = C204", "zz", "FAIL rds.pi: measured zz, limits = C204 (not a code)"},
    {"rds.pi ~ ^C2", "C204", "PASS rds.pi: measured C204, limits ~ ^C2"},
    {"rds.ecc = E1", "E1", "PASS rds.ecc: measured E1, limits = E1"},
    {"rds.pi = 100000", "1E05",
     "error: rds.pi is a code of up to 4 hexadecimal digits (like C204 or 0xC204), not 100000"},
    {"rds.pi = 0x-1", "1E05",
     "error: rds.pi is a code of up to 4 hexadecimal digits (like C204 or 0xC204), not 0x-1"},
    {"rds.pi < C204", "C204", "error: rds.pi is a code: compare it with =, != or ~, not <"},
    {"rds.ecc in 1..2", "E1", "error: rds.ecc is a code: compare it with =, != or ~, not in"},
    // Texts are texts, quoted or not.
    {"rds.ps = \"ROCK 95 \"", "ROCK 95 ",
     "PASS rds.ps: measured \"ROCK 95 \", limits = \"ROCK 95 \""},
    {"rds.ps = 12345678", "12345678", "PASS rds.ps: measured \"12345678\", limits = \"12345678\""},
    {"rds.ps = 1e1", "10", "FAIL rds.ps: measured \"10\", limits = \"1e1\""},
    {"rds.ps >= 5", "x", "error: rds.ps is a text: compare it with =, != or ~, not >="},
    {"rds.groups = many", "3", "error: rds.groups is a number, not \"many\""},
    {"rds.groups > 0", "0", "FAIL rds.groups: measured 0, limits > 0"},
    {"rds.bler < 5 %", "4.9", "PASS rds.bler: measured 4.9, limits < 5 %"},
    {"rds.nope = 1", "1",
     "error: no value named rds.nope (the RDS values: pi, pty, ps, rt, ecc, groups, bler, age)"},
    // Patterns keep every backslash but those of \" and \\.
    {"rds.rt ~ \"^Rock [0-9]+\"", "Rock 95 - live",
     "PASS rds.rt: measured \"Rock 95 - live\", limits ~ \"^Rock [0-9]+\""},
    {"LEFrequency ~ \"^76\\.0+$\"", "76000000",
     "FAIL LEFrequency: measured \"76000000\", limits ~ \"^76\\\\.0+$\""},
    {"LEFrequency ~ \"^\\d{8}$\"", "76000000",
     "PASS LEFrequency: measured \"76000000\", limits ~ \"^\\\\d{8}$\""},
    {"LData ~ \"a\\\"b\\\\\\\\c\"", "a\"b\\c",
     "PASS LData: measured \"a\\\"b\\\\c\", limits ~ \"a\\\"b\\\\\\\\c\""},
    {"LData ~ x", "a\tb", "FAIL LData: measured \"a\\x09b\", limits ~ \"x\""},
    {"LEPSN = SONVIO", nullptr,
     "FAIL LEPSN: measured nothing, limits = \"SONVIO\" (no control named LEPSN)"},
    // Limits that are not numbers, read strictly.
    {"X < high", "1", "error: < compares numbers, not \"high\""},
    {"X < 0x-1", "1", "error: < compares numbers, not \"0x-1\""},
    {"X < inf", "1", "error: < compares numbers, not \"inf\""},
    {"X > nan", "1", "error: > compares numbers, not \"nan\""},
    {"X < 1e999", "1", "error: < compares numbers, not \"1e999\""},
    {"X < 12abc", "1", "error: < compares numbers, not \"12abc\""},
    {"X in 40..25", "1", "error: in needs LOW..HIGH, two numbers, the lower first, not 40..25"},
    {"X in 1..inf", "1", "error: in needs LOW..HIGH, two numbers, the lower first, not 1..inf"},
    {"X ~ \"(\"", "1",
     "error: not a pattern: unbalanced parenthesis, '(' never closed (at 1: () (docs/patterns.md "
     "has what ~ takes)"},
    {"X ~ \"(a)\\1\"", "1",
     "error: not a pattern: backreferences are not supported (at 4: \\1) (docs/patterns.md has "
     "what ~ takes)"},
    {"X ~ \"(?<=a)b\"", "1",
     "error: not a pattern: look-around is not supported (at 1: (?<=) (docs/patterns.md has what "
     "~ takes)"},
    // Searched in time linear in the text: a backtracking matcher would take
    // minutes over this one.
    {"rds.rt ~ \"^(a|a)*$\"", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab",
     "FAIL rds.rt: measured \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\", limits ~ \"^(a|a)*$\""},
    {"X = \"open", "1",
     "error: a quote is not closed: verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH ~ "
     "REGEX)"},
    {"X is 1", "1",
     "error: unknown comparison 'is': verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH "
     "~ REGEX)"},
    {"X = 1 dB extra", "1",
     "error: verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH ~ REGEX)"},
    // Any white space separates words.
    {"X\t=\v1\r", "1", "PASS X: measured 1, limits = 1"},
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

// The script reader takes a measuring verb whatever white space follows it,
// and checks its names as far as they are known before the run.
TEST(Verify, MeasuringCommandsAreKnownByTheirFirstWord) {
  for (const char* text : {"verify X = 1", "verify\tX = 1", "verify\vX = 1", "verify\rX = 1"}) {
    EXPECT_EQ(CommandArguments(text, "verify"), "X = 1") << text;
  }
  EXPECT_EQ(CommandArguments("verifyX = 1", "verify"), std::nullopt);
  EXPECT_EQ(CommandArguments("verify", "verify"), "");
  ScriptReader reader;
  std::vector<ScriptCommand> commands;
  std::string error;
  EXPECT_FALSE(reader.Add("\t verify\trds.pi = 100000", "s.txt:3", commands, error));
  EXPECT_EQ(error,
            "s.txt:3: rds.pi is a code of up to 4 hexadecimal digits (like C204 or 0xC204), not "
            "100000");
  EXPECT_FALSE(reader.Add("sample\t100 2 rds.psx", "s.txt:4", commands, error));
  EXPECT_EQ(error,
            "s.txt:4: no value named rds.psx (the RDS values: pi, pty, ps, rt, ecc, groups, bler, "
            "age)");
  EXPECT_FALSE(reader.Add("@expect\tnothing", "s.txt:5", commands, error));
  ASSERT_TRUE(reader.Add("@expect\terror\tError", "s.txt:6", commands, error)) << error;
  ASSERT_TRUE(reader.Add("\tclick btn_onoff", "s.txt:7", commands, error)) << error;
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].text, "click btn_onoff");
  ASSERT_EQ(commands[0].expected.size(), 1u);
  EXPECT_EQ(commands[0].expected[0].text, "Error");
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
  const auto sampling = ParseSample("1000\t5 LERSSI:dBuV\vLEFrequency", error);
  ASSERT_TRUE(sampling) << error;
  EXPECT_EQ(sampling->every_ms, 1000u);
  EXPECT_EQ(sampling->count, 5u);
  ASSERT_EQ(sampling->values.size(), 2u);
  EXPECT_EQ(sampling->values[0].unit, "dBuV");
  EXPECT_EQ(sampling->values[1].name, "LEFrequency");
  for (const char* bad : {"0 5 X", "1000 0 X", "1000 5", "x 5 X", "1000 5 :dB", "3600001 1 X",
                          "1000 5 rds.nope", "+5 5 X", "0x10 5 X"}) {
    EXPECT_FALSE(ParseSample(bad, error)) << bad;
  }
}

}  // namespace
