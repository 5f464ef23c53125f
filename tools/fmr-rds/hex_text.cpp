#include "fmr-rds/hex_text.h"

namespace fmrrds {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Tokens::Tokens(std::string_view line) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i == start) continue;
    if (count_ < kKept) fields_[count_] = line.substr(start, i - start);
    ++count_;
  }
}

void Tokens::DropFirst() {
  if (count_ == 0) return;
  for (size_t i = 1; i < kKept; ++i) fields_[i - 1] = fields_[i];
  fields_[kKept - 1] = {};
  --count_;
}

std::string_view WithoutHexPrefix(std::string_view token) {
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
    return token.substr(2);
  return token;
}

std::optional<uint16_t> HexValue(std::string_view digits, size_t count) {
  if (digits.size() != count) return std::nullopt;
  uint16_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = static_cast<uint16_t>((value << 4) | d);
  }
  return value;
}

std::string HexGroupLine(const std::array<uint16_t, 4>& blocks, const std::array<bool, 4>& usable,
                         std::string_view time) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string line(time);
  for (size_t b = 0; b < 4; ++b) {
    if (!line.empty()) line += ' ';
    if (!usable[b]) {
      line += "----";
      continue;
    }
    for (int shift = 12; shift >= 0; shift -= 4) line += kDigits[(blocks[b] >> shift) & 0xF];
  }
  return line;
}

}  // namespace fmrrds
