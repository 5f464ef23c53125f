// The RDS station a check reads belongs to one tuning: what starts a new one
// on each generation, what does not, and the second generation's reports
// read from the panel's read-outs (each group once, losses from the running
// numbers, nothing from before a tune).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "measure/measurement.h"
#include "measure/panel_rds_report.h"
#include "measure/rds_watch.h"

namespace {

using benchora::RdsWatch;

// 0A groups carrying `ps` whole, each segment twice (so the name counts as
// confirmed): blocks A to D.
std::vector<std::array<uint16_t, 4>> PsGroups(uint16_t pi, const char* ps) {
  std::vector<std::array<uint16_t, 4>> groups;
  for (int round = 0; round < 2; ++round) {
    for (uint16_t segment = 0; segment < 4; ++segment) {
      const auto d = static_cast<uint16_t>(static_cast<uint8_t>(ps[2 * segment]) << 8 |
                                           static_cast<uint8_t>(ps[2 * segment + 1]));
      groups.push_back({pi, static_cast<uint16_t>(11 << 5 | segment), 0xE0CD, d});
    }
  }
  return groups;
}

// A panel as the watch sees it: its clock, and the second generation's RDS
// read-outs (LData the newest row, MData the others, newest first).
struct FakePanel {
  uint64_t clock = 0;
  std::string ldata;
  std::vector<std::string> mdata;
  int reads = 0;  // of the read-outs

  bool Automate(const std::string& command, std::string& reply) {
    if (command == "clock") {
      reply = std::to_string(clock);
    } else if (command == "get LData") {
      ++reads;
      reply = "kind=Edit enabled=1 visible=1 text=\"" + ldata + "\"";
    } else if (command == "lines MData") {
      reply.clear();
      for (const std::string& line : mdata) reply += line + "\n";
    } else {
      return false;
    }
    return true;
  }

  // The report as the panel shows it: `rows` oldest first, each with its
  // running number; the older slots stay zero.
  void Show(const std::vector<std::pair<std::array<uint16_t, 4>, uint16_t>>& rows) {
    std::vector<std::string> lines(28, Row({}, 0, 0));
    for (size_t i = 0; i < rows.size(); ++i) {
      lines[28 - rows.size() + i] =
          Row(rows[i].first, static_cast<uint16_t>(rows[i].first[1] >> 11), rows[i].second);
    }
    ldata = lines[27];
    mdata.assign(lines.rbegin() + 1, lines.rend());
  }

  static std::string Row(const std::array<uint16_t, 4>& blocks, uint16_t type, uint16_t number) {
    std::string line;
    char cell[8];
    for (const uint16_t value : {blocks[0], blocks[1], blocks[2], blocks[3], type, number,
                                 static_cast<uint16_t>(number == 0 ? 0 : 35)}) {
      std::snprintf(cell, sizeof cell, "0x%04X ", value);
      line += std::string(cell) + " ";
    }
    return line.substr(0, line.size() - 1);
  }
};

struct Watched {
  FakePanel panel;
  std::vector<std::string> lines;
  RdsWatch watch{[this](const std::string& line) { lines.push_back(line); },
                 [this](const std::string& command, std::string& reply) {
                   return panel.Automate(command, reply);
                 }};

  std::string Read(const char* field) {
    std::string why;
    const std::optional<std::string> value = benchora::RdsValue(watch, field, why);
    return value ? *value : "(" + why + ")";
  }

  // A first-generation receive poll carrying `groups` (status all clean).
  void Poll(const std::vector<std::array<uint16_t, 4>>& groups) {
    std::vector<uint8_t> reply(168, 0);
    reply[0] = 1;
    reply[2] = static_cast<uint8_t>(groups.size());
    for (size_t g = 0; g < groups.size(); ++g) {
      for (size_t b = 0; b < 4; ++b) {
        reply[4 + 8 * g + 2 * b] = static_cast<uint8_t>(groups[g][b]);
        reply[5 + 8 * g + 2 * b] = static_cast<uint8_t>(groups[g][b] >> 8);
      }
    }
    const uint8_t poll[2] = {0xFF, 0xFF};
    watch.OnTestFunction(0x07, poll, reply);
  }

  // The second generation's read of the report, as the panel logs it.
  void ReadReport() {
    watch.OnLogLine("get FM RX RDS report", 1);
    watch.OnLogLine("at@audapp:fmrx_get_rds_data()", 1);
    watch.OnLogLine("OK", 1);
    watch.Settle();
  }
};

// What reaches the first-generation handset after ROCK 95 was received,
// and what `rds.ps` reads then.
TEST(RdsTuning, FirstGenerationRequestsThatStartANewTuning) {
  struct Case {
    uint16_t id;
    std::vector<uint8_t> request;
    const char* ps;
  };
  const Case kCases[] = {
      {0x04, std::vector<uint8_t>(28, 0), "(nothing received since the tune at 7000 ms)"},
      {0x04, {1, 0, 0, 0}, "(nothing received since the seek at 7000 ms)"},
      {0x04, {2, 0, 0, 0}, "(nothing received since the seek at 7000 ms)"},
      {0x07, {0, 0}, "(nothing received since the RDS switch-off at 7000 ms)"},
      {0x07, {1, 0}, "(nothing received since the RDS switch-on at 7000 ms)"},
      {0x02, {}, "(nothing received since the power off at 7000 ms)"},
      {0x01, std::vector<uint8_t>(52, 0), "(nothing received since the power on at 7000 ms)"},
      {0x13, std::vector<uint8_t>(40, 0), "(nothing received since the transmit tune at 7000 ms)"},
      {0x16, {0, 0}, "(nothing received since the RDS transmission switch-off at 7000 ms)"},
      // Polls, reads and settings change nothing the radio receives.
      {0x07, {0xFF, 0xFF}, "ROCK 95 "},
      {0x16, {0xFF, 0}, "ROCK 95 "},
      {0x03, {}, "ROCK 95 "},
      {0x08, std::vector<uint8_t>(8, 0), "ROCK 95 "},
      {0x05, std::vector<uint8_t>(20, 0), "ROCK 95 "},
      {0x0C, std::vector<uint8_t>(12, 0), "ROCK 95 "},
  };
  for (const Case& c : kCases) {
    Watched w;
    w.panel.clock = 5600;
    w.Poll(PsGroups(0xC204, "ROCK 95 "));
    ASSERT_EQ(w.Read("ps"), "ROCK 95 ");
    w.panel.clock = 7000;
    // The request, and its reply when it has one the watch reads (none here).
    w.watch.OnTestFunction(c.id, c.request, {});
    EXPECT_EQ(w.Read("ps"), c.ps) << "message 0x" << std::hex << c.id;
  }
}

TEST(RdsTuning, SecondGenerationCommandsThatStartANewTuning) {
  const std::pair<const char*, const char*> kCases[] = {
      {"at@audapp:fmrx_set_station(0,90000000,10,0)", "tune"},
      {"at@audapp:fmrx_set_station(1,95400000,10,0)", "seek"},
      {"at@audapp:fmrx_set_station(4,95400000,10,0)", "seek"},
      {"at@audapp:fmrx_set_station(5,95400000,10,0)", "search"},
      {"at@audapp:fmrx_get_auto_seek_report()", "end of the search"},
      {"at@audapp:fmrx_set_band(108000000,87500000,100000,1)", "band change"},
      {"at@audapp:fmrx_set_rds(0,0,1000)", "RDS switch-off"},
      {"at@audapp:fmrx_set_rds(1,1,500)", "RDS switch-on"},
      {"at@audapp:fmr_disable()", "power off"},
      {"at@audapp:fmrx_enable()", "power on"},
      {"at@audapp:fmrx_get_dynamic_data()", nullptr},
      {"at@audapp:fmrx_set_volume(0,40)", nullptr},
      {"at@audapp:fmrx_set_antenna(1)", nullptr},
      {"Set FM RX station", nullptr},
      {"fmrx_set_station(0,90000000,10,0)", nullptr},  // not an AT command line
  };
  for (const auto& [line, event] : kCases) {
    Watched w;
    w.panel.clock = 2000;
    std::vector<std::pair<std::array<uint16_t, 4>, uint16_t>> rows;
    uint16_t number = 1;
    for (const auto& group : PsGroups(0xC204, "ROCK 95 ")) rows.push_back({group, number++});
    w.panel.Show(rows);
    w.ReadReport();
    ASSERT_EQ(w.Read("ps"), "ROCK 95 ");
    w.panel.clock = 3000;
    w.watch.OnLogLine(line, 1);
    // The report still shows the same rows: nothing of them is new.
    w.ReadReport();
    const std::string expected =
        event ? std::string("(nothing received since the ") + event + " at 3000 ms)" : "ROCK 95 ";
    EXPECT_EQ(w.Read("ps"), expected) << line;
    EXPECT_EQ(w.Read("groups"), event ? "0" : "8") << line;
  }
}

TEST(RdsTuning, QualityValuesCountTheGroupsOfTheTuning) {
  Watched w;
  EXPECT_EQ(w.Read("groups"), "0");
  EXPECT_EQ(w.Read("bler"), "(nothing received since the start at 0 ms)");
  EXPECT_EQ(w.Read("age"), "(nothing received since the start at 0 ms)");
  EXPECT_EQ(w.Read("nope"), "(no value named rds.nope)");
  w.panel.clock = 1400;
  std::vector<std::array<uint16_t, 4>> groups = PsGroups(0xC204, "ROCK 95 ");
  groups.resize(4);  // each segment once: the name is not confirmed yet
  w.Poll(groups);
  EXPECT_EQ(w.Read("pi"), "C204");
  EXPECT_EQ(w.Read("pty"), "11");
  EXPECT_EQ(w.Read("ps"), "(no confirmed PS name in the 4 groups since the start at 0 ms)");
  EXPECT_EQ(w.Read("rt"), "(no confirmed radio text in the 4 groups since the start at 0 ms)");
  EXPECT_EQ(w.Read("ecc"), "(no extended country code in the 4 groups since the start at 0 ms)");
  w.panel.clock = 2100;
  EXPECT_EQ(w.Read("age"), "700");
  EXPECT_EQ(w.Read("bler"), "0.0");
  // A group with block C uncorrectable and one with two corrected bits in D.
  w.watch.OnTestFunction(0x07, std::vector<uint8_t>{0xFF, 0xFF}, [] {
    std::vector<uint8_t> reply(168, 0);
    reply[0] = 1;
    reply[2] = 2;
    const uint16_t blocks[2][4] = {{0xC204, 0x0160, 0xE0CD, 0x524F}, {0xC204, 0x0161, 0, 0x434B}};
    const uint16_t status[2] = {0x00F0, 0x0002};
    for (size_t g = 0; g < 2; ++g) {
      for (size_t b = 0; b < 4; ++b) {
        reply[4 + 8 * g + 2 * b] = static_cast<uint8_t>(blocks[g][b]);
        reply[5 + 8 * g + 2 * b] = static_cast<uint8_t>(blocks[g][b] >> 8);
      }
      reply[132 + 2 * g] = static_cast<uint8_t>(status[g]);
      reply[133 + 2 * g] = static_cast<uint8_t>(status[g] >> 8);
    }
    return reply;
  }());
  EXPECT_EQ(w.Read("groups"), "6");
  EXPECT_EQ(w.Read("bler"), "4.2");  // 1 of 24 blocks
  EXPECT_EQ(w.Read("age"), "0");
  // Another PI: a new station, counted from its first group.
  w.panel.clock = 3000;
  w.Poll({{0xC201, 0x0000, 0, 0x434C}});
  EXPECT_EQ(w.Read("pi"), "C201");
  EXPECT_EQ(w.Read("groups"), "1");
  EXPECT_EQ(w.Read("ps"), "(no confirmed PS name in the 1 group since the PI change at 3000 ms)");
  // A refused poll carries nothing.
  std::vector<uint8_t> refused(168, 0);
  w.watch.OnTestFunction(0x07, std::vector<uint8_t>{0xFF, 0xFF}, refused);
  EXPECT_EQ(w.Read("groups"), "1");
}

// Second-generation reports read from the panel: overlapping reports give
// each group once, gaps in the running numbers are lost groups, a full
// report's first gap may be rows the panel read too late, and a handset
// counting anew is recognised.
TEST(RdsTuning, PanelReportsGiveEachGroupOnceWithItsLosses) {
  using Rows = std::vector<std::pair<std::array<uint16_t, 4>, uint16_t>>;
  const std::array<uint16_t, 4> g{0xC204, 0x0000, 0xE0CD, 0x524F};
  auto numbered = [&](std::initializer_list<uint16_t> numbers) {
    Rows rows;
    for (const uint16_t n : numbers) rows.push_back({g, n});
    return rows;
  };
  Watched w;
  w.panel.Show(numbered({1, 2, 3}));
  w.ReadReport();
  EXPECT_EQ(w.Read("groups"), "3");
  w.panel.Show(numbered({1, 2, 3, 4, 6}));  // 5 lost
  w.ReadReport();
  EXPECT_EQ(w.Read("groups"), "5");
  EXPECT_EQ(w.Read("bler"), "16.7");  // 4 of 24 blocks
  w.ReadReport();                     // the same report again
  EXPECT_EQ(w.Read("groups"), "5");
  // A full report whose oldest row lies beyond the last seen: the rows
  // between were pushed out before the panel read them, not lost.
  Rows full;
  for (uint16_t n = 20; n < 48; ++n) full.push_back({g, n});
  w.panel.Show(full);
  w.ReadReport();
  EXPECT_EQ(w.Read("groups"), "33");
  EXPECT_EQ(w.Read("bler"), "2.9");  // still the one group lost: 4 of 136 blocks
  // The running number wraps at 16 bits.
  Rows wrapping;
  for (uint16_t n = 65530; n != 4; ++n) wrapping.push_back({g, n});
  benchora::PanelRdsReport report;
  std::vector<std::string> older;
  auto rows_of = [&](const Rows& rows) {
    FakePanel p;
    p.Show(rows);
    return report.Read(p.ldata, p.mdata);
  };
  EXPECT_EQ(rows_of(Rows(wrapping.begin(), wrapping.begin() + 3)).size(), 3u);
  const auto after_wrap = rows_of(wrapping);
  ASSERT_EQ(after_wrap.size(), 7u);
  EXPECT_EQ(after_wrap.back().row.sequence, 3);
  EXPECT_EQ(after_wrap.front().lost_before, 0u);
  // Numbers far behind: the handset restarted; its rows are new.
  EXPECT_EQ(rows_of(numbered({40000, 40001})).size(), 2u);
  // The same number with other blocks: restarted too.
  Rows changed = numbered({40000, 40001});
  changed[1].first[3] = 0x1234;
  EXPECT_EQ(rows_of(changed).size(), 2u);
  // Rows from before a tune stay out; the gap after it is no loss.
  report.NewTuning(false);
  EXPECT_TRUE(rows_of(changed).empty());
  const auto fresh = rows_of(numbered({40009, 40010}));
  ASSERT_EQ(fresh.size(), 2u);
  EXPECT_EQ(fresh[0].lost_before, 0u);
  // Switched off and on: the handset counts from 1 again; a report still
  // showing rows from before gives none of them.
  report.NewTuning(true);
  EXPECT_TRUE(rows_of(numbered({40009, 40010})).empty());
  EXPECT_EQ(rows_of(numbered({1})).size(), 1u);
}

// The panel fills its read-outs after its "OK": the report is taken at the
// next log line or at the end of the command, once, and not after a failed
// read.
TEST(RdsTuning, ReportsAreTakenAfterASuccessfulReadOnly) {
  Watched w;
  std::vector<std::pair<std::array<uint16_t, 4>, uint16_t>> rows;
  uint16_t number = 1;
  for (const auto& group : PsGroups(0xC204, "ROCK 95 ")) rows.push_back({group, number++});
  w.panel.Show(rows);
  w.watch.OnLogLine("get FM RX RDS report", 1);
  w.watch.OnLogLine("at@audapp:fmrx_get_rds_data()", 1);
  w.watch.OnLogLine("Error", 0);
  w.watch.Settle();
  EXPECT_EQ(w.panel.reads, 0);
  w.watch.OnLogLine("get FM RX RDS report", 1);
  w.watch.OnLogLine("at@audapp:fmrx_get_rds_data()", 1);
  w.watch.OnLogLine("OK", 1);
  EXPECT_EQ(w.panel.reads, 0);
  w.watch.OnLogLine("Get FM dynamic config", 1);
  EXPECT_EQ(w.panel.reads, 1);
  w.watch.Settle();
  EXPECT_EQ(w.panel.reads, 1);
  EXPECT_EQ(w.Read("ps"), "ROCK 95 ");
  EXPECT_EQ(w.lines.back(), "RDS station: PI C204, PTY 11 Rock Music, PS \"ROCK 95 \"");
  // Another command's OK takes nothing.
  w.watch.OnLogLine("Set FM RX volume", 1);
  w.watch.OnLogLine("at@audapp:fmrx_set_volume(0,40)", 1);
  w.watch.OnLogLine("OK", 1);
  w.watch.Settle();
  EXPECT_EQ(w.panel.reads, 1);
}

}  // namespace
