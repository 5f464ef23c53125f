// Reading groups from the panel's decode log and from plain hex lines. The
// simulator's groups, logged by the panel, are decoded back in the gen1 tour
// (e2e_tour_test) and by benchora --rds (e2e_benchora_test).
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "fmr-rds/group_reader.h"

namespace rdstest {
namespace {

TEST(GroupReaderTest, Layouts) {
  // A record as the panel writes it, with CRLF line ends.
  const std::string crlf =
      "--- Mon May  6 12:00:00 2024 ---\r\n0x1A2B 0xC3D4 0x0000 0xFFFF \r\n"
      "   0x0    0xF    0x3    0x5\r\n\r\n\r\n";
  struct Case {
    std::string text;
    std::vector<std::string> groups;  // blocks, status and line
    std::vector<size_t> problems;
  };
  const Case cases[] = {
      {crlf, {"1A2B C3D4 0000 FFFF 0F35 @2"}, {}},
      // Plain hex, any case, with and without 0x, the last line without its end;
      // malformed lines are reported and skipped.
      {"hello\n1A2B C3D4 0000\n1a2b 0XC3D4 0x0000 0xffff  \n1A2B C3D4 0000 FFFFF\n"
       "   0x0    0x0    0x0    0xZ\n0x0001 0002 0x0003 0004",
       {"1A2B C3D4 0000 FFFF 0000 @3", "0001 0002 0003 0004 0000 @6"},
       {1, 2, 4, 5}},
      // In a decode log a group without its status line is not taken as clean.
      {"--- Mon May  6 12:00:00 2024 ---\n0x1A2B 0xC3D4 0x0000 0xFFFF \n"
       "0xC201 0x01C8 0xE106 0x434C \n   0x0    0x0    0x0    0x1\n"
       "0xC201 0x01C8 0xE106 0x434C \n",
       {"C201 01C8 E106 434C 0001 @3"},
       {2, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
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
  }
}

}  // namespace
}  // namespace rdstest
