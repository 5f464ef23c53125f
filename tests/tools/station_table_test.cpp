// The simulated band as a receiver sees it: every station's RDS, received
// through the first-generation receiver (block errors included) and decoded
// by fmr-rds, gives back the table's data; the weak station loses blocks at
// the rate it was set to; every station one generation's search finds, the
// other receives.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "fmr-rds/cli.h"
#include "fmr-rds/countries.h"
#include "fmr-rds/field_text.h"
#include "fmr-rds/hex_text.h"
#include "fmr-rds/programme_types.h"
#include "fmr-rds/station_decoder.h"
#include "fmr-sim/gen1/rds_receiver.h"
#include "fmr-sim/radio_model.h"

namespace {

// `count` groups of the station at `frequency_hz` as interchange lines.
std::string Capture(uint32_t frequency_hz, size_t count) {
  fmrsim::RadioModel radio;
  radio.PowerOn(false);
  radio.Tune(frequency_hz);
  fmrsim::RdsReceiver receiver;
  receiver.SetEnabled(true);
  std::string lines;
  for (size_t n = 0; n < count;) {
    const auto groups = receiver.Poll(radio);
    if (groups.empty()) return lines;
    for (const fmrsim::ReceivedGroup& g : groups) {
      if (n++ == count) break;
      std::array<bool, 4> usable{};
      for (size_t b = 0; b < 4; ++b) usable[b] = ((g.status >> (12 - 4 * b)) & 0xF) <= 5;
      lines += fmrrds::HexGroupLine(g.group.blocks, usable, "") + "\n";
    }
  }
  return lines;
}

fmrrds::StationSummary Decode(const std::string& lines) {
  fmrrds::StationDecoder decoder;
  fmrrds::GroupReader reader([&](const fmrrds::RawGroup& g) { decoder.Decode(g); }, nullptr);
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) reader.Feed(line);
  reader.Finish();
  return decoder.Summary();
}

std::string StationLine(const fmrrds::StationSummary& s) {
  using namespace fmrrds;
  std::string line = s.pi ? PiText(*s.pi) : "-";
  if (s.pty) line += " " + std::string(ProgrammeTypeName(PtyTable::kRds, *s.pty));
  line += " \"" + s.ps.value_or("-") + "\" \"" + s.rt.value_or("-") + "\" AF";
  for (uint32_t khz : s.af.vhf_khz()) line += " " + MhzText(khz);
  if (s.ecc) line += ", " + std::string(CountryName(*s.ecc, s.pi.value_or(0)));
  if (s.ct) line += ", CT " + FormatOffset(*s.ct);
  for (size_t i = 0; s.rt_plus && i < 2; ++i) {
    if (s.rt_plus->tags[i].content_type != 0)
      line += ", " + std::string(ContentTypeName(s.rt_plus->tags[i].content_type)) + " \"" +
              s.rt_plus_text[i] + "\"";
  }
  return line;
}

TEST(StationTableTest, EveryStationDecodesToItsData) {
  std::string decoded;
  for (const fmrsim::Station& station : fmrsim::RadioModel::DefaultStations())
    decoded += StationLine(Decode(Capture(station.frequency_hz, 400))) + "\n";
  EXPECT_EQ(decoded,
            "1A01 Pop Music \"TOKYO FM\" \"Morning show with the latest music\" AF, CT +09:00\n"
            "1A02 Weather \"BAYWAVE \" \"Bay wave: weather every hour\" AF\n"
            "C201 Serious classical \"CLASSIC \" \"Classic FM - Symphony No. 5 in C minor\" AF "
            "88.1 90.4 96.6 98.5 101.3, United Kingdom, CT +01:00, ITEM.TITLE \"Symphony No. 5 "
            "in C minor\"\n"
            "C202 News \"LOCAL   \" \"Local news and traffic\" AF 89.3 92.6 97, United Kingdom\n"
            "C203 News \"NEWS 24 \" \"News 24: headlines at the top of the hour\" AF 91.7 93.1 "
            "94.6 100.2 104.4 106.1, United Kingdom, CT +01:00\n"
            "C204 Rock Music \"ROCK 95 \" \"Rock 95 - now playing: live session\" AF 95.4 96.1 "
            "102.5, United Kingdom, CT +01:00, ITEM.TITLE \"live session\", STATIONNAME.SHORT "
            "\"Rock 95\"\n"
            "C205 Other Music \"WEAK FM \" \"A distant station near the noise floor\" AF 87.9 "
            "99.9, United Kingdom\n"
            "C206 Jazz Music \"JAZZ 103\" \"Jazz all night long\" AF 90.9 103.2 105.3, United "
            "Kingdom, CT +01:00\n"
            "C207 Pop Music \"TOP 40  \" \"Top 40 countdown\" AF 98.8 101.9 105 107.8, United "
            "Kingdom, CT +01:00, PROGRAMME.NOW \"Top 40 countdown\"\n");
}

// The weak station's block error rate, as fmr-rds measures it from 1,000
// groups written as interchange lines, is within 2 points of its setting.
TEST(StationTableTest, WeakStationLosesBlocksAtItsSetRate) {
  const fmrsim::Station* weak = nullptr;
  const auto stations = fmrsim::RadioModel::DefaultStations();
  for (const fmrsim::Station& s : stations) {
    if (s.block_loss_percent != 0) weak = &s;
  }
  ASSERT_NE(weak, nullptr);
  const std::string capture = Capture(weak->frequency_hz, 1000);
  std::istringstream in(capture);
  std::ostringstream out, err;
  fmrrds::DecodeOptions options;
  options.output = fmrrds::OutputKind::kSummaryJson;
  ASSERT_EQ(fmrrds::DecodeStream(in, options, out, err).groups, 1000u);
  const std::string json = out.str();
  const size_t at = json.find("\"overall\":");
  ASSERT_NE(at, std::string::npos);
  const double measured = std::stod(json.substr(at + 10));
  std::printf("weak station %.1f MHz: block error rate %.1f%% measured, %u%% set\n",
              weak->frequency_hz / 1e6, measured, weak->block_loss_percent);
  EXPECT_NEAR(measured, weak->block_loss_percent, 2.0);
}

// Whatever level a search asks for, every station it finds has RDS on the
// first generation's receiver.
TEST(StationTableTest, EveryStationFoundIsReceived) {
  fmrsim::RadioModel radio;
  radio.PowerOn(false);
  for (const fmrsim::Band& band : {fmrsim::kEuropeUsBand, fmrsim::kJapanBand}) {
    radio.SetBand(band);
    for (uint32_t f : radio.ScanBand(0)) {
      radio.Tune(f);
      EXPECT_TRUE(fmrsim::RdsReceiver::InSync(radio)) << f;
    }
  }
}

}  // namespace
