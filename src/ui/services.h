// What the component model needs from a window system: message boxes, the
// file-open dialog, input focus, the mouse cursor, the clock and timers. The
// headless backend implements it with a virtual clock; the Win32 backend with
// native windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class Control;
class Form;
class Timer;

enum class MessageIcon { kNone, kInformation, kWarning, kError };
enum class Cursor { kDefault, kHourGlass };

struct ShownMessage {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::kNone;
};

// The message boxes shown since they were last taken, and how many older
// ones were dropped because nobody took them in time.
struct ShownMessages {
  std::vector<ShownMessage> messages;
  size_t dropped = 0;
};

// Message boxes kept for a host that reads them later: at most kLimit, the
// oldest dropped (and counted) first, so a host that never reads them does
// not make the plug-in grow.
class MessageRecord {
 public:
  static constexpr size_t kLimit = 1000;
  void Add(ShownMessage message);
  ShownMessages Take();

 private:
  std::vector<ShownMessage> kept_;  // a ring of kLimit once full
  size_t first_ = 0;                // index of the oldest once full
  size_t dropped_ = 0;
};

class Services {
 public:
  virtual ~Services() = default;

  // A modal message box without owner window.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // The file-open dialog; the chosen path, or nullopt when cancelled.
  virtual std::optional<std::string> OpenFile(const std::string& title, const std::string& filter,
                                              const std::string& default_ext) = 0;

  virtual void SetFocus(Control* control) = 0;
  virtual Control* Focused() const = 0;

  virtual void SetCursor(Cursor cursor) = 0;
  virtual Cursor CurrentCursor() const = 0;

  // Blocks the user-interface thread: time passes, no timer fires.
  virtual void Sleep(uint32_t ms) = 0;
  virtual uint64_t NowMs() const = 0;

  // A timer's enabled state, interval or handler changed; it restarts its
  // interval from now when enabled.
  virtual void TimerChanged(Timer& timer) = 0;
  virtual void TimerDestroyed(Timer& timer) = 0;

  // A form was shown, or is about to be destroyed (native windows follow).
  virtual void FormShown(Form& form) = 0;
  virtual void FormDestroyed(Form& form) = 0;

  // Automation: let time pass with the user-interface thread idle (timers
  // fire), collect the message boxes shown since the last call, and queue the
  // answer of the next file-open dialog.
  virtual void Advance(uint32_t ms) = 0;
  virtual ShownMessages TakeMessages() = 0;
  virtual void QueueFileAnswer(std::optional<std::string> path) = 0;
};

}  // namespace ui
