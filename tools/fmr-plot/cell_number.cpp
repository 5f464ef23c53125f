#include "fmr-plot/cell_number.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace fmrplot {
namespace {

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

size_t Digits(std::string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && Digit(text[end])) ++end;
  return end - at;
}

// Whether `text` (its sign taken off) spells infinity or not-a-number in
// any case, as the C library reads them.
bool NotFiniteWord(std::string_view text) {
  std::string lower;
  for (const char c : text) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return lower == "inf" || lower == "infinity" || lower == "nan" ||
         (lower.starts_with("nan(") && lower.ends_with(")"));
}

}  // namespace

CellNumber ReadCellNumber(std::string_view cell) {
  std::string_view body = cell;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
  if (NotFiniteWord(body)) return {CellKind::kNotFinite, 0};
  // digits [. digits] | . digits, then an optional exponent
  size_t at = Digits(body, 0);
  size_t mantissa = at;
  if (at < body.size() && body[at] == '.') {
    const size_t fraction = Digits(body, at + 1);
    mantissa += fraction;
    at += 1 + fraction;
  }
  if (mantissa == 0) return {};
  if (at < body.size() && (body[at] == 'e' || body[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < body.size() && (body[exponent] == '-' || body[exponent] == '+')) ++exponent;
    const size_t digits = Digits(body, exponent);
    if (digits == 0) return {};
    at = exponent + digits;
  }
  if (at != body.size()) return {};
  // The grammar above is a subset of what strtod reads in the C locale,
  // which the tools never leave; overflow gives HUGE_VAL.
  const std::string text(cell);
  const double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) return {CellKind::kNotFinite, 0};
  return {CellKind::kNumber, value};
}

}  // namespace fmrplot
