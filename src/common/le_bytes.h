// Little-endian field access for byte records: each field is written or
// read at an explicit offset, one byte at a time, so record layouts never
// depend on the compiler's struct layout or the machine's byte order.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace common::le {

inline void PutU8(std::span<uint8_t> bytes, size_t offset, uint8_t value) {
  assert(offset < bytes.size());
  bytes[offset] = value;
}

inline void PutU16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
  assert(offset + 2 <= bytes.size());
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutU32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
  assert(offset + 4 <= bytes.size());
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void PutS8(std::span<uint8_t> bytes, size_t offset, int8_t value) {
  PutU8(bytes, offset, static_cast<uint8_t>(value));
}
inline void PutS16(std::span<uint8_t> bytes, size_t offset, int16_t value) {
  PutU16(bytes, offset, static_cast<uint16_t>(value));
}
inline void PutS32(std::span<uint8_t> bytes, size_t offset, int32_t value) {
  PutU32(bytes, offset, static_cast<uint32_t>(value));
}

inline uint8_t GetU8(std::span<const uint8_t> bytes, size_t offset) {
  assert(offset < bytes.size());
  return bytes[offset];
}

inline uint16_t GetU16(std::span<const uint8_t> bytes, size_t offset) {
  assert(offset + 2 <= bytes.size());
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline uint32_t GetU32(std::span<const uint8_t> bytes, size_t offset) {
  assert(offset + 4 <= bytes.size());
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

inline int8_t GetS8(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int8_t>(GetU8(bytes, offset));
}
inline int16_t GetS16(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int16_t>(GetU16(bytes, offset));
}
inline int32_t GetS32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int32_t>(GetU32(bytes, offset));
}

}  // namespace common::le
