// The Win32 backend of the component model: message boxes, the file-open
// dialog, focus, cursor and timers on the thread's message loop, and a
// native peer (an MDI child with native controls) for every shown form.
// Window handles appear here as void* so that users of this header need no
// system header.
#pragma once

#include <memory>

#include "ui/services.h"

namespace ui {

class Win32Services final : public Services {
 public:
  // Automated: the bench runs a script, so modal message boxes and file
  // dialogs must not wait for a person; message boxes are recorded instead
  // of shown, a file dialog without a queued answer is cancelled, and the
  // timers run on a virtual clock that only `Advance` moves.
  // The default comes from the environment (SONVIO_AUTOMATED=1).
  Win32Services();
  ~Win32Services() override;
  Win32Services(const Win32Services&) = delete;
  Win32Services& operator=(const Win32Services&) = delete;

  bool automated() const;
  void set_automated(bool automated);

  // The process is ending and its windows are gone with it: leave them
  // alone from now on.
  void Abandon();

  // The native window of a shown control (the edit of a labelled edit), or
  // null when it has none.
  void* NativeHandle(const Control& control) const;
  // The native window of one button of a radio group.
  void* NativeItemHandle(const Control& control, int index) const;

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
  std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                      const std::string& default_ext) override;
  void SetFocus(Control* control) override;
  Control* Focused() const override;
  void SetCursor(Cursor cursor) override;
  Cursor CurrentCursor() const override;
  void Sleep(uint32_t ms) override;
  uint64_t NowMs() const override;
  void TimerChanged(Timer& timer) override;
  void TimerDestroyed(Timer& timer) override;
  void FormShown(Form& form) override;
  void FormDestroyed(Form& form) override;
  // Runs the thread's message loop for `ms` (timers fire, windows paint).
  void Advance(uint32_t ms) override;
  ShownMessages TakeMessages() override;
  void QueueFileAnswer(std::optional<std::string> path) override;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
