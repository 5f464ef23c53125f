// Reading groups from the panel's decode log and from plain hex lines.
#include <gtest/gtest.h>

#include <sstream>

#include "decode_log_text.h"
#include "fmr-rds/group_reader.h"

namespace rdstest {
namespace {

struct ReadResult {
  std::vector<fmrrds::RawGroup> groups;
  std::vector<size_t> problem_lines;
  size_t records = 0;
};

ReadResult Read(const std::string& text) {
  ReadResult result;
  fmrrds::GroupReader reader(
      [&](const fmrrds::RawGroup& g) { result.groups.push_back(g); },
      [&](size_t line, const std::string&) { result.problem_lines.push_back(line); });
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) reader.Feed(line);
  reader.Finish();
  result.records = reader.records();
  EXPECT_EQ(reader.malformed_lines(), result.problem_lines.size());
  return result;
}

struct Expected {
  std::array<uint16_t, 4> blocks;
  uint16_t status;
  size_t line;
};

TEST(GroupReaderTest, Layouts) {
  const std::string record = DecodeLogRecord({{{0x1A2B, 0xC3D4, 0x0000, 0xFFFF}, 0x0F35},
                                              {{0xC201, 0x01C8, 0xE106, 0x434C}, 0x0000}}) +
                             DecodeLogRecord({});
  std::string crlf;
  for (char c : record) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  struct Case {
    const char* what;
    std::string text;
    std::vector<Expected> groups;
    std::vector<size_t> problems;
    size_t records;
  };
  const std::vector<Case> cases = {
      {"decode log: two groups, then a record without any",
       record,
       {{{0x1A2B, 0xC3D4, 0x0000, 0xFFFF}, 0x0F35, 2}, {{0xC201, 0x01C8, 0xE106, 0x434C}, 0, 4}},
       {},
       2},
      {"decode log written with CRLF line ends",
       crlf,
       {{{0x1A2B, 0xC3D4, 0x0000, 0xFFFF}, 0x0F35, 2}, {{0xC201, 0x01C8, 0xE106, 0x434C}, 0, 4}},
       {},
       2},
      {"plain hex, any case, with and without 0x; the last line without a line end",
       "1A2B c3d4 0000 FFFF\n\n  0x1a2b 0XC3D4 0x0000 0xffff  \n0x0001 0002 0x0003 0004",
       {{{0x1A2B, 0xC3D4, 0, 0xFFFF}, 0, 1},
        {{0x1A2B, 0xC3D4, 0, 0xFFFF}, 0, 3},
        {{1, 2, 3, 4}, 0, 4}},
       {},
       0},
      {"malformed lines are reported and skipped, the groups around them kept",
       "hello\n1A2B C3D4 0000\n1A2B C3D4 0000 FFFFF\n0x1A2B 0xC3D4 0x0000 0xGGGG\n"
       "1A2B C3D4 0000 FFFF\n   0x0    0x0    0x0    0xZ\n1111 2222 3333 4444\n",
       {{{0x1A2B, 0xC3D4, 0, 0xFFFF}, 0, 5}, {{0x1111, 0x2222, 0x3333, 0x4444}, 0, 7}},
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
       {{{0xC201, 0x01C8, 0xE106, 0x434C}, 1, 3}},
       {2, 5},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReadResult r = Read(c.text);
    ASSERT_EQ(r.groups.size(), c.groups.size());
    for (size_t i = 0; i < c.groups.size(); ++i) {
      EXPECT_EQ(r.groups[i].blocks, c.groups[i].blocks);
      EXPECT_EQ(r.groups[i].status, c.groups[i].status);
      EXPECT_EQ(r.groups[i].line, c.groups[i].line);
    }
    EXPECT_EQ(r.problem_lines, c.problems);
    EXPECT_EQ(r.records, c.records);
  }
}

}  // namespace
}  // namespace rdstest
