// A set of units (code points and stray bytes, see utf8_unit.h): what one
// position of a pattern accepts, as `[a-z]`, `\d`, `.` or a literal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tooltext {

struct UnitRange {
  uint32_t first = 0;
  uint32_t last = 0;  // inclusive
  friend bool operator==(const UnitRange&, const UnitRange&) = default;
};

class UnitSet {
 public:
  [[nodiscard]] static UnitSet Of(uint32_t unit) { return Range(unit, unit); }
  [[nodiscard]] static UnitSet Range(uint32_t first, uint32_t last);
  // \d, \w and \s in their ASCII meanings; `.`: every unit but line feed.
  [[nodiscard]] static UnitSet Digit();
  [[nodiscard]] static UnitSet Word();
  [[nodiscard]] static UnitSet Space();
  [[nodiscard]] static UnitSet AnyButLineFeed();

  void Add(const UnitSet& other);
  // Everything else within the unit universe, stray bytes included.
  [[nodiscard]] UnitSet Complement() const;

  [[nodiscard]] bool Contains(uint32_t unit) const {
    if (unit < 128) return ((ascii_[unit >> 6] >> (unit & 63)) & 1) != 0;
    for (const UnitRange& range : ranges_) {
      if (unit < range.first) return false;
      if (unit <= range.last) return true;
    }
    return false;
  }
  // The one unit of a set that holds exactly one.
  [[nodiscard]] std::optional<uint32_t> Single() const;
  // Sorted, disjoint and never adjacent.
  [[nodiscard]] const std::vector<UnitRange>& ranges() const { return ranges_; }

 private:
  void Normalize();

  std::vector<UnitRange> ranges_;
  std::array<uint64_t, 2> ascii_{};  // the ASCII members as bits, for the common case
};

}  // namespace tooltext
