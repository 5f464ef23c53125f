// The reply reader: reads one AT reply as the preprocessed text the decoder
// works on (",", "{", "}" and line feeds are blanks, carriage returns are
// not there at all), handing out decimal values of the AT value types and
// whitespace-delimited words, with the extraction rules of a standard input
// string stream. It reads the reply in place, so decoding copies nothing.
// Once an extraction fails the reader stays failed, and every later
// extraction fails too and leaves its field as it was.
//
// Extraction is inline: a record of a few hundred values is read in one
// pass over the text, without a call per value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace MANAGED_IF {

namespace reply_text {

// What each byte is to the reader. Carriage returns are skipped wherever
// they stand, as if preprocessing had removed them.
enum class CharClass : uint8_t { kOther, kBlank, kDigit, kReturn };

constexpr std::array<CharClass, 256> MakeClasses() {
  std::array<CharClass, 256> classes{};
  for (const char c : {' ', '\t', '\n', '\v', '\f', ',', '{', '}'}) {
    classes[static_cast<unsigned char>(c)] = CharClass::kBlank;
  }
  for (char c = '0'; c <= '9'; ++c) classes[static_cast<unsigned char>(c)] = CharClass::kDigit;
  classes['\r'] = CharClass::kReturn;
  return classes;
}

inline constexpr std::array<CharClass, 256> kClasses = MakeClasses();

}  // namespace reply_text

class mi_istringstream {
 public:
  // `text` must outlive the reader.
  explicit mi_istringstream(std::string_view text)
      : pos_(text.data()), end_(text.data() + text.size()) {}

  // Each skips whitespace and reads an optional sign and decimal digits,
  // stopping at the first non-digit. Unsigned types take a leading "-" as
  // negation modulo 2^n; a value outside the type's range fails. A u8 is
  // read as a u32 and keeps its low 8 bits.
  void Extract(uint8_t& field) {
    uint32_t wide = 0;
    ExtractUnsigned(wide);
    if (!failed_) field = static_cast<uint8_t>(wide & 0xFFu);
  }
  void Extract(uint16_t& field) { ExtractUnsigned(field); }
  void Extract(int16_t& field) { ExtractSigned(field); }
  void Extract(uint32_t& field) { ExtractUnsigned(field); }
  void Extract(int32_t& field) { ExtractSigned(field); }

  template <typename T, size_t N>
  void Extract(std::array<T, N>& fields) {
    for (T& field : fields) Extract(field);
  }

  // The next whitespace-delimited word; empty when there is none or the
  // reader has failed.
  std::string Word();

  bool fail() const { return failed_; }

 private:
  using CharClass = reply_text::CharClass;
  static CharClass ClassOf(char c) { return reply_text::kClasses[static_cast<unsigned char>(c)]; }

  // Skips blanks and carriage returns; false at the end of the text.
  bool SkipBlanks() {
    while (pos_ != end_) {
      const CharClass c = ClassOf(*pos_);
      if (c != CharClass::kBlank && c != CharClass::kReturn) return true;
      ++pos_;
    }
    return false;
  }

  // Reads a sign and digits: the magnitude, up to `kLimit`; false (and
  // failed) for no digits or a magnitude beyond the limit. The digits run
  // to the first byte that is neither a digit nor a carriage return.
  template <uint64_t kLimit>
  bool ReadMagnitude(bool& negative, uint64_t& magnitude) {
    if (failed_ || !SkipBlanks()) {
      failed_ = true;
      return false;
    }
    negative = *pos_ == '-';
    if (negative || *pos_ == '+') ++pos_;
    constexpr uint64_t kTenth = kLimit / 10;
    constexpr uint64_t kLastDigit = kLimit % 10;
    uint64_t value = 0;
    bool digits = false;
    bool overflow = false;
    for (; pos_ != end_; ++pos_) {
      const CharClass c = ClassOf(*pos_);
      if (c != CharClass::kDigit) {
        if (c == CharClass::kReturn) continue;
        break;
      }
      digits = true;
      const auto digit = static_cast<uint64_t>(*pos_ - '0');
      if (value > kTenth || (value == kTenth && digit > kLastDigit)) overflow = true;
      if (!overflow) value = value * 10 + digit;
    }
    if (!digits || overflow) {
      failed_ = true;
      return false;
    }
    magnitude = value;
    return true;
  }

  template <typename T>
  void ExtractUnsigned(T& field) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ReadMagnitude<std::numeric_limits<T>::max()>(negative, magnitude)) return;
    const auto value = static_cast<T>(magnitude);
    field = negative ? static_cast<T>(T{0} - value) : value;
  }

  // Signed fields are read as a 64-bit value, then checked against the
  // field's range, as the stream reads them.
  template <typename T>
  void ExtractSigned(T& field) {
    constexpr auto kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ReadMagnitude<kMax + 1>(negative, magnitude)) return;
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

  const char* pos_;
  const char* end_;
  bool failed_ = false;
};

}  // namespace MANAGED_IF
