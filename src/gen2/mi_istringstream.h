// The reply reader: reads one AT reply as the preprocessed text the decoder
// works on (",", "{", "}" and line feeds are blanks, carriage returns are
// not there at all), handing out decimal values of the AT value types and
// whitespace-delimited words, with the extraction rules of a standard input
// string stream. It reads the reply in place, so decoding copies nothing.
// Once an extraction fails the reader stays failed, and every later
// extraction fails too and leaves its field as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace MANAGED_IF {

class mi_istringstream {
 public:
  // `text` must outlive the reader.
  explicit mi_istringstream(std::string_view text) : text_(text) {}

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
  // reader has failed.
  std::string Word();

  bool fail() const { return failed_; }

 private:
  // Skips blanks (and carriage returns); false at the end of the text.
  bool SkipBlanks();
  // Reads a sign and digits: the magnitude, up to `limit`; false (and
  // failed) for no digits or a magnitude beyond the limit.
  bool ReadMagnitude(uint64_t limit, bool& negative, uint64_t& magnitude);
  template <typename T>
  void ExtractUnsigned(T& field);
  template <typename T>
  void ExtractSigned(T& field);

  std::string_view text_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace MANAGED_IF
