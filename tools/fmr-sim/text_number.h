// Unsigned numbers in the first-generation handset's own text commands,
// where the whole text must be the number. (Fault rules and options are read
// by the tools' strict reader, text/strict_number.h.)
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace fmrsim {

// `text` as an unsigned 32-bit number in `base`; nullopt when it is empty,
// holds anything besides the digits, or does not fit.
inline std::optional<uint32_t> ParseUnsigned(std::string_view text, int base = 10) {
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace fmrsim
