#include "fmr-sim/gen1/rds_transmitter.h"

#include <algorithm>
#include <string>

namespace fmrsim {
namespace {

// A fixed-width character field up to its first zero byte.
template <size_t N>
std::string FieldText(const std::array<uint8_t, N>& field, size_t limit) {
  std::string text;
  for (size_t i = 0; i < N && i < limit && field[i] != 0; ++i) {
    text.push_back(static_cast<char>(field[i]));
  }
  return text;
}

bool SameStation(const Station& a, const Station& b) {
  return a.frequency_hz == b.frequency_hz && a.pi == b.pi && a.ps == b.ps &&
         a.radio_text == b.radio_text && a.pty == b.pty &&
         a.alternative_frequencies_hz == b.alternative_frequencies_hz;
}

// An entry of the alternative-frequency list: 876 to 1079 is the frequency
// in 100 kHz (1017: 101.7 MHz), 1 to 204 an RDS frequency code, 0 none.
std::optional<uint32_t> AfEntryHz(uint16_t entry) {
  if (entry >= 876 && entry <= 1079) return entry * 100000u;
  if (entry >= 1 && entry <= 204) return 87500000u + entry * 100000u;
  return std::nullopt;
}

}  // namespace

size_t RdsTransmitter::Queue(std::span<const RdsGroup> groups) {
  const size_t room = kFifoCapacity - fifo_.size();
  const size_t taken = std::min(room, groups.size());
  fifo_.insert(fifo_.end(), groups.begin(), groups.begin() + static_cast<ptrdiff_t>(taken));
  return taken;
}

std::optional<RdsGroup> RdsTransmitter::Encode(const TxRdsSettings& settings,
                                               uint32_t frequency_hz) {
  // Only frequencies the tuner can reach make a station; 87.5 MHz stands in.
  const uint32_t f =
      frequency_hz >= 64000000u && frequency_hz <= 108000000u ? frequency_hz : 87500000u;
  Station station{f,
                  60,
                  true,
                  settings.pi,
                  FieldText(settings.ps_name, 8),
                  FieldText(settings.radio_text, 64),
                  static_cast<uint8_t>(settings.pty & 0x1F),
                  false};
  // A list goes out with the station's own frequency first.
  for (uint16_t entry : settings.af_list) {
    const std::optional<uint32_t> hz = AfEntryHz(entry);
    if (!hz) continue;
    if (station.alternative_frequencies_hz.empty()) station.alternative_frequencies_hz.push_back(f);
    if (*hz != f) station.alternative_frequencies_hz.push_back(*hz);
  }
  if (!encoded_station_ || !SameStation(*encoded_station_, station)) {
    encoder_.emplace(std::vector<Station>{station});
    encoder_->Tune(f);
    encoder_->PowerOn(false);
    encoded_station_ = station;
  }
  return encoder_->NextRdsGroup();
}

void RdsTransmitter::Transmit(bool on_air, const TxRdsSettings& settings, RadioModel& radio) {
  if (!on_air) return;
  const uint32_t frequency_hz = radio.frequency_hz();
  for (size_t i = 0; i < kGroupsPerInterval; ++i) {
    std::optional<RdsGroup> g;
    if (!fifo_.empty()) {
      g = fifo_.front();
      fifo_.pop_front();
    } else if (settings.stack_on != 0) {
      g = Encode(settings, frequency_hz);
    }
    if (!g) break;
    sent_.push_back(*g);
    radio.PutOnAir(frequency_hz, *g);
  }
  if (sent_.size() > kGroupsPerInterval) {
    sent_.erase(sent_.begin(), sent_.end() - static_cast<ptrdiff_t>(kGroupsPerInterval));
  }
}

std::vector<RdsGroup> RdsTransmitter::TakeSent() {
  std::vector<RdsGroup> out;
  out.swap(sent_);
  return out;
}

void RdsTransmitter::Reset() {
  fifo_.clear();
  sent_.clear();
  encoder_.reset();
  encoded_station_.reset();
}

}  // namespace fmrsim
