// The units a pattern matches one at a time: the code points of UTF-8 text,
// and every byte that is not part of a valid UTF-8 sequence on its own, so
// that broken text from the air still reads from end to end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tooltext {

// Code points are their own values; a stray byte B is kStrayByteBase + B,
// above every code point, so that no literal character ever equals it.
inline constexpr uint32_t kLastCodePoint = 0x10FFFF;
inline constexpr uint32_t kStrayByteBase = 0x110000;
// One past the largest unit: the universe that negated classes complement.
inline constexpr uint32_t kUnitLimit = kStrayByteBase + 0x100;

struct Utf8Unit {
  uint32_t value = 0;
  size_t length = 0;  // bytes taken from the text, at least 1
};

// The unit that starts at `at` (< text.size()). Overlong forms, surrogates
// and values above U+10FFFF are not valid UTF-8: their first byte is a unit
// of its own and reading goes on at the next byte.
[[nodiscard]] Utf8Unit DecodeUnit(std::string_view text, size_t at);

}  // namespace tooltext
