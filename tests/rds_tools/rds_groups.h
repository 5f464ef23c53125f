// Hand-built RDS groups for the decoder tests, and groups written the way the
// first-generation panel writes its decode log: a "--- asctime ---" header
// per record, then per group the block cells "0x1A2B " and the wide status
// nibbles "   0x0    0x0    0x0    0x0", then two empty lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fmr-rds/group_reader.h"

namespace rdstest {

inline constexpr uint16_t kPi = 0xC201;

inline uint16_t BlockB(unsigned type, bool version_b, unsigned low5) {
  return static_cast<uint16_t>((type << 12) | (version_b ? 1u << 11 : 0) | (14u << 5) |
                               (low5 & 0x1F));  // programme type 14, no TP
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

inline std::string DecodeLogRecord(const std::vector<fmrrds::RawGroup>& groups) {
  std::string out = "--- Mon May  6 12:00:00 2024 ---\n";
  for (const fmrrds::RawGroup& g : groups) {
    char lines[80];
    std::snprintf(lines, sizeof lines,
                  "0x%04X 0x%04X 0x%04X 0x%04X \n   0x%X    0x%X    0x%X    0x%X\n", g.blocks[0],
                  g.blocks[1], g.blocks[2], g.blocks[3], g.status >> 12, (g.status >> 8) & 0xF,
                  (g.status >> 4) & 0xF, g.status & 0xF);
    out += lines;
  }
  return out + "\n\n";
}

}  // namespace rdstest
