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
  GuardExport("ShowMDIChildForm", [&] { ShowPanel(application); });
}

void CloseMDIChildForm(void* application) noexcept {
  GuardExport("CloseMDIChildForm", [&] { ClosePanel(application); });
}

int32_t CanRun(void) noexcept {
  return GuardExport("CanRun", 0,
                     [] { return Host().table[kSlotSendTestFunction] != nullptr ? 1 : 0; });
}

void SetGetInterface(void* value) noexcept {
  GuardExport("SetGetInterface", [&] { Host().get_interface = value; });
}

void SetShowLineFunc(ShowLineFunc callback) noexcept {
  GuardExport("SetShowLineFunc", [&] { Host().show_line = callback; });
}

void SetFuncInterface(const void* table, int32_t size) noexcept {
  GuardExport("SetFuncInterface", [&] {
    if (table == nullptr || size <= 0) return;
    auto& slots = Host().table;
    slots.fill(nullptr);
    const size_t bytes = std::min(static_cast<size_t>(size), kHostTableBytes);
    std::memcpy(slots.data(), table, bytes);
  });
}

void SetComHandle(uint32_t handle) noexcept {
  GuardExport("SetComHandle", [&] { Host().com_handle = handle; });
}

void SetBasebandType(int32_t) noexcept {
  GuardExport("SetBasebandType", [] {});
}

}  // extern "C"
