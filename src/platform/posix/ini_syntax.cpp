#include "platform/posix/ini_syntax.h"

#include <algorithm>
#include <cstdint>

namespace platform::ini {
namespace {

// The profile functions' blanks: the ASCII white space and ^Z.
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

size_t NameHash::operator()(std::string_view name) const {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : name) {
    hash ^= static_cast<unsigned char>(Lower(c));
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

Line ParseLine(std::string_view line) {
  const std::string_view text = Trim(line);
  if (text.empty()) return {};
  if (text.front() == ';') return {LineKind::kComment, {}, std::nullopt};
  if (text.front() == '[') {
    const size_t close = text.find(']');
    if (close != std::string_view::npos)
      return {LineKind::kSection, Trim(text.substr(1, close - 1)), std::nullopt};
  }
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {LineKind::kKey, text, std::nullopt};
  return {LineKind::kKey, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

bool LineReader::Next(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  if (!scanned_ || (next_cr_ != std::string_view::npos && next_cr_ < position_))
    next_cr_ = text_.find('\r', position_);
  if (!scanned_ || (next_lf_ != std::string_view::npos && next_lf_ < position_))
    next_lf_ = text_.find('\n', position_);
  scanned_ = true;

  const size_t end = std::min(next_cr_, next_lf_);
  if (end == std::string_view::npos) {
    line = text_.substr(position_);
    position_ = text_.size();
    return true;
  }
  line = text_.substr(position_, end - position_);
  const bool crlf = end == next_cr_ && end + 1 < text_.size() && text_[end + 1] == '\n';
  position_ = end + (crlf ? 2 : 1);
  return true;
}

}  // namespace platform::ini
