#include "text/strict_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tooltext {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool HasHexPrefix(std::string_view text) {
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

void Refuse(NumberRefusal* refusal, std::string why) {
  if (refusal != nullptr) refusal->why = std::move(why);
}

std::string Range(int64_t low, int64_t high) {
  return "out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")";
}

// The digits of a whole number, without its prefix, in `base`; false when
// anything else is there. `magnitude` is nullopt when it overflows.
bool Digits(std::string_view digits, int base, std::optional<uint64_t>& magnitude) {
  if (digits.empty()) return false;
  uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [last, ec] = std::from_chars(digits.data(), end, value, base);
  // from_chars stops at the first character that is not a digit of `base`;
  // a sign is never one (it is looked at before this).
  if (digits.front() == '-' || digits.front() == '+') return false;
  if (ec == std::errc::result_out_of_range) {
    // Still all digits? Then it is only too large.
    for (const char c : digits) {
      const bool digit =
          base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : IsDigit(c);
      if (!digit) return false;
    }
    magnitude.reset();
    return true;
  }
  if (ec != std::errc() || last != end) return false;
  magnitude = value;
  return true;
}

}  // namespace

std::optional<int64_t> ParseInteger(std::string_view text, int64_t low, int64_t high,
                                    NumberRefusal* refusal) {
  const bool negative = !text.empty() && text.front() == '-';
  std::string_view body = negative ? text.substr(1) : text;
  const bool hex = !negative && HasHexPrefix(body);
  if (hex) body.remove_prefix(2);
  std::optional<uint64_t> magnitude;
  if (!Digits(body, hex ? 16 : 10, magnitude)) {
    Refuse(refusal, "not a whole number");
    return std::nullopt;
  }
  constexpr uint64_t kMostNegative = uint64_t{1} << 63;
  if (!magnitude || *magnitude > (negative ? kMostNegative : kMostNegative - 1)) {
    Refuse(refusal, Range(low, high));
    return std::nullopt;
  }
  const int64_t value =
      negative ? static_cast<int64_t>(0 - *magnitude) : static_cast<int64_t>(*magnitude);
  if (value < low || value > high) {
    Refuse(refusal, Range(low, high));
    return std::nullopt;
  }
  return value;
}

std::optional<uint64_t> ParseUnsigned(std::string_view text, uint64_t high,
                                      NumberRefusal* refusal) {
  std::string_view body = text;
  const bool hex = HasHexPrefix(body);
  if (hex) body.remove_prefix(2);
  std::optional<uint64_t> magnitude;
  if (!Digits(body, hex ? 16 : 10, magnitude)) {
    Refuse(refusal, "not a whole number of 0 or more");
    return std::nullopt;
  }
  if (!magnitude || *magnitude > high) {
    Refuse(refusal, "out of range (0 to " + std::to_string(high) + ")");
    return std::nullopt;
  }
  return *magnitude;
}

std::optional<double> ParseReal(std::string_view text, NumberRefusal* refusal) {
  if (HasHexPrefix(text)) {
    std::optional<uint64_t> magnitude;
    if (!Digits(text.substr(2), 16, magnitude)) {
      Refuse(refusal, "not a number");
      return std::nullopt;
    }
    if (!magnitude) {
      Refuse(refusal, "too large");
      return std::nullopt;
    }
    return static_cast<double>(*magnitude);
  }
  // Only what a person writes for a decimal number: digits, one '-' in
  // front, a fraction, an exponent. from_chars would also take "inf", "nan"
  // and hexadecimal fractions.
  size_t i = text.starts_with('-') ? 1 : 0;
  size_t mantissa_digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
  }
  bool well_formed = mantissa_digits > 0;
  if (well_formed && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t exponent_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++exponent_digits;
    well_formed = exponent_digits > 0;
  }
  if (!well_formed || i != text.size()) {
    Refuse(refusal, "not a number");
    return std::nullopt;
  }
  double value = 0;
  const auto [last, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range || !std::isfinite(value)) {
    Refuse(refusal, "out of range for a number");
    return std::nullopt;
  }
  if (ec != std::errc() || last != text.data() + text.size()) {
    Refuse(refusal, "not a number");
    return std::nullopt;
  }
  return value;
}

}  // namespace tooltext
