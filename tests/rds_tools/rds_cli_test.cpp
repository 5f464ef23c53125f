// fmr-rds beyond the tour's decode log (e2e_tour_test) and benchora --rds
// (e2e_benchora_test): reading groups from the panel's decode log, from hex
// interchange lines and from second-generation report rows; every field of
// every output, quality figures, problem lines and their limit, exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "fmr-rds/cli.h"
#include "fmr-rds/group_reader.h"
#include "fmr-rds/report_rows.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input) {
  return RunTool(&fmrrds::Run, args, input);
}

// Groups read (blocks, status, line and time) and problem lines ("!" and
// line), in order, for each layout guessed or given.
TEST(GroupReaderTest, Layouts) {
  using fmrrds::InputFormat;
  const std::string log_record =
      "--- Mon May  6 12:00:00 2024 ---\n0x1A2B 0xC3D4 0x0000 0xFFFF \n   0x0    0xF    0x3    "
      "0x5\n";
  const std::string gen2_rows =
      "> lines MData\n0xC202  0x2427  0x2020  0x2020  0x0004  0x0003  0x0012 \n"
      "0xC202  0x2426  0x2020  0x2020  0x0004  0x0002  0x0012 \n"
      "0x0000  0x0000  0x0000  0x0000  0x0000  0x0000  0x0000 \n"
      "kind=Edit text=\"0xC202  0x2428  0x2020  0x2020  0x0005  0x0004  0x0012 \"\n";
  const std::tuple<InputFormat, std::string, std::vector<std::string>> cases[] = {
      // A record as the panel writes it, with CRLF line ends.
      {InputFormat::kAuto,
       "--- Mon May  6 12:00:00 2024 ---\r\n0x1A2B 0xC3D4 0x0000 0xFFFF \r\n"
       "   0x0    0xF    0x3    0x5\r\n\r\n\r\n",
       {"1A2B C3D4 0000 FFFF 0F35 @2"}},
      // Plain hex, any case, with and without 0x, the last line without its end;
      // malformed lines are reported and skipped.
      {InputFormat::kAuto,
       "hello\n1A2B C3D4 0000\n1a2b 0XC3D4 0x0000 0xffff  \n1A2B C3D4 0000 FFFFF\n"
       "   0x0    0x0    0x0    0xZ\n0x0001 0002 0x0003 0004",
       {"!1", "!2", "1A2B C3D4 0000 FFFF 0000 @3", "!4", "!5", "0001 0002 0003 0004 0000 @6"}},
      // In a decode log a group without its status line is not taken as clean.
      {InputFormat::kAuto,
       "--- Mon May  6 12:00:00 2024 ---\n0x1A2B 0xC3D4 0x0000 0xFFFF \n"
       "0xC201 0x01C8 0xE106 0x434C \n   0x0    0x0    0x0    0x1\n"
       "0xC201 0x01C8 0xE106 0x434C \n",
       {"!2", "C201 01C8 E106 434C 0001 @3", "!5"}},
      // Interchange lines: "----" blocks are lost, a leading time is kept.
      {InputFormat::kAuto,
       "12:00:01.250 C201 ---- 0000 ----\n2024-05-06T12:00:01Z 1 2 3 4\n---- 0408 ---- ----\n",
       {"C201 0000 0000 0000 0F0F @1 12:00:01.250", "!2", "0000 0408 0000 0000 F0FF @3"}},
      // Report rows, newest first, and the newest one again in a read-out
      // line: each group once, oldest first, an empty slot and the other
      // lines passed over; a type column that does not fit block B is a problem.
      {InputFormat::kAuto,
       gen2_rows,
       {"C202 2426 2020 2020 0000 @3", "C202 2427 2020 2020 0000 @2", "!5"}},
      // Given layouts: a decode log takes no interchange line, hex lines take
      // no status line, a 0x line without status is clean only as hex.
      {InputFormat::kLog, "C201 0408 ---- 434C\n0x1A2B 0xC3D4 0x0000 0xFFFF\n", {"!1", "!2"}},
      {InputFormat::kHex, log_record, {"!1", "1A2B C3D4 0000 FFFF 0000 @2", "!3"}},
      {InputFormat::kGen2,
       log_record + gen2_rows,
       {"C202 2426 2020 2020 0000 @6", "C202 2427 2020 2020 0000 @5", "!8"}},
  };
  for (const auto& [format, text, expected] : cases) {
    std::vector<std::string> read;
    fmrrds::GroupReader reader(
        [&](const fmrrds::RawGroup& g) {
          char group[40];
          std::snprintf(group, sizeof group, "%04X %04X %04X %04X %04X @%zu", g.blocks[0],
                        g.blocks[1], g.blocks[2], g.blocks[3], g.status, g.line);
          read.push_back(group + (g.time.empty() ? "" : " " + g.time));
        },
        [&](size_t line, const std::string&) { read.push_back("!" + std::to_string(line)); },
        format);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) reader.Feed(line);
    reader.Finish();
    EXPECT_EQ(read, expected) << text;
  }
}

// Rows of overlapping reports come out once each, oldest first, as soon as
// no later report can list an older one; a handset switched on again starts
// its numbers anew (an impossible old number, or a number with other blocks).
// Numbers are compared modulo 65536.
TEST(ReportRowOrderTest, OverlappingReportsAndRestarts) {
  // (running number, block D) of each row in the order read.
  const std::pair<std::vector<std::pair<uint16_t, uint16_t>>, std::string> cases[] = {
      {{{3, 0}, {2, 0}, {1, 0}, {5, 0}, {4, 0}, {3, 0}, {2, 0}}, "1 2 3 4 5"},
      {{{30, 0}, {29, 0}, {2, 0}, {1, 0}}, "29 30 1 2"},
      {{{7, 0}, {8, 0}, {7, 1}}, "7 8 7"},
      // Across the 16-bit wrap, a report listing rows from before it again.
      {{{65534, 0}, {65535, 0}, {0, 0}, {65535, 0}, {0, 0}, {1, 0}}, "65534 65535 0 1"},
  };
  for (const auto& [rows, expected] : cases) {
    std::string order;
    fmrrds::ReportRowOrder rows_order;
    auto sink = [&](const fmrrds::ReportRow& r) {
      order += (order.empty() ? "" : " ") + std::to_string(r.sequence);
    };
    for (const auto& [sequence, block_d] : rows) {
      fmrrds::ReportRow row;
      row.sequence = sequence;
      row.blocks[3] = block_d;
      rows_order.Add(row, sink);
    }
    rows_order.Finish(sink);
    EXPECT_EQ(order, expected);
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
      "PS        -\nRT        - (unconfirmed \"ABCD" +
          std::string(60, '?') +
          "\")\nRT+       -\nECC       -\nAF        -\nCT        -\nGroups    2A 3\n"
          "Received  3 groups, 0 skipped (block B lost), 0 partial\n"
          "BLER      0.0% overall (0 of 12 blocks lost), 0.0% over the last 3 groups\n"
          "Input     hex: 0 records, 0 malformed lines, 0 lines passed over\n");
}

// A capture in the interchange layout with times and lost blocks: another
// station first (its name, country and frequencies must not survive the
// new PI), then a station whose name and text arrive twice (confirmed) with
// blocks lost on the way, its country, RadioText+ tags, a clock time that
// is a day later locally, and a text flag flip with a new text and new
// tags. Written back as hex, the capture comes out as it went in.
TEST(RdsCliTest, QualityOfAHexCaptureAndItsHexRoundTrip) {
  const std::string capture = Data("quality.txt");
  ASSERT_FALSE(capture.empty());
  ExpectData("quality.groups.jsonl", RunRds({"--input-format", "hex"}, capture).out);
  ExpectData("quality.summary.txt", RunRds({"--summary", "--window", "10"}, capture).out);
  EXPECT_EQ(RunRds({"--output-format", "hex"}, capture).out, capture);
  const RunResult bad = RunRds({"--window", "0"}, capture);
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "fmr-rds: --window needs a number of groups from 1 to 999999, got 0\n");
}

// A second-generation session as benchora prints it: four reports two
// seconds apart, the newest row as LData and the others as MData, newest
// first, each overlapping the one before. Every group comes out once and in
// order (88 in eight seconds), so the station decodes whole.
TEST(RdsCliTest, SecondGenerationSessionLines) {
  ExpectData("gen2_session.summary.txt", RunRds({"--summary"}, Data("gen2_session.txt")).out);
}

}  // namespace
}  // namespace rdstest
