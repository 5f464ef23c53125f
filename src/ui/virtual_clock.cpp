#include "ui/virtual_clock.h"

namespace ui {

void VirtualClock::TimerChanged(Timer& timer) {
  if (timer.enabled() && timer.interval() > 0) {
    timers_[&timer] = Schedule{now_ + timer.interval(), next_order_++};
  } else {
    timers_.erase(&timer);
  }
}

void VirtualClock::Forget(Timer& timer) {
  timers_.erase(&timer);
}

Timer* VirtualClock::NextDue(uint64_t target) {
  auto next = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due > target) continue;
    if (next == timers_.end() || it->second.due < next->second.due ||
        (it->second.due == next->second.due && it->second.order < next->second.order))
      next = it;
  }
  if (next == timers_.end()) return nullptr;
  if (next->second.due > now_) now_ = next->second.due;
  // The next tick is scheduled before this one fires; a handler that
  // disables or re-enables its timer replaces this schedule.
  next->second = Schedule{now_ + next->first->interval(), next_order_++};
  return next->first;
}

}  // namespace ui
