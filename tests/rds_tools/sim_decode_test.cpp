// The simulator's RDS groups, logged the way the panel logs them (block
// errors of weak stations included), decode back to the station data.
#include <gtest/gtest.h>

#include <sstream>

#include "decode_log_text.h"
#include "fmr-rds/cli.h"
#include "fmr-rds/group_reader.h"
#include "fmr-rds/station_decoder.h"
#include "fmr-sim/gen1/rds_receiver.h"
#include "fmr-sim/radio_model.h"

namespace rdstest {
namespace {

// The decode log of `polls` receive polls (the panel polls every 1.4 s) on
// the station at `frequency_hz`.
std::string ReceiveLog(uint32_t frequency_hz, int polls, uint32_t* error_groups = nullptr) {
  fmrsim::RadioModel radio;
  radio.PowerOn(false);
  EXPECT_TRUE(radio.Tune(frequency_hz));
  fmrsim::RdsReceiver receiver;
  receiver.SetEnabled(true);
  std::string log;
  for (int i = 0; i < polls; ++i) {
    std::vector<LoggedGroup> groups;
    for (const fmrsim::ReceivedGroup& g : receiver.Poll(radio))
      groups.push_back({g.group.blocks, g.status});
    log += DecodeLogRecord(groups);
  }
  if (error_groups != nullptr) *error_groups = receiver.error_groups();
  return log;
}

fmrrds::StationSummary Decode(const std::string& log, size_t* malformed = nullptr) {
  fmrrds::StationDecoder decoder;
  fmrrds::GroupReader reader([&](const fmrrds::RawGroup& g) { decoder.Decode(g); }, nullptr);
  std::istringstream in(log);
  std::string line;
  while (std::getline(in, line)) reader.Feed(line);
  reader.Finish();
  if (malformed != nullptr) *malformed = reader.malformed_lines();
  return decoder.Summary();
}

std::string Padded(const std::string& text, size_t size) {
  std::string out = text.substr(0, size);
  out.resize(size, ' ');
  return out;
}

TEST(SimDecodeTest, EveryStationWithinSyncDecodesBackToItsData) {
  for (const fmrsim::Station& station : fmrsim::RadioModel::DefaultStations()) {
    if (station.level_dbuv < fmrsim::RdsReceiver::kSyncLevelDbuv) continue;
    SCOPED_TRACE(station.ps);
    // Weak stations lose blocks: give them more cycles of the 20-group carousel.
    const int polls = station.level_dbuv >= fmrsim::RdsReceiver::kCleanLevelDbuv ? 2 : 40;
    uint32_t error_groups = 0;
    size_t malformed = 0;
    const auto s = Decode(ReceiveLog(station.frequency_hz, polls, &error_groups), &malformed);
    EXPECT_EQ(malformed, 0u);
    EXPECT_EQ(s.pi, station.pi);
    EXPECT_EQ(s.pi_history.size(), 1u);
    EXPECT_EQ(s.pty, station.pty);
    EXPECT_EQ(s.tp, station.tp);
    EXPECT_EQ(s.ps, Padded(station.ps, 8));
    EXPECT_EQ(s.ps_names.size(), 1u);
    EXPECT_EQ(s.rt, station.radio_text);
    EXPECT_EQ(s.di[0], station.stereo);
    // The station sends its own frequency as its one alternative (none below 87.6 MHz).
    EXPECT_EQ(s.af.count(), 1u);
    if (station.frequency_hz >= 87600000) {
      ASSERT_EQ(s.af.vhf_khz().size(), 1u);
      EXPECT_EQ(*s.af.vhf_khz().begin(), station.frequency_hz / 1000);
    } else {
      EXPECT_TRUE(s.af.vhf_khz().empty());
    }
    EXPECT_EQ(s.received, static_cast<uint32_t>(polls) * fmrsim::RdsReceiver::kMaxGroupsPerPoll);
    if (station.level_dbuv < fmrsim::RdsReceiver::kCleanLevelDbuv) {
      // The weak station really did lose blocks, and lost B blocks were skipped.
      EXPECT_GT(error_groups, 0u);
      EXPECT_GT(s.skipped + s.partial, 0u);
    } else {
      EXPECT_EQ(s.skipped + s.partial, 0u);
    }
  }
}

TEST(SimDecodeTest, ALogOfRecordsWithoutGroupsDecodesToNothing) {
  // Below the sync level the panel logs empty records only.
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in(ReceiveLog(99900000, 3));
  fmrrds::DecodeOptions options;
  options.output = fmrrds::OutputKind::kSummaryJson;
  const fmrrds::DecodeResult result = fmrrds::DecodeStream(in, options, out, err);
  EXPECT_EQ(result.groups, 0u);
  EXPECT_EQ(err.str(), "");
  EXPECT_NE(out.str().find("\"pi\":null"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\"records\":3"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace rdstest
