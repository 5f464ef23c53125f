// Text forms of the AT command line the handset receives and of the value
// lists it answers with. A command is "at@" + module + ":" + name + "(" +
// arguments separated by "," + ")"; replies are lines of decimal values,
// laid out with braces, commas, blanks and line breaks as the firmware
// happens to print them (the reader on the other side ignores the layout).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fmrsim {

struct AtCommandLine {
  std::string module;                  // "audapp", "ver"
  std::string name;                    // "fmrx_set_band"
  std::vector<std::string> arguments;  // texts between the parentheses
};

// Splits one command line; nullopt when it does not have the form above.
// Braces inside the argument list are ignored, so array arguments written as
// "{1,2},{3,4}" arrive as four arguments.
std::optional<AtCommandLine> ParseAtCommand(std::string_view line);

// The name used to address a command in fault rules and logs: the command's
// name ("fmrx_enable"), or the whole line when it does not parse.
std::string AtCommandName(std::string_view line);

// Value types of command arguments.
enum class AtType { kU8, kU16, kS16, kU32, kS32 };

// Reads a decimal argument of the given type: optional "-" (signed types
// only), then digits and nothing else; nullopt outside the type's range.
std::optional<int64_t> ParseAtValue(std::string_view text, AtType type);

// "{v0,v1,...}"
std::string Braced(std::span<const int64_t> values);
// The values joined by `separator`.
std::string Joined(std::span<const int64_t> values, std::string_view separator);
// A braced list spread over several lines of `per_line` values each:
// "{v0, v1, ...," / " v10, v11, ...}".
std::vector<std::string> BracedOverLines(std::span<const int64_t> values, size_t per_line);

// A text as an array of character codes of `size` elements: the characters
// of `text` (cut to size - 1), then zeros.
std::vector<int64_t> CharCodes(std::string_view text, size_t size);

}  // namespace fmrsim
