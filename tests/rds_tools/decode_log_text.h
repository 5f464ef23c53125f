// Groups written the way the first-generation panel writes its decode log:
// a "--- asctime ---" header per record, then per group the block cells
// "0x1A2B " and the wide status nibbles "   0x0    0x0    0x0    0x0",
// then two empty lines.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rdstest {

struct LoggedGroup {
  std::array<uint16_t, 4> blocks{};
  uint16_t status = 0;
};

inline std::string BlockCells(const std::array<uint16_t, 4>& blocks) {
  std::string out;
  for (uint16_t b : blocks) {
    char cell[16];
    std::snprintf(cell, sizeof(cell), "0x%04X ", static_cast<unsigned>(b));
    out += cell;
  }
  return out;
}

inline std::string WideNibbles(uint16_t status) {
  std::string out;
  for (int shift = 12; shift >= 0; shift -= 4) {
    if (shift != 12) out += ' ';
    char group[8];
    std::snprintf(group, sizeof(group), "   0x%X", static_cast<unsigned>((status >> shift) & 0xF));
    out += group;
  }
  return out;
}

inline std::string DecodeLogRecord(const std::vector<LoggedGroup>& groups,
                                   const std::string& when = "Mon May  6 12:00:00 2024") {
  std::string out = "--- " + when + " ---\n";
  for (const LoggedGroup& g : groups)
    out += BlockCells(g.blocks) + "\n" + WideNibbles(g.status) + "\n";
  return out + "\n\n";
}

}  // namespace rdstest
