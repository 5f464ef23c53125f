#include "text/unit_set.h"

#include <algorithm>

#include "text/utf8_unit.h"

namespace tooltext {

UnitSet UnitSet::Range(uint32_t first, uint32_t last) {
  UnitSet set;
  set.ranges_.push_back({first, last});
  set.Normalize();
  return set;
}

UnitSet UnitSet::Digit() {
  return Range('0', '9');
}

UnitSet UnitSet::Word() {
  UnitSet set = Range('0', '9');
  set.Add(Range('A', 'Z'));
  set.Add(Of('_'));
  set.Add(Range('a', 'z'));
  return set;
}

UnitSet UnitSet::Space() {
  UnitSet set = Range('\t', '\r');  // tab, line feed, vertical tab, form feed, carriage return
  set.Add(Of(' '));
  return set;
}

UnitSet UnitSet::AnyButLineFeed() {
  return Of('\n').Complement();
}

void UnitSet::Add(const UnitSet& other) {
  ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
  Normalize();
}

UnitSet UnitSet::Complement() const {
  UnitSet out;
  uint32_t next = 0;
  for (const UnitRange& range : ranges_) {
    if (range.first > next) out.ranges_.push_back({next, range.first - 1});
    next = range.last + 1;
  }
  if (next < kUnitLimit) out.ranges_.push_back({next, kUnitLimit - 1});
  out.Normalize();
  return out;
}

std::optional<uint32_t> UnitSet::Single() const {
  if (ranges_.size() != 1 || ranges_[0].first != ranges_[0].last) return std::nullopt;
  return ranges_[0].first;
}

void UnitSet::Normalize() {
  std::sort(ranges_.begin(), ranges_.end(),
            [](const UnitRange& a, const UnitRange& b) { return a.first < b.first; });
  std::vector<UnitRange> merged;
  for (const UnitRange& range : ranges_) {
    if (!merged.empty() && range.first <= merged.back().last + 1) {
      merged.back().last = std::max(merged.back().last, range.last);
    } else {
      merged.push_back(range);
    }
  }
  ranges_ = std::move(merged);
  ascii_ = {};
  for (const UnitRange& range : ranges_) {
    for (uint32_t unit = range.first; unit <= range.last && unit < 128; ++unit) {
      ascii_[unit >> 6] |= uint64_t{1} << (unit & 63);
    }
  }
}

}  // namespace tooltext
