// A timer component: OnTimer every interval while enabled. The backend owns
// the schedule; a handler may disable and re-enable its own timer.
#pragma once

#include <cstdint>

#include "ui/component.h"

namespace ui {

class Timer : public Component {
 public:
  Timer(Form& form, std::string name, uint32_t interval_ms, bool enabled = false);
  ~Timer() override;

  bool enabled() const { return enabled_; }
  // Enabling (again) restarts the interval from now.
  void SetEnabled(bool enabled);
  uint32_t interval() const { return interval_; }
  void SetInterval(uint32_t interval_ms);

  // Called by the backend when the interval has elapsed.
  void Fire();

  void Describe(StateWriter& out) const override;

  Handler OnTimer;

 private:
  uint32_t interval_;
  bool enabled_;
};

}  // namespace ui
