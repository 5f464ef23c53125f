#include "fmr-rds/alternative_frequencies.h"

namespace fmrrds {
namespace {

constexpr uint8_t kNoAf = 224;
constexpr uint8_t kCountBase = 224;  // 225..249: 1..25 frequencies follow
constexpr uint8_t kCountLast = 249;
constexpr uint8_t kLfMfFollows = 250;

std::optional<uint32_t> VhfKhz(uint8_t code) {
  if (code >= 1 && code <= 204) return 87500u + 100u * code;
  return std::nullopt;
}

// LF codes 1..15 from 153 kHz, MF codes 16..135 from 531 kHz, in 9 kHz steps.
std::optional<uint32_t> LfMfKhz(uint8_t code) {
  if (code >= 1 && code <= 15) return 153u + 9u * (code - 1u);
  if (code >= 16 && code <= 135) return 531u + 9u * (code - 16u);
  return std::nullopt;
}

}  // namespace

AfPair DecodeAfPair(uint16_t block_c) {
  const uint8_t codes[2] = {static_cast<uint8_t>(block_c >> 8),
                            static_cast<uint8_t>(block_c & 0xFF)};
  AfPair pair;
  for (size_t i = 0; i < 2; ++i) {
    const uint8_t code = codes[i];
    if (code >= kNoAf && code <= kCountLast) {
      pair.count = static_cast<unsigned>(code - kCountBase);
    } else if (code == kLfMfFollows && i == 0) {
      if (const auto khz = LfMfKhz(codes[1])) pair.lf_mf_khz.push_back(*khz);
      break;
    } else if (const auto khz = VhfKhz(code)) {
      pair.vhf_khz.push_back(*khz);
    }
    // 0, the filler 205 and the unassigned codes carry nothing.
  }
  return pair;
}

void AfList::Add(const AfPair& pair) {
  vhf_khz_.insert(pair.vhf_khz.begin(), pair.vhf_khz.end());
  lf_mf_khz_.insert(pair.lf_mf_khz.begin(), pair.lf_mf_khz.end());
  if (pair.count) count_ = pair.count;
}

void AfList::Clear() {
  vhf_khz_.clear();
  lf_mf_khz_.clear();
  count_.reset();
}

}  // namespace fmrrds
