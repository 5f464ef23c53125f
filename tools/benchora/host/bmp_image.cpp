#include "host/bmp_image.h"

#include <cstddef>

namespace benchora {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void PutU16(std::vector<uint8_t>& out, size_t offset, uint16_t value) {
  out[offset] = static_cast<uint8_t>(value & 0xFF);
  out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint8_t>& bgrx_top_down) {
  if (width <= 0 || height <= 0) return {};
  const auto w = static_cast<size_t>(width);
  const auto h = static_cast<size_t>(height);
  if (bgrx_top_down.size() != w * h * 4) return {};
  const size_t row_size = (w * 3 + 3) / 4 * 4;  // rows are padded to 4 bytes
  const size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<uint8_t> out(offset + row_size * h, 0);

  // File header
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(out.size()));
  PutU32(out, 10, static_cast<uint32_t>(offset));
  // Info header: a positive height means the rows are stored bottom-up.
  PutU32(out, 14, static_cast<uint32_t>(kInfoHeaderSize));
  PutU32(out, 18, static_cast<uint32_t>(width));
  PutU32(out, 22, static_cast<uint32_t>(height));
  PutU16(out, 26, 1);   // planes
  PutU16(out, 28, 24);  // bits per pixel
  PutU32(out, 30, 0);   // no compression
  PutU32(out, 34, static_cast<uint32_t>(row_size * h));
  PutU32(out, 38, kPixelsPerMetre);
  PutU32(out, 42, kPixelsPerMetre);

  for (size_t y = 0; y < h; ++y) {
    const uint8_t* source = bgrx_top_down.data() + y * w * 4;
    uint8_t* target = out.data() + offset + (h - 1 - y) * row_size;
    for (size_t x = 0; x < w; ++x) {
      target[x * 3] = source[x * 4];
      target[x * 3 + 1] = source[x * 4 + 1];
      target[x * 3 + 2] = source[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace benchora
