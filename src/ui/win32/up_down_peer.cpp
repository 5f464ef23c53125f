// The peer of an up-down control: a pair of arrow buttons.
#include "ui/win32/control_peers.h"

#include <commctrl.h>

namespace ui {

void UpDownPeer::Create(HWND parent) {
  window_ = CreateChild(UPDOWN_CLASSA, "", 0, parent);
}

void UpDownPeer::Mirror() {
  ::SendMessageA(window_, UDM_SETRANGE32, static_cast<WPARAM>(updown_.min()), updown_.max());
  ::SendMessageA(window_, UDM_SETPOS32, 0, updown_.position());
}

bool UpDownPeer::Notify(const NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(UDN_DELTAPOS)) return false;
  const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
  // The model moves the position; the control only reports the arrow.
  result = TRUE;
  if (!updown_.UserClick(change.iDelta > 0)) site().Remirror(updown_);
  return true;
}

}  // namespace ui
