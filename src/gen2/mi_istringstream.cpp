#include "gen2/mi_istringstream.h"

#include <limits>

namespace MANAGED_IF {
namespace {

// Blanks of the preprocessed text: the standard stream's white space (its
// carriage return is gone) and the characters preprocessing turns into
// blanks.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == ',' || c == '{' ||
         c == '}';
}

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool mi_istringstream::SkipBlanks() {
  while (pos_ < text_.size() && (IsBlank(text_[pos_]) || text_[pos_] == '\r')) ++pos_;
  return pos_ < text_.size();
}

bool mi_istringstream::ReadMagnitude(uint64_t limit, bool& negative, uint64_t& magnitude) {
  if (failed_ || !SkipBlanks()) {
    failed_ = true;
    return false;
  }
  negative = false;
  if (text_[pos_] == '-' || text_[pos_] == '+') negative = text_[pos_++] == '-';
  magnitude = 0;
  bool digits = false;
  bool overflow = false;
  for (; pos_ < text_.size(); ++pos_) {
    const char c = text_[pos_];
    if (c == '\r') continue;  // not part of the preprocessed text
    if (!IsDigit(c)) break;
    digits = true;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (magnitude > (limit - digit) / 10) overflow = true;
    if (!overflow) magnitude = magnitude * 10 + digit;
  }
  if (!digits || overflow) failed_ = true;
  return !failed_;
}

template <typename T>
void mi_istringstream::ExtractUnsigned(T& field) {
  bool negative = false;
  uint64_t magnitude = 0;
  if (!ReadMagnitude(std::numeric_limits<T>::max(), negative, magnitude)) return;
  const auto value = static_cast<T>(magnitude);
  field = negative ? static_cast<T>(T{0} - value) : value;
}

// Signed fields are read as a 64-bit value, then checked against the
// field's range, as the stream reads them.
template <typename T>
void mi_istringstream::ExtractSigned(T& field) {
  bool negative = false;
  uint64_t magnitude = 0;
  constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (!ReadMagnitude(kMax + 1, negative, magnitude)) return;
  if (!negative && magnitude > kMax) {
    failed_ = true;
    return;
  }
  const int64_t value =
      negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
    failed_ = true;
    return;
  }
  field = static_cast<T>(value);
}

void mi_istringstream::Extract(uint8_t& field) {
  uint32_t wide = 0;
  ExtractUnsigned(wide);
  if (!failed_) field = static_cast<uint8_t>(wide & 0xFFu);
}

void mi_istringstream::Extract(uint16_t& field) {
  ExtractUnsigned(field);
}
void mi_istringstream::Extract(int16_t& field) {
  ExtractSigned(field);
}
void mi_istringstream::Extract(uint32_t& field) {
  ExtractUnsigned(field);
}
void mi_istringstream::Extract(int32_t& field) {
  ExtractSigned(field);
}

std::string mi_istringstream::Word() {
  std::string word;
  if (failed_ || !SkipBlanks()) {
    failed_ = true;
    return word;
  }
  for (; pos_ < text_.size() && !IsBlank(text_[pos_]); ++pos_) {
    if (text_[pos_] != '\r') word += text_[pos_];
  }
  return word;
}

}  // namespace MANAGED_IF
