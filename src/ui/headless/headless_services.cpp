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
  clock_.TimerChanged(timer);
}

void HeadlessServices::TimerDestroyed(Timer& timer) {
  clock_.Forget(timer);
}

void HeadlessServices::FormDestroyed(Form& form) {
  if (focused_ != nullptr && &focused_->form() == &form) focused_ = nullptr;
}

ShownMessages HeadlessServices::TakeMessages() {
  return messages_.Take();
}

void HeadlessServices::QueueFileAnswer(std::optional<std::string> path) {
  file_answers_.push_back(std::move(path));
}

}  // namespace ui
