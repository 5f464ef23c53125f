// The peer of the form itself: its window and the container in it.
#include "ui/win32/control_peers.h"
#include "ui/win32/window_classes.h"

namespace ui {

void FormWindowPeer::Create(HWND parent) {
  mdi_client_ = parent;
  if (mdi_client_ != nullptr) {
    MDICREATESTRUCTA create{};
    create.szClass = win32::kFormClass;
    create.szTitle = form_.caption().c_str();
    create.hOwner = site().instance();
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = 0;  // maximized once its controls are in place (Reshow)
    create.lParam = site().FormWindowParameter();
    window_ = reinterpret_cast<HWND>(
        ::SendMessageA(mdi_client_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  } else {
    window_ = ::CreateWindowExA(0, win32::kFormClass, form_.caption().c_str(),
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, site().instance(),
                                reinterpret_cast<LPVOID>(site().FormWindowParameter()));
  }
  if (window_ == nullptr) return;
  root_ = site().CreateContainer(*this, window_);
  ::ShowWindow(root_, SW_SHOWNA);
}

void FormWindowPeer::Mirror() {
  SetWindowTextIfChanged(window_, form_.caption());
}

void FormWindowPeer::Show(bool shown) {
  if ((::IsWindowVisible(window_) != FALSE) != shown)
    ::ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
}

void FormWindowPeer::Reshow() {
  if (window_ == nullptr) return;
  if (mdi_client_ != nullptr) {
    if (form_.visible()) ::ShowWindow(window_, SW_SHOW);
    if (form_.maximized())
      ::SendMessageA(mdi_client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window_), 0);
    ::SendMessageA(mdi_client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window_), 0);
  } else if (form_.visible()) {
    ::ShowWindow(window_, form_.maximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
  }
}

void FormWindowPeer::Destroy() {
  if (window_ == nullptr) return;
  ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  HWND window = window_;
  window_ = nullptr;
  root_ = nullptr;
  if (mdi_client_ != nullptr && ::IsWindow(mdi_client_)) {
    ::SendMessageA(mdi_client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  } else {
    ::DestroyWindow(window);
  }
}

}  // namespace ui
