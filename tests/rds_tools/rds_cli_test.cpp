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

// Every flag and field differs from every other in some group, so reading or
// printing one for another changes the output: another station first, 0A
// (PS "RADIO 7X", then "RADIO 7Y"; AF codes of every kind), 2A with the A/B
// flag flipping, 2B, 4A (times crossing midnight both ways, an impossible
// one), 8A, and a decode-log record with lost and corrected blocks.
const char kStation[] = R"(1B2C 0418 E214 220A
54A7 0544 E10B 5241
54A7 0151 0B16 4449
not rds
54A7 014E FA05 4F20
54A7 0547 FA10 3758
54A7 0547 F9CB 3759
54A7 0151 E010 4449
54A7 2140 4869 2074
54A7 2141 6865 7265
54A7 2142 0D20 2020
54A7 2141 4845 5245
54A7 2150 4279 650D
54A7 2940 54A7 4F4B
54A7 4141 D81E 9163
54A7 4141 D81F 9163
54A7 4141 D81F 7C8B
54A7 4141 D81E 03EA
54A7 8140 0000 0000
--- Mon May  6 12:00:00 2024 ---
0x54A7 0x0544 0xE10B 0x5241
   0x0    0x0    0xF    0x0
0x54A7 0x0000 0x0000 0x0000
   0x0    0xF    0x0    0x0
0x54A7 0x0151 0x0B16 0x4449
   0xF    0x0    0x0    0x0
0x54A7 0x0540 0x01CC 0x5241
   0x0    0x0    0x0    0xF
0x54A7 0x0542 0xFA05 0x4F20
   0x5    0x4    0x3    0x2
0x54A7 0x2141 0x6162 0x6364
   0x0    0x0    0x0    0x6
0x54A7 0x0547 0x00CE 0xE95C
   0x0    0x0    0x0    0x0
)";

const char kStationGroups[] =
    R"({"line":1,"type":"0A","pi":"1B2C","tp":true,"pty":0,"pty_name":"No Program type or undefined","ta":true,"ms":"music","di":{"dynamic_pty":false},"ps_segment":0,"ps_chars":"\"\n","af":[89.5],"af_count":2,"status":"0000"}
{"line":2,"type":"0A","pi":"54A7","pi_changed":true,"tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"dynamic_pty":true},"ps_segment":0,"ps_chars":"RA","af":[88.6],"af_count":1,"status":"0000"}
{"line":3,"type":"0A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ta":true,"ms":"speech","di":{"compressed":false},"ps_segment":1,"ps_chars":"DI","af":[88.6,89.7],"status":"0000"}
{"line":5,"type":"0A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"music","di":{"artificial_head":true},"ps_segment":2,"ps_chars":"O ","af":[],"af_lf_mf_khz":[189],"status":"0000"}
{"line":6,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"stereo":true},"ps_segment":3,"ps_chars":"7X","ps":"RADIO 7X","af":[],"af_lf_mf_khz":[531],"status":"0000"}
{"line":7,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"stereo":true},"ps_segment":3,"ps_chars":"7Y","ps_changed":true,"af":[107.8],"af_count":25,"status":"0000"}
{"line":8,"type":"0A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ta":true,"ms":"speech","di":{"compressed":false},"ps_segment":1,"ps_chars":"DI","af":[89.1],"af_count":0,"status":"0000"}
{"line":9,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":0,"rt_chars":"Hi t","status":"0000"}
{"line":10,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":1,"rt_chars":"here","status":"0000"}
{"line":11,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":2,"rt_chars":"\r   ","rt":"Hi there","status":"0000"}
{"line":12,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":1,"rt_chars":"HERE","rt_changed":true,"status":"0000"}
{"line":13,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"B","rt_segment":0,"rt_chars":"Bye\r","rt_cleared":true,"rt":"Bye","status":"0000"}
{"line":14,"type":"2B","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":0,"rt_chars":"OK","rt_cleared":true,"status":"0000"}
{"line":15,"type":"4A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ct":{"mjd":60431,"date":"2024-05-01","utc":"09:05","offset":"-01:30","local":"2024-05-01 07:35"},"status":"0000"}
{"line":16,"type":"4A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ct":{"mjd":60431,"valid":false,"hour":25,"minute":5},"status":"0000"}
{"line":17,"type":"4A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ct":{"mjd":60431,"date":"2024-05-01","utc":"23:50","offset":"+05:30","local":"2024-05-02 05:20"},"status":"0000"}
{"line":18,"type":"4A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","ct":{"mjd":60431,"date":"2024-05-01","utc":"00:15","offset":"-05:00","local":"2024-04-30 19:15"},"status":"0000"}
{"line":19,"type":"8A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","status":"0000"}
{"line":21,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"dynamic_pty":true},"ps_segment":0,"ps_chars":"RA","status":"00F0","lost":"C"}
{"line":23,"status":"0F00","skipped":"block B uncorrectable"}
{"line":25,"type":"0A","tp":false,"pty":10,"pty_name":"Pop Music","ta":true,"ms":"speech","di":{"compressed":false},"ps_segment":1,"ps_chars":"DI","af":[88.6,89.7],"status":"F000","lost":"A"}
{"line":27,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"dynamic_pty":false},"af":[87.6,107.9],"status":"000F","lost":"D"}
{"line":29,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"artificial_head":false},"ps_segment":2,"ps_chars":"O ","ps":"RADIO 7Y","af":[],"af_lf_mf_khz":[189],"status":"5432"}
{"line":31,"type":"2A","pi":"54A7","tp":false,"pty":10,"pty_name":"Pop Music","rt_flag":"A","rt_segment":1,"rt_chars":"ab??","rt_cleared":true,"status":"0006","lost":"D"}
{"line":33,"type":"0A","pi":"54A7","tp":true,"pty":10,"pty_name":"Pop Music","ta":false,"ms":"speech","di":{"stereo":true},"ps_segment":3,"ps_chars":"\u00e9\\","ps_changed":true,"af":[],"status":"0000"}
)";

const char kStationSummary[] = R"(PI        54A7 (seen: 1B2C 54A7)
PTY       10 Pop Music
TP/TA     TP 1, TA 0
MS        speech, stereo
PS        "RADIO 7Y" (names: "RADIO 7X" "RADIO 7Y") (assembling "??????\xE9\x5C")
RT        "Bye" (assembling "????ab??????????????????????????????????????????????????????????")
AF        87.6 88.6 89.1 89.7 107.8 107.9 189kHz 531kHz (list of 0)
CT        2024-05-01 00:15 UTC, offset -05:00 (local 2024-04-30 19:15)
Groups    0A 12, 2A 6, 2B 1, 4A 4, 8A 1
Received  25 groups, 1 skipped (block B lost), 4 partial
Input     1 records, 1 malformed lines
)";

// Group lines and both summaries whole; problem lines are reported up to a
// limit and all counted; no group at all is not RDS data.
TEST(RdsCliTest, WholeOutputOfEveryFieldInGroupsAndSummariesAndExitStatus) {
  const RunResult groups = RunRds({}, kStation);
  EXPECT_EQ(groups.status, 0);
  EXPECT_EQ(groups.err, "fmr-rds: <stdin>:4: not a record header, block line or status line\n");
  EXPECT_EQ(groups.out, kStationGroups);
  std::string rbds = kStationSummary;
  EXPECT_EQ(RunRds({"--summary"}, kStation).out, rbds);
  rbds.replace(rbds.find("Pop Music"), 9, "Country");
  EXPECT_EQ(RunRds({"--rbds", "--summary"}, kStation).out, rbds);
  EXPECT_EQ(
      RunRds({"--summary", "--json"}, kStation).out,
      R"({"pi":"54A7","pi_history":["1B2C","54A7"],"pty":10,"pty_name":"Pop Music","tp":true,"ta":false,"ms":"speech","di":{"stereo":true,"artificial_head":false,"compressed":false,"dynamic_pty":false},"ps":"RADIO 7Y","ps_names":["RADIO 7X","RADIO 7Y"],"ps_partial":"??????\u00e9\\","rt":"Bye","rt_partial":"????ab??????????????????????????????????????????????????????????","af":[87.6,88.6,89.1,89.7,107.8,107.9],"af_count":0,"af_lf_mf_khz":[189,531],"ct":{"mjd":60431,"date":"2024-05-01","utc":"00:15","offset":"-05:00","local":"2024-04-30 19:15"},"groups":{"0A":12,"2A":6,"2B":1,"4A":4,"8A":1},"received":25,"skipped":1,"partial":4,"records":1,"malformed_lines":1}
)");
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
