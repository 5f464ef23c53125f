// Text-to-number conversions shared by the panels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class IniFile;
}

namespace common {

// The platform's string-to-integer rule for edit fields: leading blanks, an
// optional sign, then decimal digits or hexadecimal digits after "$", "0x"
// or "x"; nothing may follow. Values beyond 32 bits (decimal beyond the
// signed range) are not numbers. Hexadecimal keeps its 32-bit pattern.
std::optional<int32_t> TextToInt(std::string_view text);
// TextToInt, with `fallback` for text that is not a number.
int32_t TextToIntDef(std::string_view text, int32_t fallback);
// An edit field's number as the panels read it: TextToInt, 0 for text that
// is not a number. Callers narrow it to their field's width.
int32_t DecimalValue(std::string_view text);

// An integer value of an initialization file: its text by TextToInt;
// `fallback` when the key is missing or its text is not an integer.
int32_t ReadIniInteger(const platform::IniFile& file, const std::string& section,
                       const std::string& key, int32_t fallback);

// Hexadecimal digits only, without prefix: at most `count` characters are
// read; the first non-digit ends the scan (overflow drops the high bits).
uint32_t HexToInt(const char* text, int8_t count);

}  // namespace common
