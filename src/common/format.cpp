#include "common/format.h"

#include <cstdio>

namespace common {

std::string RepeatChar(char c, int32_t count) {
  return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

std::string FormatNumber(uint32_t value, int8_t radix, int8_t width, uint8_t as_short) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  if (radix < 2 || radix > 16) return "INVALID DATA";
  if (radix == 10) {
    return as_short != 0 ? std::to_string(static_cast<int16_t>(value & 0xFFFF))
                         : std::to_string(value);
  }
  // Digits lowest first from the right end, as many as fit the width; the
  // places left over stay zero padding.
  std::string text(width > 0 ? static_cast<size_t>(width) : 0, '0');
  uint32_t rest = value;
  const uint32_t base = static_cast<uint32_t>(radix);
  const bool fixed = (radix == 2 || radix == 16);
  for (size_t pos = text.size(); pos > 0 && (fixed || rest != 0); rest /= base) {
    text[--pos] = kDigits[rest % base];
  }
  return text;
}

namespace {

// The four hexadecimal digits of a register value, most significant first.
std::string FourDigits(int16_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%.4X", static_cast<uint32_t>(static_cast<int32_t>(value)));
  std::string digits(buffer);
  return digits.size() > 4 ? digits.substr(digits.size() - 4) : digits;
}

std::string JoinNibbles(int16_t value, const std::string& lead) {
  const std::string d = FourDigits(value);
  std::string out;
  for (size_t i = 0; i < d.size(); ++i) {
    if (i > 0) out += ' ';
    out += lead + "0x" + d[i];
  }
  return out;
}

}  // namespace

std::string FormatRegisterHex(int16_t value) {
  return "0x" + FourDigits(value) + " ";
}

std::string FormatRegisterNibbles(int16_t value) {
  return JoinNibbles(value, "");
}

std::string FormatRegisterNibblesWide(int16_t value) {
  return JoinNibbles(value, "   ");
}

}  // namespace common
