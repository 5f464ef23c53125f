// The fmr-rds command line: options, output shapes, problem lines, exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "fmr-rds/cli.h"
#include "rds_groups.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input = "") {
  return RunTool(&fmrrds::Run, args, input);
}

// A PS, a radio text with a corrected group, a repeat whose block B is lost,
// and an empty record.
std::string ClassicLog() {
  std::vector<fmrrds::RawGroup> groups;
  for (unsigned s = 0; s < 4; ++s) groups.push_back(Ps0A("CLASSIC ", s, 0xE106));
  groups.push_back(Rt2A("Symphony\r", 0));
  groups.push_back(Rt2A("Symphony\r", 1, false, 0x0100));
  groups.push_back(Rt2A("Symphony\r", 2));
  groups.push_back(Rt2A("Symphony\r", 2, false, 0x0F00));
  return DecodeLogRecord(groups) + DecodeLogRecord({});
}

TEST(RdsCliTest, GroupLinesHaveTheDocumentedShape) {
  const RunResult r = RunRds({"-"}, ClassicLog());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::vector<std::string> lines;
  std::istringstream out(r.out);
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[3],
            "{\"line\":8,\"type\":\"0A\",\"pi\":\"C201\",\"tp\":false,\"pty\":14,"
            "\"pty_name\":\"Serious classical\",\"ta\":false,\"ms\":\"music\","
            "\"di\":{\"stereo\":false},\"ps_segment\":3,\"ps_chars\":\"C \",\"ps\":\"CLASSIC \","
            "\"af\":[88.1],\"af_count\":1,\"status\":\"0000\"}");
  EXPECT_EQ(lines[6],
            "{\"line\":14,\"type\":\"2A\",\"pi\":\"C201\",\"tp\":false,\"pty\":14,"
            "\"pty_name\":\"Serious classical\",\"rt_flag\":\"A\",\"rt_segment\":2,"
            "\"rt_chars\":\"\\r   \",\"rt\":\"Symphony\",\"status\":\"0000\"}");
  EXPECT_EQ(lines[7], "{\"line\":16,\"status\":\"0F00\",\"skipped\":\"block B uncorrectable\"}");
}

TEST(RdsCliTest, Summaries) {
  const RunResult text = RunRds({"--summary"}, ClassicLog());
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.out,
            "PI        C201\n"
            "PTY       14 Serious classical\n"
            "TP/TA     TP 0, TA 0\n"
            "MS        music, mono\n"
            "PS        \"CLASSIC \"\n"
            "RT        \"Symphony\"\n"
            "AF        88.1 (list of 1)\n"
            "CT        -\n"
            "Groups    0A 4, 2A 3\n"
            "Received  8 groups, 1 skipped (block B lost), 0 partial\n"
            "Input     2 records, 0 malformed lines\n");
  const RunResult json = RunRds({"--summary", "--json", "--rbds"}, ClassicLog());
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out,
            "{\"pi\":\"C201\",\"pi_history\":[\"C201\"],\"pty\":14,\"pty_name\":\"Jazz\","
            "\"tp\":false,\"ta\":false,\"ms\":\"music\",\"di\":{\"stereo\":false,"
            "\"artificial_head\":false,\"compressed\":false,\"dynamic_pty\":false},"
            "\"ps\":\"CLASSIC \",\"ps_names\":[\"CLASSIC \"],\"rt\":\"Symphony\",\"af\":[88.1],"
            "\"af_count\":1,\"ct\":null,\"groups\":{\"0A\":4,\"2A\":3},\"received\":8,"
            "\"skipped\":1,\"partial\":0,\"records\":2,\"malformed_lines\":0}\n");
}

TEST(RdsCliTest, TextsOutsidePrintableAsciiAreEscaped) {
  // PS bytes 0x22 ("), 0x5C (\), 0x0A and 0xE9 (an accented letter in the RDS set).
  const std::string log =
      "C201 01C8 E0CD 225C\nC201 01C9 E0CD 0AE9\nC201 01CA E0CD 4142\nC201 01CB E0CD 4344\n";
  EXPECT_NE(RunRds({"--summary", "--json"}, log).out.find("\"ps\":\"\\\"\\\\\\n\\u00e9ABCD\""),
            std::string::npos);
  EXPECT_NE(RunRds({"--summary"}, log).out.find("PS        \"\\x22\\x5C\\x0A\\xE9ABCD\""),
            std::string::npos);
}

TEST(RdsCliTest, MalformedLinesAreReportedWithTheirNumbers) {
  const RunResult r = RunRds({}, "C201 01C8 E0CD 434C\nnot rds\nC201 01C9 E0CD 4153\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "fmr-rds: <stdin>:2: not a record header, block line or status line\n");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);

  // A flood of garbage is reported up to a limit and counted in full.
  std::string garbage;
  for (int i = 0; i < 150; ++i) garbage += "garbage\n";
  const RunResult flood = RunRds({"--summary", "--json"}, garbage);
  EXPECT_EQ(flood.status, 1);  // no group at all: not RDS data
  EXPECT_EQ(std::count(flood.err.begin(), flood.err.end(), '\n'),
            static_cast<long>(fmrrds::kMaxReportedProblems) + 1);
  EXPECT_NE(flood.out.find("{\"pi\":null,"), std::string::npos) << flood.out;
  EXPECT_NE(flood.out.find("\"malformed_lines\":150"), std::string::npos);
}

TEST(RdsCliTest, OptionErrors) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--frobnicate"}, "fmr-rds: unknown option --frobnicate\n"},
      {{"a.log", "b.log"}, "fmr-rds: only one input file, got a.log and b.log\n"},
      {{::testing::TempDir() + "no_such_decode_data.log"}, "fmr-rds: cannot open "},
  };
  for (const auto& [args, err] : cases) {
    const RunResult r = RunRds(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.err.substr(0, err.size()), err);
  }
  const RunResult help = RunRds({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--rbds"), std::string::npos);
}

}  // namespace
}  // namespace rdstest
