// Conversions between control texts and parameter-block fields.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace gen1_panel {

// Text with "0x" anywhere and more than 2 characters: the characters from
// the third on as hexadecimal, at most `hex_count` digits; otherwise decimal.
uint32_t HexOrDecimalValue(const std::string& text, int8_t hex_count);

// "0x" and exactly `width` upper-case hexadecimal digits.
std::string HexText(uint32_t value, int8_t width);

// Copies the text into the start of the field, followed by a zero byte when
// it is shorter than the field; the bytes behind that zero stay as they are.
template <size_t N>
void StoreFieldText(std::array<char, N>& field, const std::string& text) {
  const size_t length = text.size() < N ? text.size() : N;
  std::memcpy(field.data(), text.data(), length);
  if (length < N) field[length] = '\0';
}

// The field as text, up to its first zero byte or its end.
template <size_t N>
std::string_view FieldText(const std::array<char, N>& field) {
  return std::string_view(field.data(), strnlen(field.data(), N));
}

}  // namespace gen1_panel
