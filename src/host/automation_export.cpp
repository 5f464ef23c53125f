#include <algorithm>
#include <cstring>
#include <string>

#include "host/export_guard.h"
#include "host/exports.h"
#include "host/host_state.h"
#include "ui/automation.h"

// A null command runs nothing and hands out the last reply again, so a host
// whose buffer was too small fetches the whole reply without running the
// command twice. A command that fails inside leaves an empty reply and
// returns -1, as when there is no panel.
extern "C" int32_t SonvioAutomate(const char* command, char* reply, int32_t capacity) noexcept {
  if (reply != nullptr && capacity > 0) reply[0] = '\0';
  return host::GuardExport("SonvioAutomate", -1, [&]() -> int32_t {
    ui::Form* panel = host::Host().current_panel;
    if (panel == nullptr) return -1;
    std::string& text = host::Host().last_automation_reply;
    if (command != nullptr) text = ui::RunAutomation(*panel, command);
    if (reply != nullptr && capacity > 0) {
      const size_t n = std::min(text.size(), static_cast<size_t>(capacity) - 1);
      std::memcpy(reply, text.data(), n);
      reply[n] = '\0';
    }
    return static_cast<int32_t>(text.size());
  });
}
