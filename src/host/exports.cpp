#include "host/exports.h"

#include <algorithm>
#include <cstring>

#include "host/export_guard.h"
#include "host/host_state.h"
#include "host/panel_selection.h"

extern "C" {

void* FCSonvio = nullptr;
void* KelboFMRGUI = nullptr;
void* frm_DruskGUI = nullptr;

void ShowMDIChildForm(void* application) noexcept {
  host::GuardExport("ShowMDIChildForm", [&] { host::ShowPanel(application); });
}

void CloseMDIChildForm(void* application) noexcept {
  host::GuardExport("CloseMDIChildForm", [&] { host::ClosePanel(application); });
}

int32_t CanRun(void) noexcept {
  return host::GuardExport("CanRun", 0, [] {
    return host::Host().table[host::kSlotSendTestFunction] != nullptr ? 1 : 0;
  });
}

void SetGetInterface(void* value) noexcept {
  host::GuardExport("SetGetInterface", [&] { host::Host().get_interface = value; });
}

void SetShowLineFunc(host::ShowLineFunc callback) noexcept {
  host::GuardExport("SetShowLineFunc", [&] { host::Host().show_line = callback; });
}

void SetFuncInterface(const void* table, int32_t size) noexcept {
  host::GuardExport("SetFuncInterface", [&] {
    if (table == nullptr || size <= 0) return;
    auto& slots = host::Host().table;
    slots.fill(nullptr);
    const size_t bytes = std::min(static_cast<size_t>(size), host::kHostTableBytes);
    std::memcpy(slots.data(), table, bytes);
  });
}

void SetComHandle(uint32_t handle) noexcept {
  host::GuardExport("SetComHandle", [&] { host::Host().com_handle = handle; });
}

void SetBasebandType(int32_t) noexcept {
  host::GuardExport("SetBasebandType", [] {});
}

}  // extern "C"
