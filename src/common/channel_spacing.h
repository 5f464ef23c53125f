// The channel spacings both panels offer, in the order of their spacing
// boxes' items: item i of a spacing box means kChannelSpacingsHz[i].
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace common {

inline constexpr std::array<uint32_t, 3> kChannelSpacingsHz = {50000, 100000, 200000};

// The spacing of a spacing box's item, or 0 for an index outside the items
// (each caller chooses its own fallback).
constexpr uint32_t ChannelSpacingOfItem(int index) {
  return index >= 0 && index < static_cast<int>(kChannelSpacingsHz.size())
             ? kChannelSpacingsHz[static_cast<size_t>(index)]
             : 0;
}

// The item of a spacing, or -1 when no item offers it.
constexpr int ItemOfChannelSpacing(uint32_t spacing_hz) {
  for (size_t i = 0; i < kChannelSpacingsHz.size(); ++i) {
    if (kChannelSpacingsHz[i] == spacing_hz) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace common
