#include "fmr-sim/radio_model.h"

#include <algorithm>

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
  return {
      {76500000, 38, true, 0x1A01, "TOKYO FM", "Morning show with the latest music", 10, false},
      {80000000, 22, false, 0x1A02, "BAYWAVE ", "Bay wave: weather every hour", 3, true},
      {88100000, 45, true, 0xC201, "CLASSIC ", "Classic FM - Symphony No. 5 in C minor", 14, false},
      {89300000, 18, false, 0xC202, "LOCAL   ", "Local news and traffic", 1, true},
      {91700000, 52, true, 0xC203, "NEWS 24 ", "News 24: headlines at the top of the hour", 1,
       false},
      {95400000, 30, true, 0xC204, "ROCK 95 ", "Rock 95 - now playing: live session", 11, false},
      {99900000, 12, false, 0xC205, "WEAK FM ", "A distant station near the noise floor", 15,
       false},
      {103200000, 41, true, 0xC206, "JAZZ 103", "Jazz all night long", 16, false},
      {107800000, 35, true, 0xC207, "TOP 40  ", "Top 40 countdown", 10, true},
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
  return nullptr;
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

std::optional<RdsGroup> RadioModel::NextRdsGroup() {
  const Station* s = CurrentStation();
  if (!powered_ || s == nullptr) return std::nullopt;
  // Cycle: four 0A groups (PS name, two characters each), then sixteen 2A
  // groups (radio text, four characters each).
  const uint32_t step = rds_step_++ % 20;
  ++rds_group_count_;
  const uint16_t tp = s->tp ? 1 : 0;
  const uint16_t pty = s->pty & 0x1F;
  RdsGroup g{};
  g.blocks[0] = s->pi;
  if (step < 4) {
    const std::string ps = Padded(s->ps, 8);
    const uint16_t segment = static_cast<uint16_t>(step);
    const uint16_t music = 1;
    const uint16_t di = (segment == 3 && s->stereo) ? 1 : 0;  // DI bit d0 = stereo
    g.blocks[1] = static_cast<uint16_t>((0u << 12) | (0u << 11) | (tp << 10) | (pty << 5) |
                                        (0u << 4) | (music << 3) | (di << 2) | segment);
    // One alternative frequency: the station's own, when it has an AF code.
    const bool has_af = s->frequency_hz >= 87600000u;
    const uint16_t af = has_af ? static_cast<uint16_t>((s->frequency_hz - 87500000u) / 100000u)
                               : uint16_t{205};  // filler code
    g.blocks[2] = static_cast<uint16_t>((225u << 8) | af);
    g.blocks[3] = Chars(ps[segment * 2], ps[segment * 2 + 1]);
  } else {
    std::string rt = s->radio_text.substr(0, 64);
    if (rt.size() < 64) rt += '\r';
    rt = Padded(rt, 64);
    const uint16_t segment = static_cast<uint16_t>(step - 4);
    g.blocks[1] = static_cast<uint16_t>((2u << 12) | (0u << 11) | (tp << 10) | (pty << 5) |
                                        (0u << 4) | segment);
    g.blocks[2] = Chars(rt[segment * 4], rt[segment * 4 + 1]);
    g.blocks[3] = Chars(rt[segment * 4 + 2], rt[segment * 4 + 3]);
  }
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
