// Module-wide host state: the host function table, the communication
// handle, the log callback and the values the host hands over. One instance
// per loaded library; the host calls everything on its UI thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "host/host_interface.h"

namespace ui {
class Application;
class Form;
}  // namespace ui

namespace host {

struct HostState {
  std::array<void*, kHostSlotCount> table{};
  ShowLineFunc show_line = nullptr;
  uint32_t com_handle = 0xFFFFFFFFu;
  void* get_interface = nullptr;
  // The library's own application object set aside when the host's object
  // was installed in its place; `swapped` tells whether that happened.
  void* saved_application = nullptr;
  bool swapped = false;
  ui::Form* current_panel = nullptr;
  // The reply of the last automation command, for a host that fetches it
  // again with a larger buffer.
  std::string last_automation_reply;
};

HostState& Host();

// The library's own application object (owner of every window).
ui::Application& OwnApplication();

// Resets the state as at process attach: no log callback, handle -1.
void HostAttach();
// Undoes the application swap, as at process detach.
void HostDetach();

// Hands one line to the host's log; dropped when the host gave no callback.
void ShowLine(const char* text, uint8_t flag);
inline void ShowLine(const std::string& text, uint8_t flag) {
  ShowLine(text.c_str(), flag);
}

// The address in a table slot, as the given function type (null when empty).
template <typename Func>
Func HostSlot(size_t slot) {
  return reinterpret_cast<Func>(Host().table[slot]);
}

}  // namespace host
