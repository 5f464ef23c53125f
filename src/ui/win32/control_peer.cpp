#include "ui/win32/control_peer.h"

namespace ui {

std::string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int n = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (window != nullptr && WindowText(window) != text) ::SetWindowTextA(window, text.c_str());
}

void MoveWindowTo(HWND window, const Rect& bounds) {
  if (window != nullptr)
    ::SetWindowPos(window, nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool EnabledWithContainers(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->parent()) {
    if (!c->enabled()) return false;
  }
  return true;
}

HWND ControlPeer::CreateChild(const char* window_class, const std::string& text, DWORD style,
                              HWND parent, DWORD ex_style, int item) {
  return site_.CreateChild(*this, window_class, text, style, ex_style, parent, item);
}

void ControlPeer::MirrorEnabledAndVisible() {
  Enable(EnabledWithContainers(control_));
  Show(Shown());
}

void ControlPeer::Enable(bool enabled) {
  if (window_ != nullptr) ::EnableWindow(window_, enabled ? TRUE : FALSE);
}

void ControlPeer::Show(bool shown) {
  if (window_ != nullptr) ::ShowWindow(window_, shown ? SW_SHOWNA : SW_HIDE);
}

void ControlPeer::Place(const Placement& placement) {
  MoveWindowTo(window_, placement.bounds);
}

}  // namespace ui
