// Small pieces of reading and writing hexadecimal text lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fmrrds {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The blank-separated fields of a line: how many there are, and the first
// kKept of them (no layout has more), kept without allocating, since every
// input line is split.
class Tokens {
 public:
  static constexpr size_t kKept = 8;

  explicit Tokens(std::string_view line);

  [[nodiscard]] size_t size() const { return count_; }
  [[nodiscard]] bool empty() const { return count_ == 0; }
  // Field `i`, for i below kKept (empty beyond the fields there are).
  [[nodiscard]] std::string_view operator[](size_t i) const { return fields_[i]; }
  // The fields from the second on.
  void DropFirst();

 private:
  std::array<std::string_view, kKept> fields_{};
  size_t count_ = 0;
};
std::string_view WithoutHexPrefix(std::string_view token);
// Exactly `count` hexadecimal digits.
std::optional<uint16_t> HexValue(std::string_view digits, size_t count);

// The interchange line of one group: four blocks of four upper-case digits,
// "----" for a block that is not usable, after the time when there is one.
std::string HexGroupLine(const std::array<uint16_t, 4>& blocks, const std::array<bool, 4>& usable,
                         std::string_view time);

}  // namespace fmrrds
