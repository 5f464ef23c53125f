// Numbers in texts the tools read from people and files (script limits,
// fault rules, options): the whole text must be the number. Decimal, or
// hexadecimal after 0x; a sign only before decimal digits ("0x-1" is not a
// number); no blanks, no trailing text, no "inf" or "nan"; a value that does
// not fit is refused, never wrapped or clamped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tooltext {

// Why a text was refused, for messages: "not a whole number",
// "out of range (0 to 65535)".
struct NumberRefusal {
  std::string why;
};

// A whole number from `low` to `high`: decimal digits with an optional
// leading '-', or 0x/0X and hexadecimal digits. nullopt (with `refusal`
// filled when given) otherwise.
[[nodiscard]] std::optional<int64_t> ParseInteger(std::string_view text, int64_t low, int64_t high,
                                                  NumberRefusal* refusal = nullptr);

// The same for unsigned values up to `high` (no sign at all).
[[nodiscard]] std::optional<uint64_t> ParseUnsigned(std::string_view text,
                                                    uint64_t high = UINT64_MAX,
                                                    NumberRefusal* refusal = nullptr);

// A measured value or a limit: decimal with an optional '-', fraction and
// exponent ("-3", "95.4e6"), or a whole hexadecimal number after 0x. The
// value must be finite.
[[nodiscard]] std::optional<double> ParseReal(std::string_view text,
                                              NumberRefusal* refusal = nullptr);

}  // namespace tooltext
