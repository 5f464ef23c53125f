// State of the Win32 backend, shared by the services and the form peers.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <memory>

#include "ui/virtual_clock.h"
#include "ui/win32/win32_services.h"

namespace ui {

class FormPeer;

struct Win32Services::Impl {
  Impl();
  ~Impl();

  // Registers the window classes and creates the font and the timer
  // window on first use, so constructing the services costs nothing.
  bool EnsureNative();
  FormPeer* PeerOf(const Form& form) const;
  // Drops a form's native peer (its window was closed or destroyed).
  void DropPeer(Form& form);
  void FireTimer(UINT_PTR id);
  // Stops a timer's native schedule, if it has one.
  void KillNativeTimer(const Timer& timer);
  // Dispatches the thread's pending messages; false when the frame asked
  // to quit (the request is left for the host's own loop).
  bool PumpMessages();

  HINSTANCE instance = nullptr;
  bool native_ready = false;
  bool automated = false;
  bool abandoned = false;
  // Draws the controls' texts (the layout measures them with the table of
  // ui/dialog_font.h, taken from this font under Wine).
  HFONT font = nullptr;
  HWND timer_window = nullptr;
  // Under automation the timers run on the virtual clock, so a script sees
  // the same ticks on every machine; otherwise on the window system's.
  VirtualClock clock;
  std::map<UINT_PTR, Timer*> timers;
  std::map<const Timer*, UINT_PTR> timer_ids;
  UINT_PTR next_timer_id = 1;
  std::map<const Form*, std::unique_ptr<FormPeer>> peers;
  MessageRecord pending_messages;
  std::deque<std::optional<std::string>> file_answers;
  Cursor cursor = Cursor::kDefault;
  Control* focused = nullptr;
};

}  // namespace ui
