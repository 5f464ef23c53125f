// Reads an AT reply the way the plug-in does (its own preprocessing: commas,
// braces and line breaks are blanks, carriage returns vanish); what remains
// is a list of decimal values.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "at_commands.h"
#include "gen2/at_reply.h"

namespace at_test {

// The values of a reply; nullopt when a word is not a decimal number.
inline std::optional<std::vector<int64_t>> ReplyValues(const fmrsim::AtReply& reply) {
  std::string text;
  for (const std::string& line : reply.lines) text += line + "\r\n";
  std::istringstream in(MANAGED_IF::PreprocessReply(text));
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

}  // namespace at_test
