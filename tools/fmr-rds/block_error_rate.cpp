#include "fmr-rds/block_error_rate.h"

namespace fmrrds {

void BlockErrorRate::Add(unsigned lost) {
  const auto blocks = static_cast<uint8_t>(lost > 4 ? 4 : lost);
  ++groups_;
  lost_ += blocks;
  recent_.push_back(blocks);
  recent_lost_ += blocks;
  if (recent_.size() > window_) {
    recent_lost_ -= recent_.front();
    recent_.pop_front();
  }
}

double BlockErrorRate::OverallPercent() const {
  return groups_ == 0 ? 0.0 : 100.0 * static_cast<double>(lost_) / static_cast<double>(4 * groups_);
}

double BlockErrorRate::RecentPercent() const {
  return recent_.empty() ? 0.0 : 100.0 * recent_lost_ / static_cast<double>(4 * recent_.size());
}

}  // namespace fmrrds
