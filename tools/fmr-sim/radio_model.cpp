#include "fmr-sim/radio_model.h"

#include <algorithm>
#include <cstdlib>

namespace fmrsim {
namespace {

constexpr uint32_t kSynthLowHz = 64000000;
constexpr uint32_t kSynthHighHz = 108000000;

// Reset values of a few chip registers: chip id, configuration, the
// charge-pump (CP) and sideband registers the test functions read.
const std::map<uint32_t, uint16_t>& ResetRegisters() {
  static const std::map<uint32_t, uint16_t> values = {
      {0x00, 0x1021}, {0x01, 0x0C04}, {0x02, 0x4001}, {0x03, 0x0000}, {0x04, 0x1980},
      {0x05, 0x0F1F}, {0x0A, 0x7A00}, {0x0B, 0x0C21}, {0x20, 0x0015}, {0x21, 0x0033},
      {0x28, 0x0061}, {0x3A, 0x0125}, {0x3B, 0x0008}, {0x60, 0x00C8}, {0x61, 0x0044},
  };
  return values;
}

std::string Padded(const std::string& text, size_t size) {
  std::string out = text.substr(0, size);
  out.resize(size, ' ');
  return out;
}

uint16_t Chars(char a, char b) {
  return static_cast<uint16_t>((static_cast<uint8_t>(a) << 8) | static_cast<uint8_t>(b));
}

}  // namespace

RadioModel::RadioModel() : RadioModel(DefaultStations()) {}

RadioModel::RadioModel(std::vector<Station> stations) : stations_(std::move(stations)) {
  std::sort(stations_.begin(), stations_.end(),
            [](const Station& a, const Station& b) { return a.frequency_hz < b.frequency_hz; });
}

std::vector<Station> RadioModel::DefaultStations() {
  // Content types of RadioText+ tags.
  constexpr uint8_t kTitle = 1;
  constexpr uint8_t kStationShort = 31;
  constexpr uint8_t kProgrammeNow = 33;
  // The extended country code of the United Kingdom (PI country code C).
  constexpr uint8_t kEccUk = 0xE1;
  constexpr int kUtcPlus1 = 2;
  constexpr int kUtcPlus9 = 18;
  return {
      {76500000,
       38,
       true,
       0x1A01,
       "TOKYO FM",
       "Morning show with the latest music",
       10,
       false,
       {},
       0,
       kUtcPlus9},
      {80000000, 22, false, 0x1A02, "BAYWAVE ", "Bay wave: weather every hour", 16, true},
      {88100000,
       45,
       true,
       0xC201,
       "CLASSIC ",
       "Classic FM - Symphony No. 5 in C minor",
       14,
       false,
       {88100000, 90400000, 96600000, 98500000, 101300000},
       kEccUk,
       kUtcPlus1,
       {TextTag{kTitle, 13, 25}, TextTag{}}},
      {89300000,
       18,
       false,
       0xC202,
       "LOCAL   ",
       "Local news and traffic",
       1,
       true,
       {89300000, 92600000, 97000000},
       kEccUk},
      {91700000,
       52,
       true,
       0xC203,
       "NEWS 24 ",
       "News 24: headlines at the top of the hour",
       1,
       false,
       {91700000, 93100000, 94600000, 100200000, 104400000, 106100000},
       kEccUk,
       kUtcPlus1},
      {95400000,
       30,
       true,
       0xC204,
       "ROCK 95 ",
       "Rock 95 - now playing: live session",
       11,
       false,
       {95400000, 96100000, 102500000},
       kEccUk,
       kUtcPlus1,
       {TextTag{kTitle, 23, 12}, TextTag{kStationShort, 0, 7}}},
      {99900000,
       12,
       false,
       0xC205,
       "WEAK FM ",
       "A distant station near the noise floor",
       15,
       false,
       {99900000, 87900000},
       kEccUk,
       std::nullopt,
       {},
       10},
      {103200000,
       41,
       true,
       0xC206,
       "JAZZ 103",
       "Jazz all night long",
       24,
       false,
       {103200000, 105300000, 90900000},
       kEccUk,
       kUtcPlus1},
      {107800000,
       35,
       true,
       0xC207,
       "TOP 40  ",
       "Top 40 countdown",
       10,
       true,
       {107800000, 98800000, 101900000, 105000000},
       kEccUk,
       kUtcPlus1,
       {TextTag{kProgrammeNow, 0, 16}, TextTag{}}},
  };
}

void RadioModel::PowerOn(bool transmit) {
  powered_ = true;
  transmit_ = transmit;
  rds_step_ = 0;
  rds_group_count_ = 0;
}

void RadioModel::PowerOff() {
  powered_ = false;
  transmit_ = false;
}

void RadioModel::SetBand(const Band& band) {
  band_ = band;
  if (frequency_hz_ < band_.low_hz || frequency_hz_ > band_.high_hz) frequency_hz_ = band_.low_hz;
}

bool RadioModel::Tune(uint32_t frequency_hz) {
  if (frequency_hz < kSynthLowHz || frequency_hz > kSynthHighHz) return false;
  if (frequency_hz != frequency_hz_) rds_step_ = 0;
  frequency_hz_ = frequency_hz;
  return true;
}

std::optional<uint32_t> RadioModel::Seek(bool up, int min_level, bool wrap) {
  const uint32_t step = band_.spacing_hz != 0 ? band_.spacing_hz : 100000;
  const uint32_t channels = (band_.high_hz - band_.low_hz) / step + 1;
  uint32_t f = std::clamp(frequency_hz_, band_.low_hz, band_.high_hz);
  for (uint32_t i = 0; i < channels; ++i) {
    if (up) {
      if (f + step > band_.high_hz) {
        if (!wrap) break;
        f = band_.low_hz;
      } else {
        f += step;
      }
    } else {
      if (f < band_.low_hz + step) {
        if (!wrap) break;
        f = band_.high_hz;
      } else {
        f -= step;
      }
    }
    const Station* s = StationAt(f);
    if (s != nullptr && s->level_dbuv >= min_level) {
      Tune(f);
      return f;
    }
  }
  Tune(f);
  return std::nullopt;
}

std::vector<uint32_t> RadioModel::ScanBand(int min_level) const {
  std::vector<uint32_t> found;
  for (const Station& s : stations_) {
    if (s.frequency_hz >= band_.low_hz && s.frequency_hz <= band_.high_hz &&
        s.level_dbuv >= min_level)
      found.push_back(s.frequency_hz);
  }
  return found;
}

const Station* RadioModel::StationAt(uint32_t frequency_hz) const {
  for (const Station& s : stations_) {
    if (s.frequency_hz == frequency_hz) return &s;
  }
  if (!air_groups_.empty() && air_station_.frequency_hz == frequency_hz) return &air_station_;
  return nullptr;
}

void RadioModel::PutOnAir(uint32_t frequency_hz, const RdsGroup& group) {
  if (air_station_.frequency_hz != frequency_hz) air_groups_.clear();
  air_station_.frequency_hz = frequency_hz;
  air_station_.pi = group.blocks[0];
  air_groups_.push_back(group);
  if (air_groups_.size() > kAirGroups) air_groups_.erase(air_groups_.begin());
}

const Station* RadioModel::CurrentStation() const {
  return StationAt(frequency_hz_);
}

int RadioModel::RssiAt(uint32_t frequency_hz) const {
  const Station* s = StationAt(frequency_hz);
  if (s != nullptr) return s->level_dbuv;
  // Between stations the level wanders a few dB above the noise floor, the
  // same on every visit of a channel, so a scan across the band has a shape.
  uint32_t h = frequency_hz / 50000u;
  h ^= h >> 7;
  h *= 0x9E3779B1u;
  return noise_floor_dbuv_ + static_cast<int>((h >> 28) % 4u);
}

int RadioModel::Rssi() const {
  return RssiAt(frequency_hz_);
}

bool RadioModel::Stereo() const {
  const Station* s = CurrentStation();
  return s != nullptr && s->stereo;
}

namespace {

constexpr uint32_t kPsSteps = 4;
constexpr uint32_t kRtSteps = 16;
constexpr uint16_t kAfFiller = 205;
constexpr uint16_t kAfCountBase = 224;
constexpr uint16_t kRtPlusApplication = 0x4BD7;
constexpr uint16_t kRtPlusGroupType = 11 << 1;  // 11A

enum class Extra { kCountry, kClock, kTextPlusAnnouncement, kTextPlusTags };

std::vector<Extra> Extras(const Station& s) {
  std::vector<Extra> extras;
  if (s.extended_country_code != 0) extras.push_back(Extra::kCountry);
  if (s.clock_offset_half_hours) extras.push_back(Extra::kClock);
  if (s.text_tags[0].content_type != 0) {
    extras.push_back(Extra::kTextPlusAnnouncement);
    extras.push_back(Extra::kTextPlusTags);
  }
  return extras;
}

uint16_t Header(const Station& s, uint16_t type) {
  return static_cast<uint16_t>((type << 12) | ((s.tp ? 1u : 0u) << 10) | ((s.pty & 0x1Fu) << 5));
}

// The eight codes of a method-A list across the four 0A groups: the count,
// then the frequencies, filler after them.
std::array<uint16_t, 8> AfCodes(const Station& s) {
  std::array<uint16_t, 8> codes;
  codes.fill(kAfFiller);
  std::vector<uint16_t> vhf;
  for (uint32_t f : s.alternative_frequencies_hz) {
    if (f >= 87600000u && f <= 107900000u && vhf.size() < codes.size() - 1)
      vhf.push_back(static_cast<uint16_t>((f - 87500000u) / 100000u));
  }
  if (vhf.empty()) {
    // No list: the station's own frequency, when it has a code.
    codes.fill(s.frequency_hz >= 87600000u
                   ? static_cast<uint16_t>((s.frequency_hz - 87500000u) / 100000u)
                   : kAfFiller);
    for (size_t i = 0; i < codes.size(); i += 2) codes[i] = kAfCountBase + 1;
    return codes;
  }
  codes[0] = static_cast<uint16_t>(kAfCountBase + vhf.size());
  for (size_t i = 0; i < vhf.size(); ++i) codes[i + 1] = vhf[i];
  return codes;
}

}  // namespace

RdsGroup RadioModel::BasicTuningGroup(const Station& s, uint16_t segment) const {
  const std::string ps = Padded(s.ps, 8);
  const uint16_t music = 1;
  const uint16_t di = (segment == 3 && s.stereo) ? 1 : 0;  // DI bit d0 = stereo
  const std::array<uint16_t, 8> af = AfCodes(s);
  RdsGroup g{};
  g.blocks[0] = s.pi;
  g.blocks[1] = static_cast<uint16_t>(Header(s, 0) | (music << 3) | (di << 2) | segment);
  g.blocks[2] = static_cast<uint16_t>((af[2 * segment] << 8) | af[2 * segment + 1]);
  g.blocks[3] = Chars(ps[segment * 2], ps[segment * 2 + 1]);
  return g;
}

RdsGroup RadioModel::ExtraGroup(const Station& s, uint32_t index) const {
  RdsGroup g{};
  g.blocks[0] = s.pi;
  switch (Extras(s)[index]) {
    case Extra::kCountry:
      g.blocks[1] = Header(s, 1);
      g.blocks[2] = s.extended_country_code;  // variant 0
      break;
    case Extra::kClock: {
      const uint32_t seconds = rds_group_count_ * 10u / 114u;
      const uint32_t minutes = kClockStartUtcMinutes + seconds / 60u;
      const uint32_t mjd = kClockStartMjd + minutes / (24u * 60u);
      const uint32_t hour = minutes / 60u % 24u;
      const int offset = *s.clock_offset_half_hours;
      g.blocks[1] = static_cast<uint16_t>(Header(s, 4) | ((mjd >> 15) & 0x3));
      g.blocks[2] = static_cast<uint16_t>(((mjd & 0x7FFF) << 1) | (hour >> 4));
      g.blocks[3] = static_cast<uint16_t>(((hour & 0xF) << 12) | ((minutes % 60u) << 6) |
                                          (offset < 0 ? 0x20 : 0) | (std::abs(offset) & 0x1F));
      break;
    }
    case Extra::kTextPlusAnnouncement:
      g.blocks[1] = static_cast<uint16_t>(Header(s, 3) | kRtPlusGroupType);
      g.blocks[3] = kRtPlusApplication;
      break;
    case Extra::kTextPlusTags: {
      // Item running; two tags of (type 6 bits, start 6 bits, length - 1).
      const TextTag& t1 = s.text_tags[0];
      const TextTag& t2 = s.text_tags[1];
      const unsigned l1 = t1.length > 0 ? t1.length - 1u : 0u;
      const unsigned l2 = t2.length > 0 ? t2.length - 1u : 0u;
      g.blocks[1] = static_cast<uint16_t>(Header(s, 11) | (1u << 3) | ((t1.content_type >> 3) & 7));
      g.blocks[2] =
          static_cast<uint16_t>(((t1.content_type & 7u) << 13) | ((t1.start & 0x3Fu) << 7) |
                                ((l1 & 0x3Fu) << 1) | ((t2.content_type >> 5) & 1u));
      g.blocks[3] = static_cast<uint16_t>(((t2.content_type & 0x1Fu) << 11) |
                                          ((t2.start & 0x3Fu) << 5) | (l2 & 0x1Fu));
      break;
    }
  }
  return g;
}

std::optional<RdsGroup> RadioModel::NextRdsGroup() {
  const Station* s = CurrentStation();
  if (!powered_ || s == nullptr) return std::nullopt;
  if (s == &air_station_) {
    ++rds_group_count_;
    return air_groups_[rds_step_++ % air_groups_.size()];
  }
  const uint32_t extras = static_cast<uint32_t>(Extras(*s).size());
  const uint32_t step = rds_step_++ % (kPsSteps + kRtSteps + extras);
  ++rds_group_count_;
  if (step < kPsSteps) return BasicTuningGroup(*s, static_cast<uint16_t>(step));
  if (step >= kPsSteps + kRtSteps) return ExtraGroup(*s, step - kPsSteps - kRtSteps);
  std::string rt = s->radio_text.substr(0, 64);
  if (rt.size() < 64) rt += '\r';
  rt = Padded(rt, 64);
  const uint16_t segment = static_cast<uint16_t>(step - kPsSteps);
  RdsGroup g{};
  g.blocks[0] = s->pi;
  g.blocks[1] = static_cast<uint16_t>(Header(*s, 2) | segment);
  g.blocks[2] = Chars(rt[segment * 4], rt[segment * 4 + 1]);
  g.blocks[3] = Chars(rt[segment * 4 + 2], rt[segment * 4 + 3]);
  return g;
}

uint16_t RadioModel::ReadRegister(uint32_t address) const {
  if (auto it = registers_.find(address); it != registers_.end()) return it->second;
  const auto& reset = ResetRegisters();
  if (auto it = reset.find(address); it != reset.end()) return it->second;
  return 0;
}

void RadioModel::WriteRegister(uint32_t address, uint16_t value) {
  registers_[address] = value;
}

}  // namespace fmrsim
