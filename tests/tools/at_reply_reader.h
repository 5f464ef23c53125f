// Reads an AT reply the way the plug-in does: commas, braces and line
// breaks are blanks, carriage returns vanish, and what remains is a list of
// decimal values.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "at_commands.h"

namespace at_test {

// The values of a reply; nullopt when a word is not a decimal number.
inline std::optional<std::vector<int64_t>> ReplyValues(const fmrsim::AtReply& reply) {
  std::string text;
  for (const std::string& line : reply.lines) text += line + "\r\n";
  std::string cleaned;
  for (char c : text) {
    if (c == '\r') continue;
    cleaned += (c == ',' || c == '{' || c == '}' || c == '\n') ? ' ' : c;
  }
  std::istringstream in(cleaned);
  std::vector<int64_t> values;
  std::string word;
  while (in >> word) {
    size_t used = 0;
    try {
      values.push_back(std::stoll(word, &used));
    } catch (...) {
      return std::nullopt;
    }
    if (used != word.size()) return std::nullopt;
  }
  return values;
}

// The text held by an array of character codes (up to the first 0).
inline std::string CharText(const std::vector<int64_t>& values, size_t first, size_t size) {
  std::string text;
  for (size_t i = first; i < first + size && values[i] != 0; ++i)
    text += static_cast<char>(values[i]);
  return text;
}

}  // namespace at_test
