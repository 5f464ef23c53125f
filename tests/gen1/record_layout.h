// Record layouts written down independently of the library: which block
// member sits at which offset with which width, so one table checks both
// the packing of a request and the copying of a reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

#include "gen1/fmr_parameters.h"

namespace gen1_test {

// One integer member of the parameter block, whatever its type.
struct Member {
  std::variant<uint8_t*, int8_t*, uint16_t*, int16_t*, uint32_t*, char*> at;
  // The value, sign-extended for a signed member.
  int64_t Get() const {
    return std::visit([](auto* m) { return static_cast<int64_t>(*m); }, at);
  }
  // Stores the low bytes of `value` (a narrower member keeps fewer).
  void Set(uint64_t value) const {
    std::visit([value](auto* m) { *m = static_cast<std::remove_pointer_t<decltype(m)>>(value); },
               at);
  }
};

// `count` members of `width` bytes each, back to back from `offset`.
struct Field {
  size_t offset;
  size_t width;
  Member (*member)(FmrParameters& p, size_t index);
  size_t count = 1;
};
using Fields = std::vector<Field>;

#define F(offset, width, name)                                              \
  Field {                                                                   \
    offset, width, [](FmrParameters& p, size_t) { return Member{&p.name}; } \
  }
#define A(offset, width, name)                                                    \
  Field {                                                                         \
    offset, width, [](FmrParameters& p, size_t i) { return Member{&p.name[i]}; }, \
        std::tuple_size_v<decltype(FmrParameters::name)>                          \
  }

inline uint64_t ReadLe(std::span<const uint8_t> bytes, size_t offset, size_t width) {
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint64_t{bytes[offset + i]} << (8 * i);
  return value;
}

// The record `fields` make of `p`, `size` bytes, the rest zero.
inline std::vector<uint8_t> Pack(FmrParameters p, const Fields& fields, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.count; ++i) {
      const auto value = static_cast<uint64_t>(f.member(p, i).Get());
      for (size_t b = 0; b < f.width; ++b)
        bytes.at(f.offset + f.width * i + b) = static_cast<uint8_t>(value >> (8 * b));
    }
  }
  return bytes;
}

// `p` with the members of `fields` read from `reply`.
inline FmrParameters Unpack(FmrParameters p, const Fields& fields, std::span<const uint8_t> reply) {
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.count; ++i)
      f.member(p, i).Set(ReadLe(reply, f.offset + f.width * i, f.width));
  }
  return p;
}

// Gives every member of `fields` its own value in `p`: no zero byte and the
// top bit of every byte set, so a member packed at the wrong offset, with
// the wrong width or sign, or from the wrong member shows.
inline void FillDistinct(FmrParameters& p, const Fields& fields, unsigned& next) {
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.count; ++i, ++next) {
      uint64_t value = 0;
      for (unsigned b = 0; b < 4; ++b)
        value |= uint64_t{0x80u | ((next * 37 + b * 11 + 5) & 0x7Fu)} << (8 * b);
      f.member(p, i).Set(value);
    }
  }
}

}  // namespace gen1_test
