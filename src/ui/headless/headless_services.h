// Window-system services without a window system: message boxes are
// recorded, file dialogs are answered from a queue, and time is a virtual
// clock that only moves when told to.
#pragma once

#include <deque>

#include "ui/services.h"
#include "ui/virtual_clock.h"

namespace ui {

class HeadlessServices final : public Services {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                      const std::string& default_ext) override;
  void SetFocus(Control* control) override { focused_ = control; }
  Control* Focused() const override { return focused_; }
  void SetCursor(Cursor cursor) override;
  Cursor CurrentCursor() const override { return cursor_; }
  void Sleep(uint32_t ms) override { clock_.Sleep(ms); }
  uint64_t NowMs() const override { return clock_.now(); }
  void TimerChanged(Timer& timer) override;
  void TimerDestroyed(Timer& timer) override;
  void FormShown(Form&) override {}
  void FormDestroyed(Form& form) override;
  void Advance(uint32_t ms) override { clock_.Advance(ms); }
  ShownMessages TakeMessages() override;
  void QueueFileAnswer(std::optional<std::string> path) override;

  // For tests: how often the cursor was set, and the last file dialog
  // shown. Nothing more is kept, so a long session does not grow.
  size_t cursor_changes() const { return cursor_changes_; }
  struct DialogRequest {
    std::string title;
    std::string filter;
    std::string default_ext;
  };
  const DialogRequest& last_file_dialog() const { return last_file_dialog_; }

 private:
  VirtualClock clock_;
  Control* focused_ = nullptr;
  Cursor cursor_ = Cursor::kDefault;
  size_t cursor_changes_ = 0;
  MessageRecord messages_;
  std::deque<std::optional<std::string>> file_answers_;
  DialogRequest last_file_dialog_;
};

}  // namespace ui
