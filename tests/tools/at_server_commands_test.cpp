#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "at_commands.h"
#include "at_reply_reader.h"

namespace {

using at_test::ReplyValues;
using fmrsim::AtCommands;
using fmrsim::AtReply;
using fmrsim::SeekStatus;

// The space-separated words of `text`.
std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Field positions in the dynamic data.
constexpr size_t kState = 0, kFrequency = 1, kStereo = 2, kPilot = 3, kRssi = 4, kSeek = 9;

class AtCommandsTest : public ::testing::Test {
 protected:
  AtReply Run(const std::string& command) { return at.Execute(command); }

  // The values of a successful read.
  std::vector<int64_t> Read(const std::string& name) {
    const AtReply reply = Run("at@audapp:" + name + "()");
    EXPECT_TRUE(reply.ok) << name;
    return ReplyValues(reply).value_or(std::vector<int64_t>{});
  }

  void Expect(bool ok, const std::string& command) { EXPECT_EQ(Run(command).ok, ok) << command; }

  void PowerOnAt(uint32_t frequency) {
    Expect(true, "at@audapp:fmrx_enable()");
    Expect(true, "at@audapp:fmrx_set_station(0," + std::to_string(frequency) + ",0,0)");
  }

  fmrsim::RadioModel radio;
  AtCommands at{radio};
};

TEST_F(AtCommandsTest, WriteCommandsAnswerOkWithoutLinesAndCheckTheirArgumentCount) {
  Expect(true, "at@audapp:fmrx_enable()");
  const std::vector<std::string> commands = Words(
      "fmr_configure_audio_dst(2) fmrx_set_band(108000000,87500000,100000,0) "
      "fmrx_set_station(0,95400000,-10,0) fmrx_set_sideband(1) fmrx_set_output_mode(1) "
      "fmrx_forcemono(1) fmrx_set_antenna(1) fmrx_set_snc(-5,30,1) fmrx_set_sm(-5,3,1) "
      "fmrx_set_volume(1,112) fmrx_set_rds(1,0,1000) fmrx_set_rssi(1,-20,70) "
      "fmrx_set_gain_control(0,7) fmr_disable()");
  for (const std::string& command : commands) {
    const AtReply reply = Run("at@audapp:" + command);
    EXPECT_TRUE(reply.ok) << command;
    EXPECT_TRUE(reply.lines.empty()) << command;
    // One argument more, or one fewer, is refused.
    const size_t open = command.find('(');
    const size_t close = command.size() - 1;
    const bool no_args = close == open + 1;
    Expect(false, "at@audapp:" + command.substr(0, close) + (no_args ? "1)" : ",1)"));
    if (!no_args) {
      const size_t last_comma = command.rfind(',');
      const size_t cut = last_comma == std::string::npos ? open + 1 : last_comma;
      Expect(false, "at@audapp:" + command.substr(0, cut) + ")");
    }
  }
}

TEST_F(AtCommandsTest, UnknownOrMalformedCommandsAndOutOfRangeArgumentsAnswerError) {
  Expect(true, "at@audapp:fmrx_enable()");
  for (const char* command : {"at@audapp:fmrx_bogus()", "fmrx_enable()", "at@audapp:fmrx_enable(",
                              "at@audapp:fmrx_enable", "at@other:fmrx_enable()", "",
                              "at@audapp:fmrx_set_volume(1,300)",     // level is u8
                              "at@audapp:fmrx_set_volume(1,x)",       // not a number
                              "at@audapp:fmrx_set_volume(1,0x10)",    // decimal only
                              "at@audapp:fmrx_set_volume(-1,10)",     // u32 is unsigned
                              "at@audapp:fmrx_set_volume(3,10)",      // no such channel
                              "at@audapp:fmrx_set_snc(40000,1,1)",    // s16
                              "at@audapp:fmrx_set_station(6,0,0,0)",  // no such mode
                              "at@audapp:fmrx_set_station(0,50000000,0,0)",
                              "at@audapp:fmrx_set_band(87500000,108000000,100000,0)",  // swapped
                              "at@audapp:fmrx_set_band(108000000,87500000,0,0)",
                              "at@audapp:fmrx_set_gain_control(1,16)"}) {
    Expect(false, command);
  }
}

TEST_F(AtCommandsTest, BothVolumesAtZeroReadBackAsMuted) {
  constexpr size_t kMute = 12;
  Expect(true, "at@audapp:fmrx_set_volume(0,0)");
  EXPECT_EQ(Read("fmrx_get_static_config").at(kMute), 1);
  Expect(true, "at@audapp:fmrx_set_volume(2,112)");
  EXPECT_EQ(Read("fmrx_get_static_config").at(kMute), 0);
}

TEST_F(AtCommandsTest, DynamicDataFollowsPowerTuningAndForcedMonoInVaryingLayouts) {
  std::vector<int64_t> d = Read("fmrx_get_dynamic_data");
  EXPECT_EQ(d[kState], 0);
  EXPECT_EQ(d[kSeek], static_cast<int64_t>(SeekStatus::kInvalid));

  PowerOnAt(91700000);
  d = Read("fmrx_get_dynamic_data");
  EXPECT_EQ(d[kState], 1);
  EXPECT_EQ(d[kFrequency], 91700000);
  EXPECT_EQ(d[kStereo], 1);
  EXPECT_EQ(d[kPilot], 1);
  EXPECT_EQ(d[kRssi], radio.RssiAt(91700000));

  Expect(true, "at@audapp:fmrx_forcemono(1)");
  const AtReply first = Run("at@audapp:fmrx_get_dynamic_data()");
  const AtReply second = Run("at@audapp:fmrx_get_dynamic_data()");
  EXPECT_NE(first.lines, second.lines);  // the layout varies, the values do not
  d = ReplyValues(first).value_or(std::vector<int64_t>{});
  EXPECT_EQ(ReplyValues(second), d);
  EXPECT_EQ(d.at(kStereo), 0);
  EXPECT_EQ(d.at(kPilot), 1);
}

TEST_F(AtCommandsTest, SeekModesMoveToTheNextStationOrReportFailure) {
  PowerOnAt(90000000);
  struct Case {
    int mode;
    int min_rssi;
    int64_t frequency;
    SeekStatus status;
  };
  const Case cases[] = {
      {3, 40, 91700000, SeekStatus::kSuccess},  // up, strong stations only
      {4, 0, 89300000, SeekStatus::kSuccess},   // down from 91.7
      {1, 100, 0, SeekStatus::kFailed},         // nothing that strong
  };
  for (const Case& c : cases) {
    Expect(true, "at@audapp:fmrx_set_station(" + std::to_string(c.mode) + ",0," +
                     std::to_string(c.min_rssi) + ",0)");
    const std::vector<int64_t> d = Read("fmrx_get_dynamic_data");
    if (c.frequency != 0) {
      EXPECT_EQ(d[kFrequency], c.frequency) << c.mode;
    }
    EXPECT_EQ(d[kSeek], static_cast<int64_t>(c.status)) << c.mode;
  }
  Expect(true, "at@audapp:fmr_disable()");
  Expect(false, "at@audapp:fmrx_set_station(1,0,0,0)");  // receiver off
}

TEST_F(AtCommandsTest, AutomaticSearchIsOngoingForSeveralPollsThenFillsTheReport) {
  at.set_auto_search_polls(3);
  PowerOnAt(99000000);
  Expect(true, "at@audapp:fmrx_set_station(5,0,30,0)");
  for (int poll = 0; poll < 3; ++poll) {
    EXPECT_EQ(Read("fmrx_get_dynamic_data")[kSeek], static_cast<int64_t>(SeekStatus::kOngoing));
    Expect(false, "at@audapp:fmrx_get_auto_seek_report()");  // not ready yet
  }
  const std::vector<int64_t> d = Read("fmrx_get_dynamic_data");
  EXPECT_EQ(d[kSeek], static_cast<int64_t>(SeekStatus::kSuccess));

  const std::vector<uint32_t> stations = radio.ScanBand(30);
  ASSERT_FALSE(stations.empty());
  EXPECT_EQ(d[kFrequency], stations.front());
  const std::vector<int64_t> report = Read("fmrx_get_auto_seek_report");
  ASSERT_EQ(report.size(), 101u);
  ASSERT_EQ(report[0], static_cast<int64_t>(stations.size()));
  for (size_t i = 0; i < stations.size(); ++i) {
    EXPECT_EQ(report[1 + i], stations[i]);
    EXPECT_EQ(report[51 + i], radio.RssiAt(stations[i]));
  }
  EXPECT_EQ(report[1 + stations.size()], 0);

  // Switching off stops a new search and keeps the previous report.
  Expect(true, "at@audapp:fmrx_set_station(5,0,0,0)");
  Read("fmrx_get_dynamic_data");
  Expect(true, "at@audapp:fmr_disable()");
  EXPECT_EQ(Read("fmrx_get_dynamic_data")[kSeek], static_cast<int64_t>(SeekStatus::kStopped));
  EXPECT_EQ(Read("fmrx_get_auto_seek_report"), report);
}

TEST_F(AtCommandsTest, RdsReportsCarryTheStationsGroupsNewestLast) {
  PowerOnAt(88100000);
  std::vector<int64_t> r = Read("fmrx_get_rds_data");
  EXPECT_EQ(r, std::vector<int64_t>(196, 0));  // not subscribed: nothing collected

  Expect(true, "at@audapp:fmrx_set_rds(1,0,1000)");
  fmrsim::RadioModel reference;  // the same station sends the same groups
  reference.PowerOn(false);
  reference.Tune(88100000);
  std::vector<fmrsim::RdsGroup> groups;
  for (int i = 0; i < 40; ++i) groups.push_back(*reference.NextRdsGroup());

  r = Read("fmrx_get_rds_data");  // about 11 groups arrive per second
  const size_t first = 28 - 11;
  EXPECT_EQ(r[first - 1], 0);
  for (size_t i = 0; i < 11; ++i) {
    for (size_t b = 0; b < 4; ++b) EXPECT_EQ(r[b * 28 + first + i], groups[i].blocks[b]);
    EXPECT_EQ(r[4 * 28 + first + i], groups[i].blocks[1] >> 11);  // group type and version
    EXPECT_EQ(r[5 * 28 + first + i], static_cast<int64_t>(i + 1));
    EXPECT_EQ(r[6 * 28 + first + i], radio.RssiAt(88100000));
  }

  Read("fmrx_get_rds_data");
  r = Read("fmrx_get_rds_data");  // 33 groups so far: the oldest 5 have left
  EXPECT_EQ(r[0], groups[5].blocks[0]);
  EXPECT_EQ(r[28 + 27], groups[32].blocks[1]);
  EXPECT_EQ(r[5 * 28 + 27], 33);

  Expect(true, "at@audapp:fmr_disable()");
  Expect(false, "at@audapp:fmrx_get_rds_data()");
}

}  // namespace
