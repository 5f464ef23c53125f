// Reading groups from the panel's decode log and from plain hex lines. The
// simulator's groups, logged by the panel, are decoded back in the gen1 tour
// (e2e_tour_test) and by benchora --rds (e2e_benchora_test).
#include <gtest/gtest.h>

#include <sstream>

#include "rds_groups.h"

namespace rdstest {
namespace {

TEST(GroupReaderTest, Layouts) {
  const std::string record = DecodeLogRecord({Group(0x1A2B, 0xC3D4, 0x0000, 0xFFFF, 0x0F35),
                                              Group(0xC201, 0x01C8, 0xE106, 0x434C)}) +
                             DecodeLogRecord({});
  std::string crlf;
  for (char c : record) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::vector<std::string> logged = {"1A2B C3D4 0000 FFFF 0F35 @2",
                                           "C201 01C8 E106 434C 0000 @4"};
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> groups;  // blocks, status and line
    std::vector<size_t> problems;
    size_t records;
  };
  const std::vector<Case> cases = {
      {"decode log: two groups, then a record without any", record, logged, {}, 2},
      {"decode log written with CRLF line ends", crlf, logged, {}, 2},
      {"plain hex, any case, with and without 0x; the last line without a line end",
       "1A2B c3d4 0000 FFFF\n\n  0x1a2b 0XC3D4 0x0000 0xffff  \n0x0001 0002 0x0003 0004",
       {"1A2B C3D4 0000 FFFF 0000 @1", "1A2B C3D4 0000 FFFF 0000 @3",
        "0001 0002 0003 0004 0000 @4"},
       {},
       0},
      {"malformed lines are reported and skipped, the groups around them kept",
       "hello\n1A2B C3D4 0000\n1A2B C3D4 0000 FFFFF\n0x1A2B 0xC3D4 0x0000 0xGGGG\n"
       "1A2B C3D4 0000 FFFF\n   0x0    0x0    0x0    0xZ\n1111 2222 3333 4444\n",
       {"1A2B C3D4 0000 FFFF 0000 @5", "1111 2222 3333 4444 0000 @7"},
       {1, 2, 3, 4, 6},
       0},
      {"a status line needs its block line",
       "--- Mon May  6 12:00:00 2024 ---\n   0x0    0x0    0x0    0x0\n",
       {},
       {2},
       1},
      {"in a decode log a group without its status line is not taken as clean",
       "--- Mon May  6 12:00:00 2024 ---\n0x1A2B 0xC3D4 0x0000 0xFFFF \n"
       "0xC201 0x01C8 0xE106 0x434C \n   0x0    0x0    0x0    0x1\n"
       "0xC201 0x01C8 0xE106 0x434C \n",
       {"C201 01C8 E106 434C 0001 @3"},
       {2, 5},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> groups;
    std::vector<size_t> problems;
    fmrrds::GroupReader reader(
        [&](const fmrrds::RawGroup& g) {
          char text[40];
          std::snprintf(text, sizeof text, "%04X %04X %04X %04X %04X @%zu", g.blocks[0],
                        g.blocks[1], g.blocks[2], g.blocks[3], g.status, g.line);
          groups.push_back(text);
        },
        [&](size_t line, const std::string&) { problems.push_back(line); });
    std::istringstream in(c.text);
    for (std::string line; std::getline(in, line);) reader.Feed(line);
    reader.Finish();
    EXPECT_EQ(groups, c.groups);
    EXPECT_EQ(problems, c.problems);
    EXPECT_EQ(reader.malformed_lines(), problems.size());
    EXPECT_EQ(reader.records(), c.records);
  }
}

}  // namespace
}  // namespace rdstest
