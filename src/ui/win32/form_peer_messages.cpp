// Native messages of the form window and its containers, routed to the
// peers of the controls they concern.
#include "ui/win32/form_peer.h"
#include "ui/win32/window_classes.h"

namespace ui {

bool FormPeer::FormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      UpdateScrollBars();
      return false;  // the MDI machinery needs it too
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lparam != 0) return false;  // from a control, not the window's bars
      result = 0;
      return OnScroll(message, wparam);
    case WM_MOUSEWHEEL:
      result = 0;
      return OnScroll(message, wparam);
    case win32::kRelayoutMessage:
      Relayout();
      result = 0;
      return true;
    case WM_SETCURSOR:
      return OnSetCursor(result);
    default:
      return false;
  }
}

bool FormPeer::ContainerMessage(HWND container, UINT message, WPARAM wparam, LPARAM lparam,
                                LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (lparam == 0) return false;
      result = 0;
      return OnCommand(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result);
    case WM_CTLCOLORSTATIC:
      result = OnColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
      return result != 0;
    case WM_PAINT:
      PaintContainer(container);
      result = 0;
      return true;
    case WM_SETCURSOR:
      return OnSetCursor(result);
    default:
      return false;
  }
}

// While the model asks for the hourglass, every window of the form shows it.
bool FormPeer::OnSetCursor(LRESULT& result) {
  if (services_.cursor != Cursor::kHourGlass) return false;
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  result = TRUE;
  return true;
}

bool FormPeer::OnCommand(HWND child, UINT code) {
  if (updating_ > 0) return true;  // caused by our own writes
  auto it = by_window_.find(child);
  if (it == by_window_.end()) return false;
  // The peer may be gone afterwards (a handler closed the form): nothing
  // here is touched again.
  return it->second.first->Command(child, it->second.second, code);
}

bool FormPeer::OnNotify(const NMHDR& header, LRESULT& result) {
  if (updating_ > 0) return false;
  auto it = by_window_.find(header.hwndFrom);
  return it != by_window_.end() && it->second.first->Notify(header, result);
}

LRESULT FormPeer::OnColorStatic(HDC dc, HWND child) {
  auto it = by_window_.find(child);
  return it == by_window_.end() ? 0 : it->second.first->ColorStatic(dc);
}

void FormPeer::PaintContainer(HWND container) {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(container, &paint);
  auto it = containers_.find(container);
  if (it != containers_.end()) it->second->Paint(dc, container);
  ::EndPaint(container, &paint);
}

}  // namespace ui
