// fmr-rds on captures of hours: a second-generation session whose running
// number wraps, many distinct PS names, and inputs that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "fmr-rds/cli.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input) {
  return RunTool(&fmrrds::Run, args, input);
}

std::string Cell(uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

// A second-generation session of `groups` 8A groups (decoded no further
// than their type, so four hours stay quick) as benchora prints it:
// every `step` groups a report of the newest 28 rows, LData (the newest) and
// MData (the others, newest first), each overlapping the one before. Group
// i carries i in blocks C and D and the running number first + i. Sets
// `expected` to fmr-rds's hex lines for each group once, in order.
std::string Gen2Session(uint32_t groups, uint32_t step, uint16_t first, std::string& expected) {
  auto blocks = [](uint32_t i) {
    return std::array<uint16_t, 4>{0xC201, static_cast<uint16_t>(0x8000 | (i & 0xF)),
                                   static_cast<uint16_t>(i >> 16), static_cast<uint16_t>(i)};
  };
  auto row = [&](uint32_t i) {
    const auto b = blocks(i);
    std::string text;
    for (const uint16_t block : b) text += Cell(block) + "  ";
    return text + Cell(static_cast<uint16_t>(b[1] >> 11)) + "  " +
           Cell(static_cast<uint16_t>(first + i)) + "  0x0012 ";
  };
  std::string session;
  expected.clear();
  for (uint32_t i = 0; i < groups; ++i) {
    char line[32];
    const auto b = blocks(i);
    std::snprintf(line, sizeof line, "%04X %04X %04X %04X\n", b[0], b[1], b[2], b[3]);
    expected += line;
    if ((i + 1) % step != 0 && i + 1 != groups) continue;
    session += "> get LData\nkind=Edit enabled=1 visible=1 text=\"" + row(i) +
               "\" bounds=628,105,322,21\n> lines MData\n";
    for (uint32_t back = 1; back < 28 && back <= i; ++back) session += row(i - back) + "\n";
  }
  return session;
}

// Four hours at about 11.4 groups a second (164,160 groups) with a report
// every two seconds: the running number wraps twice (and the first wrap
// falls early, the session starting near the top), yet every group comes out
// once and in order. Shorter sessions in the table take other report steps
// across one wrap, a report for every group and one per 27 new groups.
TEST(LongSessionTest, RunningNumberWrapsWithoutRepeatsOrReordering) {
  const struct {
    uint32_t groups, step;
    uint16_t first;
  } cases[] = {{164160, 23, 65000}, {3000, 1, 65000}, {3000, 27, 64000}, {2000, 10, 65530}};
  for (const auto& c : cases) {
    std::string expected;
    const std::string session = Gen2Session(c.groups, c.step, c.first, expected);
    const RunResult run = RunRds({"--output-format", "hex"}, session);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out == expected)
        << c.groups << " groups from " << c.first << ", a report every " << c.step << ": "
        << std::count(run.out.begin(), run.out.end(), '\n') << " lines out";
  }
}

}  // namespace
}  // namespace rdstest
