#include <algorithm>
#include <cstring>
#include <string>

#include "host/exports.h"
#include "host/host_state.h"
#include "ui/automation.h"

extern "C" int32_t SonvioAutomate(const char* command, char* reply, int32_t capacity) {
  ui::Form* panel = Host().current_panel;
  if (panel == nullptr) return -1;
  const std::string text = RunAutomation(*panel, command != nullptr ? command : "");
  if (reply != nullptr && capacity > 0) {
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    std::memcpy(reply, text.data(), n);
    reply[n] = '\0';
  }
  return static_cast<int32_t>(text.size());
}
