#include "text/utf8_unit.h"

namespace tooltext {
namespace {

uint32_t Byte(std::string_view text, size_t at) {
  return static_cast<unsigned char>(text[at]);
}

}  // namespace

Utf8Unit DecodeUnit(std::string_view text, size_t at) {
  const uint32_t lead = Byte(text, at);
  if (lead < 0x80) return {lead, 1};
  // The sequence's length and the range its second byte must lie in (which
  // rules out overlong forms, surrogates and values past U+10FFFF); later
  // bytes are plain continuation bytes.
  size_t length = 0;
  uint32_t low = 0x80;
  uint32_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  const Utf8Unit stray{kStrayByteBase + lead, 1};
  if (length == 0 || text.size() - at < length) return stray;
  const uint32_t second = Byte(text, at + 1);
  if (second < low || second > high) return stray;
  uint32_t value = lead & (0x7Fu >> length);
  for (size_t i = 1; i < length; ++i) {
    const uint32_t next = Byte(text, at + i);
    if ((next & 0xC0) != 0x80) return stray;
    value = (value << 6) | (next & 0x3F);
  }
  return {value, length};
}

}  // namespace tooltext
