// Time that moves only when told to, and the timers that run on it. Under
// automation every backend keeps the panel's timers here, so `advance MS`
// fires exactly the ticks that fall due within MS, in the same order on
// every platform, however fast the machine is.
#pragma once

#include <cstdint>
#include <map>

#include "ui/timer.h"

namespace ui {

class VirtualClock {
 public:
  uint64_t now() const { return now_; }

  // A timer enabled (again) or given a new interval starts its interval
  // from now; a disabled or destroyed one leaves the schedule.
  void TimerChanged(Timer& timer);
  void Forget(Timer& timer);

  // Time passes without any timer firing (a pause inside a handler).
  void Sleep(uint32_t ms) { now_ += ms; }

  // Fires every timer that falls due within the next `ms`, in time order
  // (timers due at the same moment in the order they were scheduled).
  // `between` runs before each tick: a window system paints there.
  template <typename Between>
  void Advance(uint32_t ms, Between between) {
    const uint64_t target = now_ + ms;
    while (Timer* timer = NextDue(target)) {
      between();
      timer->Fire();
    }
    if (target > now_) now_ = target;
  }
  void Advance(uint32_t ms) {
    Advance(ms, [] {});
  }

 private:
  struct Schedule {
    uint64_t due;
    uint64_t order;
  };
  // The next timer due at or before `target`, rescheduled for its next
  // tick and with the clock moved to its time; null when none is due.
  Timer* NextDue(uint64_t target);

  uint64_t now_ = 0;
  uint64_t next_order_ = 0;
  std::map<Timer*, Schedule> timers_;
};

}  // namespace ui
