#include "ui/services.h"

namespace ui {

void MessageRecord::Add(ShownMessage message) {
  if (kept_.size() < kLimit) {
    kept_.push_back(std::move(message));
    return;
  }
  kept_[first_] = std::move(message);
  first_ = (first_ + 1) % kLimit;
  ++dropped_;
}

ShownMessages MessageRecord::Take() {
  ShownMessages taken;
  taken.dropped = dropped_;
  taken.messages.reserve(kept_.size());
  for (size_t i = 0; i < kept_.size(); ++i) {
    taken.messages.push_back(std::move(kept_[(first_ + i) % kept_.size()]));
  }
  kept_ = {};
  first_ = 0;
  dropped_ = 0;
  return taken;
}

}  // namespace ui
