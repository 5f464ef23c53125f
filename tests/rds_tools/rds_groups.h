// Hand-built RDS groups for the decoder tests.
#pragma once

#include <cstdint>
#include <string>

#include "fmr-rds/group_reader.h"

namespace rdstest {

inline constexpr uint16_t kPi = 0xC201;

inline uint16_t BlockB(unsigned type, bool version_b, unsigned low5, unsigned pty = 14,
                       bool tp = false) {
  return static_cast<uint16_t>((type << 12) | (version_b ? 1u << 11 : 0) | (tp ? 1u << 10 : 0) |
                               ((pty & 0x1F) << 5) | (low5 & 0x1F));
}

inline uint16_t Chars(const std::string& two) {
  return static_cast<uint16_t>((static_cast<uint8_t>(two[0]) << 8) | static_cast<uint8_t>(two[1]));
}

inline fmrrds::RawGroup Group(uint16_t a, uint16_t b, uint16_t c, uint16_t d, uint16_t status = 0) {
  return fmrrds::RawGroup{{a, b, c, d}, status, 0};
}

// 0A: PS segment `segment` (two characters of `ps`), AF codes in block C.
inline fmrrds::RawGroup Ps0A(const std::string& ps, unsigned segment, uint16_t af = 0xE0CD,
                             uint16_t status = 0, uint16_t pi = kPi) {
  const unsigned low5 = (1u << 3) | segment;  // music, TA off, DI bit 0
  return Group(pi, BlockB(0, false, low5), af, Chars(ps.substr(2 * segment, 2)), status);
}

// 2A: RT segment `segment` (four characters of `text`, padded with blanks).
inline fmrrds::RawGroup Rt2A(std::string text, unsigned segment, bool flag_b = false,
                             uint16_t status = 0) {
  text.resize(64, ' ');
  const unsigned low5 = (flag_b ? 1u << 4 : 0) | segment;
  return Group(kPi, BlockB(2, false, low5), Chars(text.substr(4 * segment, 2)),
               Chars(text.substr(4 * segment + 2, 2)), status);
}

}  // namespace rdstest
