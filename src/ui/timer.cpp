#include "ui/timer.h"

#include "ui/services.h"

namespace ui {

Timer::Timer(Form& form, std::string name, uint32_t interval_ms, bool enabled)
    : Component(form, std::move(name), Kind::kTimer), interval_(interval_ms), enabled_(enabled) {
  if (enabled_) services().TimerChanged(*this);
}

Timer::~Timer() {
  services().TimerDestroyed(*this);
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  services().TimerChanged(*this);
  Changed();
}

void Timer::SetInterval(uint32_t interval_ms) {
  interval_ = interval_ms;
  services().TimerChanged(*this);
  Changed();
}

void Timer::Fire() {
  if (enabled_) Raise(OnTimer);
}

}  // namespace ui
