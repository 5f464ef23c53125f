// fmr-rds beyond the tour's decode log (e2e_tour_test) and benchora --rds
// (e2e_benchora_test): reading groups from the panel's decode log and from
// plain hex lines; every field of every output, problem lines and their
// limit, exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "fmr-rds/cli.h"
#include "fmr-rds/group_reader.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input) {
  return RunTool(&fmrrds::Run, args, input);
}

// Groups read (blocks, status and line) and problem lines ("!" and line), in order.
TEST(GroupReaderTest, Layouts) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      // A record as the panel writes it, with CRLF line ends.
      {"--- Mon May  6 12:00:00 2024 ---\r\n0x1A2B 0xC3D4 0x0000 0xFFFF \r\n"
       "   0x0    0xF    0x3    0x5\r\n\r\n\r\n",
       {"1A2B C3D4 0000 FFFF 0F35 @2"}},
      // Plain hex, any case, with and without 0x, the last line without its end;
      // malformed lines are reported and skipped.
      {"hello\n1A2B C3D4 0000\n1a2b 0XC3D4 0x0000 0xffff  \n1A2B C3D4 0000 FFFFF\n"
       "   0x0    0x0    0x0    0xZ\n0x0001 0002 0x0003 0004",
       {"!1", "!2", "1A2B C3D4 0000 FFFF 0000 @3", "!4", "!5", "0001 0002 0003 0004 0000 @6"}},
      // In a decode log a group without its status line is not taken as clean.
      {"--- Mon May  6 12:00:00 2024 ---\n0x1A2B 0xC3D4 0x0000 0xFFFF \n"
       "0xC201 0x01C8 0xE106 0x434C \n   0x0    0x0    0x0    0x1\n"
       "0xC201 0x01C8 0xE106 0x434C \n",
       {"!2", "C201 01C8 E106 434C 0001 @3", "!5"}},
  };
  for (const auto& [text, expected] : cases) {
    std::vector<std::string> read;
    fmrrds::GroupReader reader(
        [&](const fmrrds::RawGroup& g) {
          char group[40];
          std::snprintf(group, sizeof group, "%04X %04X %04X %04X %04X @%zu", g.blocks[0],
                        g.blocks[1], g.blocks[2], g.blocks[3], g.status, g.line);
          read.push_back(group);
        },
        [&](size_t line, const std::string&) { read.push_back("!" + std::to_string(line)); });
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) reader.Feed(line);
    reader.Finish();
    EXPECT_EQ(read, expected) << text;
  }
}

// Group lines and both summaries whole; problem lines are reported up to a
// limit and all counted; no group at all is not RDS data. In data/station.txt
// every flag and field differs from every other in some group, so reading or
// printing one for another changes the output: another station first, 0A
// (PS "RADIO 7X", then "RADIO 7Y"; AF codes of every kind), 2A with the A/B
// flag flipping, 2B, 4A (times crossing midnight both ways, an impossible
// one), 8A, and a decode-log record with lost and corrected blocks.
TEST(RdsCliTest, WholeOutputOfEveryFieldInGroupsAndSummariesAndExitStatus) {
  const std::string station = Data("station.txt");
  ASSERT_FALSE(station.empty());
  const RunResult groups = RunRds({}, station);
  EXPECT_EQ(groups.status, 0);
  EXPECT_EQ(groups.err, "fmr-rds: <stdin>:4: not a record header, block line or status line\n");
  ExpectData("station.groups.jsonl", groups.out);
  const std::string summary = RunRds({"--summary"}, station).out;
  ExpectData("station.summary.txt", summary);
  std::string rbds = summary;
  rbds.replace(rbds.find("Pop Music"), 9, "Country");
  EXPECT_EQ(RunRds({"--rbds", "--summary"}, station).out, rbds);
  ExpectData("station.summary.json", RunRds({"--summary", "--json"}, station).out);
  std::string garbage;
  for (int i = 0; i < 150; ++i) garbage += "garbage\n";
  const RunResult flood = RunRds({"--summary", "--json"}, garbage);
  EXPECT_EQ(flood.status, 1);
  EXPECT_EQ(std::count(flood.err.begin(), flood.err.end(), '\n'),
            static_cast<long>(fmrrds::kMaxReportedProblems) + 1);
  EXPECT_NE(flood.out.find("\"malformed_lines\":150"), std::string::npos);
  EXPECT_EQ(RunRds({"--frobnicate"}, "").status, 2);
}

// A flipped A/B flag starts the radio text anew, even when the new text
// begins as the old one did: what the old text had beyond that is gone. Programme types above 15
// keep their top bit.
TEST(RdsCliTest, AFlippedTextFlagClearsTheOldTextAndHighProgrammeTypesStayWhole) {
  EXPECT_EQ(
      RunRds({"--summary"}, "1234 2300 4142 4344\n1234 2301 4546 4748\n1234 2310 4142 4344\n").out,
      "PI        1234\nPTY       24 Jazz Music\nTP/TA     TP 0, TA -\nMS        -\n"
      "PS        -\nRT        - (assembling \"ABCD" +
          std::string(60, '?') +
          "\")\nAF        -\nCT        -\nGroups    2A 3\n"
          "Received  3 groups, 0 skipped (block B lost), 0 partial\n"
          "Input     0 records, 0 malformed lines\n");
}

}  // namespace
}  // namespace rdstest
