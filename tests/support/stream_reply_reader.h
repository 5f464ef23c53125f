// The reply reader as the decoding rules state it, word for word: a copy
// of the reply with ",", "{", "}" and line feeds turned into blanks and
// carriage returns removed, read by a standard input string stream. Tests
// compare the command set's own reader with it, and a benchmark measures
// against it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <sstream>
#include <string>

namespace reference {

inline std::string PreprocessReply(std::string text) {
  for (char& c : text) {
    if (c == ',' || c == '{' || c == '}' || c == '\n') c = ' ';
  }
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

class StreamReplyReader : public std::istringstream {
 public:
  explicit StreamReplyReader(const std::string& reply)
      : std::istringstream(PreprocessReply(reply)) {}

  template <typename T>
  void Extract(T& field) {
    T value{};
    if (static_cast<std::istream&>(*this) >> value) field = value;
  }
  void Extract(uint8_t& field) {
    uint32_t wide = 0;
    Extract(wide);
    if (!fail()) field = static_cast<uint8_t>(wide & 0xFFu);
  }
  template <typename T, size_t N>
  void Extract(std::array<T, N>& fields) {
    for (T& field : fields) Extract(field);
  }
  std::string Word() {
    std::string word;
    if (!(static_cast<std::istream&>(*this) >> word)) word.clear();
    return word;
  }
};

}  // namespace reference
