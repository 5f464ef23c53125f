// The block error rate: the share of blocks that arrived unusable, over
// every group so far and over the last `window` groups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace fmrrds {

class BlockErrorRate {
 public:
  static constexpr size_t kDefaultWindow = 100;

  explicit BlockErrorRate(size_t window = kDefaultWindow) : window_(window == 0 ? 1 : window) {}

  // One group with `lost` (0 to 4) unusable blocks.
  void Add(unsigned lost);

  uint64_t blocks() const { return 4 * groups_; }
  uint64_t lost_blocks() const { return lost_; }
  size_t window() const { return window_; }
  size_t recent_groups() const { return recent_.size(); }
  // Percentages; 0 before any group.
  double OverallPercent() const;
  double RecentPercent() const;

 private:
  size_t window_;
  uint64_t groups_ = 0;
  uint64_t lost_ = 0;
  std::deque<uint8_t> recent_;
  uint32_t recent_lost_ = 0;
};

}  // namespace fmrrds
