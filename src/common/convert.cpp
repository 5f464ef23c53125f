#include "common/convert.h"

#include "platform/platform.h"

#include <cctype>

namespace common {

std::optional<int32_t> TextToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  }
  if (i >= text.size()) return std::nullopt;

  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16u : 10u) + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    const uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<int32_t>(value);
}

int32_t TextToIntDef(std::string_view text, int32_t fallback) {
  return TextToInt(text).value_or(fallback);
}

uint32_t HexToInt(const char* text, int8_t count) {
  if (text == nullptr) return 0;
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    const int c = std::toupper(static_cast<unsigned char>(text[i]));
    const int digit = (c >= '0' && c <= '9') ? c - '0' : c - 55;
    if (digit < 0 || digit > 15) return value;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

int32_t DecimalValue(std::string_view text) {
  return TextToIntDef(text, 0);
}

int32_t ReadIniInteger(const platform::IniFile& file, const std::string& section,
                       const std::string& key, int32_t fallback) {
  const std::optional<std::string> text = file.Read(section, key);
  return text ? TextToIntDef(*text, fallback) : fallback;
}

}  // namespace common
