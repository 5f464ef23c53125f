#include "fmr-sim/gen2/at_syntax.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace fmrsim {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

struct Range {
  int64_t low;
  int64_t high;
};

Range RangeOf(AtType type) {
  switch (type) {
    case AtType::kU8:
      return {0, std::numeric_limits<uint8_t>::max()};
    case AtType::kU16:
      return {0, std::numeric_limits<uint16_t>::max()};
    case AtType::kS16:
      return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
    case AtType::kU32:
      return {0, std::numeric_limits<uint32_t>::max()};
    case AtType::kS32:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
  }
  return {0, 0};
}

}  // namespace

std::optional<AtCommandLine> ParseAtCommand(std::string_view line) {
  if (!StartsWithNoCase(line, "at@")) return std::nullopt;
  line.remove_prefix(3);
  const size_t colon = line.find(':');
  const size_t open = line.find('(');
  if (colon == std::string_view::npos || open == std::string_view::npos || open < colon)
    return std::nullopt;
  if (line.empty() || line.back() != ')') return std::nullopt;

  AtCommandLine out;
  out.module = std::string(line.substr(0, colon));
  out.name = std::string(line.substr(colon + 1, open - colon - 1));
  if (out.module.empty() || out.name.empty()) return std::nullopt;
  for (char c : out.module + out.name) {
    if (!IsNameChar(c)) return std::nullopt;
  }

  std::string inner;
  for (char c : line.substr(open + 1, line.size() - open - 2)) {
    if (c == '(' || c == ')') return std::nullopt;
    if (c != '{' && c != '}') inner += c;
  }
  if (inner.empty()) return out;
  size_t start = 0;
  while (true) {
    const size_t comma = inner.find(',', start);
    out.arguments.push_back(inner.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

std::string AtCommandName(std::string_view line) {
  if (auto parsed = ParseAtCommand(line)) return parsed->name;
  return std::string(line);
}

std::optional<int64_t> ParseAtValue(std::string_view text, AtType type) {
  const Range range = RangeOf(type);
  if (text.empty()) return std::nullopt;
  if (text.front() == '-' && range.low >= 0) return std::nullopt;
  if (text.front() == '+') return std::nullopt;
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  if (value < range.low || value > range.high) return std::nullopt;
  return value;
}

std::string Joined(std::span<const int64_t> values, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += separator;
    out += std::to_string(values[i]);
  }
  return out;
}

std::string Braced(std::span<const int64_t> values) {
  return "{" + Joined(values, ",") + "}";
}

std::vector<std::string> BracedOverLines(std::span<const int64_t> values, size_t per_line) {
  if (values.empty()) return {"{}"};
  if (per_line == 0) per_line = values.size();
  std::vector<std::string> lines;
  for (size_t start = 0; start < values.size(); start += per_line) {
    const size_t count = std::min(per_line, values.size() - start);
    std::string line = start == 0 ? "{" : " ";
    line += Joined(values.subspan(start, count), ", ");
    line += start + count >= values.size() ? "}" : ",";
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<int64_t> CharCodes(std::string_view text, size_t size) {
  std::vector<int64_t> codes(size, 0);
  const size_t n = size == 0 ? 0 : std::min(text.size(), size - 1);
  for (size_t i = 0; i < n; ++i) codes[i] = static_cast<uint8_t>(text[i]);
  return codes;
}

}  // namespace fmrsim
