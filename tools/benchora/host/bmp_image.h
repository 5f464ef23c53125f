// A screenshot file: a 24-bit BMP built from top-down rows of 32-bit
// pixels (blue, green, red, unused), as a memory bitmap holds them.
#pragma once

#include <cstdint>
#include <vector>

namespace benchora {

// Empty when the sizes do not match the pixel data.
std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint8_t>& bgrx_top_down);

}  // namespace benchora
