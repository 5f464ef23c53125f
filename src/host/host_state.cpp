#include "host/host_state.h"

#include "ui/application.h"

namespace host {

HostState& Host() {
  static HostState state;
  return state;
}

void HostAttach() {
  Host().show_line = nullptr;
  Host().com_handle = 0xFFFFFFFFu;
}

void HostDetach() {
  HostState& host = Host();
  if (host.swapped) {
    OwnApplication().set_handle(host.saved_application);
    host.swapped = false;
  }
}

void ShowLine(const char* text, uint8_t flag) {
  if (ShowLineFunc callback = Host().show_line) callback(text, flag);
}

}  // namespace host
