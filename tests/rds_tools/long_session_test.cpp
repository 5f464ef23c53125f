// fmr-rds on captures of hours: a second-generation session whose running
// number wraps, many distinct PS names, and inputs that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <istream>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#include "fmr-rds/cli.h"
#include "fmr-rds/line_input.h"
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

// Hex lines of 0A groups carrying `name` (eight characters) under `pi`,
// three rounds, so the name is confirmed whatever was received before it.
std::string PsLines(uint16_t pi, const std::string& name) {
  std::string lines;
  char line[32];
  for (int round = 0; round < 3; ++round) {
    for (unsigned segment = 0; segment < 4; ++segment) {
      const unsigned d = static_cast<unsigned char>(name[2 * segment]) << 8 |
                         static_cast<unsigned char>(name[2 * segment + 1]);
      std::snprintf(line, sizeof line, "%04X %04X E0CD %04X\n", pi, 0x0160 | segment, d);
      lines += line;
    }
  }
  return lines;
}

std::string Name(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "NAME%04d", number);
  return name;
}

// A station that changes its name thousands of times: each confirmed name
// is listed once, first seen first, a name coming back is not listed again,
// and another station starts its own list (its PI listed once however often
// it comes back).
TEST(LongSessionTest, EveryPsNameOnceFirstSeenFirstPerStation) {
  constexpr int kNames = 2000;
  std::string capture;
  std::string listed;
  for (int n = 0; n < kNames; ++n) {
    capture += PsLines(0xC201, Name(n));
    listed += std::string(n == 0 ? "" : ",") + "\"" + Name(n) + "\"";
  }
  capture += PsLines(0xC201, Name(0)) + PsLines(0xC201, Name(kNames / 2));
  const std::string one_station = RunRds({"--summary", "--json"}, capture).out;
  EXPECT_NE(one_station.find("\"ps\":\"" + Name(kNames / 2) + "\",\"ps_names\":[" + listed + "],"),
            std::string::npos)
      << one_station.substr(0, 300);
  capture += PsLines(0xC202, Name(1)) + PsLines(0xC201, Name(2)) + PsLines(0xC201, Name(3));
  const std::string two_stations = RunRds({"--summary", "--json"}, capture).out;
  EXPECT_TRUE(two_stations.starts_with(R"({"pi":"C201","pi_history":["C201","C202"],"pty":11,)"))
      << two_stations.substr(0, 80);
  EXPECT_NE(two_stations.find(R"("ps":"NAME0003","ps_names":["NAME0002","NAME0003"],)"),
            std::string::npos)
      << two_stations;
  capture += PsLines(0xC202, Name(1));
  EXPECT_NE(RunRds({"--summary", "--json"}, capture).out.find(R"("ps_names":["NAME0001"],)"),
            std::string::npos);
}

// A stream buffer that hands out `text` in one read and fails the next as
// `fail` does (throws a read error or std::bad_alloc).
template <typename Fail>
class FailingBuffer : public std::streambuf {
 public:
  FailingBuffer(std::string text, Fail fail) : text_(std::move(text)), fail_(fail) {
    setg(text_.data(), text_.data(), text_.data() + text_.size());
  }

 protected:
  std::streamsize xsgetn(char* into, std::streamsize count) override {
    if (gptr() == egptr()) fail_();
    const std::streamsize held = std::min<std::streamsize>(count, egptr() - gptr());
    std::copy(gptr(), gptr() + held, into);
    gbump(static_cast<int>(held));
    return held;
  }

 private:
  std::string text_;
  Fail fail_;
};

template <typename Fail>
RunResult RunOnFailingInput(const std::vector<std::string>& args, const std::string& text,
                            Fail fail) {
  FailingBuffer<Fail> buffer(text, fail);
  std::istream in(&buffer);
  std::ostringstream out, err;
  const int status = fmrrds::Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

// Input that fails part way is said and exits 2 (the groups read before it
// are out already, no summary is written); memory running out exits 1 with
// its line; neither looks like an input that simply ended.
TEST(LongSessionTest, AnInputThatFailsIsNeverTakenForItsEnd) {
  const std::string group = "C201 0160 E0CD 4142\n";
  const auto read_error = [] { throw std::system_error(EIO, std::generic_category()); };
  const auto no_memory = [] { throw std::bad_alloc(); };
  const RunResult failed = RunOnFailingInput({"--output-format", "hex"}, group, read_error);
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.out, "C201 0160 E0CD 4142\n");
  EXPECT_EQ(failed.err,
            "fmr-rds: cannot read <stdin>: " + std::generic_category().message(EIO) + "\n");
  const RunResult summary = RunOnFailingInput({"--summary"}, group, read_error);
  EXPECT_EQ(summary.status, 2);
  EXPECT_EQ(summary.out, "");
  const RunResult memory = RunOnFailingInput({"--summary"}, group, no_memory);
  EXPECT_EQ(memory.status, 1);
  EXPECT_EQ(memory.out, "");
  EXPECT_EQ(memory.err, "fmr-rds: out of memory decoding <stdin>\n");
}

// Lines may run across the reader's chunks up to 1 MiB; a longer one is no
// RDS text and ends the input (exit 2) before memory grows with it.
TEST(LongSessionTest, LinesUpToTheLimitAreReadAndALongerOneEndsTheInput) {
  const std::string group = "C201 0160 E0CD 4142";
  const std::string longest(fmrrds::LineInput::kMostLineBytes, 'x');
  const RunResult read =
      RunRds({"--output-format", "hex"}, group + "\n" + longest + "\n" + group + "\n" + longest);
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, group + "\n" + group + "\n");
  EXPECT_EQ(read.err,
            "fmr-rds: <stdin>:2: not a record header, block line or status line\n"
            "fmr-rds: <stdin>:4: not a record header, block line or status line\n");
  for (const std::string& end : {std::string("x\n") + group + "\n", std::string("x")}) {
    const RunResult refused = RunRds({"--output-format", "hex"}, group + "\n" + longest + end);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, group + "\n");
    EXPECT_EQ(refused.err,
              "fmr-rds: cannot read <stdin>: line 2 is longer than 1048576 bytes (not "
              "RDS text)\n");
  }
}

}  // namespace
}  // namespace rdstest
