// Little-endian field access for the simulator's message records: every
// field is read or written at an explicit byte offset. Reads outside the
// buffer give 0 and writes outside it are dropped, so a short or malformed
// request can never make the simulator touch memory it does not own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace fmrsim::le {

inline uint8_t U8(std::span<const uint8_t> b, size_t at) {
  return at < b.size() ? b[at] : 0;
}

inline uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(U8(b, at) | (U8(b, at + 1) << 8));
}

inline uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(U16(b, at)) | (static_cast<uint32_t>(U16(b, at + 2)) << 16);
}

inline int8_t S8(std::span<const uint8_t> b, size_t at) {
  return static_cast<int8_t>(U8(b, at));
}
inline int16_t S16(std::span<const uint8_t> b, size_t at) {
  return static_cast<int16_t>(U16(b, at));
}
inline int32_t S32(std::span<const uint8_t> b, size_t at) {
  return static_cast<int32_t>(U32(b, at));
}

inline void Put8(std::span<uint8_t> b, size_t at, uint8_t v) {
  if (at < b.size()) b[at] = v;
}

inline void Put16(std::span<uint8_t> b, size_t at, uint16_t v) {
  Put8(b, at, static_cast<uint8_t>(v & 0xFF));
  Put8(b, at + 1, static_cast<uint8_t>(v >> 8));
}

inline void Put32(std::span<uint8_t> b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

inline void PutS16(std::span<uint8_t> b, size_t at, int16_t v) {
  Put16(b, at, static_cast<uint16_t>(v));
}
inline void PutS32(std::span<uint8_t> b, size_t at, int32_t v) {
  Put32(b, at, static_cast<uint32_t>(v));
}

// Copies `N` raw bytes (a fixed-width character field) in or out.
template <size_t N>
void CopyIn(std::span<const uint8_t> b, size_t at, std::array<uint8_t, N>& out) {
  for (size_t i = 0; i < N; ++i) out[i] = U8(b, at + i);
}

template <size_t N>
void CopyOut(std::span<uint8_t> b, size_t at, const std::array<uint8_t, N>& in) {
  for (size_t i = 0; i < N; ++i) Put8(b, at + i, in[i]);
}

}  // namespace fmrsim::le
