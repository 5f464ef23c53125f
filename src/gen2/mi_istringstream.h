// The reply reader: a text stream over one preprocessed AT reply that hands
// out decimal values of the AT value types and whitespace-delimited words.
// Once an extraction fails the stream stays failed, and every later
// extraction fails too and leaves its field as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace MANAGED_IF {

class mi_istringstream : public std::istringstream {
 public:
  explicit mi_istringstream(const std::string& text);

  // Each skips whitespace and reads an optional sign and decimal digits,
  // stopping at the first non-digit. Unsigned types take a leading "-" as
  // negation modulo 2^n; a value outside the type's range fails. A u8 is
  // read as a u32 and keeps its low 8 bits.
  void Extract(uint8_t& field);
  void Extract(uint16_t& field);
  void Extract(int16_t& field);
  void Extract(uint32_t& field);
  void Extract(int32_t& field);

  template <typename T, size_t N>
  void Extract(std::array<T, N>& fields) {
    for (T& field : fields) Extract(field);
  }

  // The next whitespace-delimited word; empty when there is none or the
  // stream has failed.
  std::string Word();

 private:
  template <typename T>
  void ExtractNumber(T& field);
};

}  // namespace MANAGED_IF
