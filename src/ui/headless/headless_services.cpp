#include "ui/headless/headless_services.h"

#include "ui/form.h"
#include "ui/timer.h"

namespace ui {

void HeadlessServices::ShowMessage(const std::string& text, const std::string& caption,
                                   MessageIcon icon) {
  messages_.Add(ShownMessage{caption, text, icon});
}

std::optional<std::string> HeadlessServices::OpenFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& default_ext) {
  last_file_dialog_ = {title, filter, default_ext};
  if (file_answers_.empty()) return std::nullopt;  // nobody there to pick: cancelled
  std::optional<std::string> answer = std::move(file_answers_.front());
  file_answers_.pop_front();
  return answer;
}

void HeadlessServices::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  ++cursor_changes_;
}

void HeadlessServices::TimerChanged(Timer& timer) {
  if (timer.enabled() && timer.interval() > 0) {
    timers_[&timer] = Schedule{now_ + timer.interval(), next_order_++};
  } else {
    timers_.erase(&timer);
  }
}

void HeadlessServices::TimerDestroyed(Timer& timer) {
  timers_.erase(&timer);
}

void HeadlessServices::FormDestroyed(Form& form) {
  if (focused_ != nullptr && &focused_->form() == &form) focused_ = nullptr;
}

void HeadlessServices::Advance(uint32_t ms) {
  const uint64_t target = now_ + ms;
  for (;;) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due > target) continue;
      if (next == timers_.end() || it->second.due < next->second.due ||
          (it->second.due == next->second.due && it->second.order < next->second.order))
        next = it;
    }
    if (next == timers_.end()) break;
    Timer* timer = next->first;
    if (next->second.due > now_) now_ = next->second.due;
    // Schedule the next tick before firing; a handler that disables or
    // re-enables its timer replaces this schedule.
    next->second = Schedule{now_ + timer->interval(), next_order_++};
    timer->Fire();
  }
  if (target > now_) now_ = target;
}

ShownMessages HeadlessServices::TakeMessages() {
  return messages_.Take();
}

void HeadlessServices::QueueFileAnswer(std::optional<std::string> path) {
  file_answers_.push_back(std::move(path));
}

}  // namespace ui
