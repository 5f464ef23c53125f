#include "ui/win32/window_classes.h"

#include "ui/win32/form_peer.h"
#include "ui/win32/services_impl.h"

namespace ui::win32 {
namespace {

FormPeer* PeerOf(HWND window) {
  return reinterpret_cast<FormPeer*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const bool mdi_child = (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  auto default_proc = [&] {
    return mdi_child ? ::DefMDIChildProcA(window, message, wparam, lparam)
                     : ::DefWindowProcA(window, message, wparam, lparam);
  };
  if (message == WM_NCCREATE) {
    // The peer travels in the creation parameters; for an MDI child they
    // are the MDICREATESTRUCT whose lParam carries it.
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    LONG_PTR peer = reinterpret_cast<LONG_PTR>(create->lpCreateParams);
    if ((create->dwExStyle & WS_EX_MDICHILD) != 0 && create->lpCreateParams != nullptr) {
      peer = static_cast<LONG_PTR>(
          static_cast<const MDICREATESTRUCTA*>(create->lpCreateParams)->lParam);
    }
    ::SetWindowLongPtrA(window, GWLP_USERDATA, peer);
    return default_proc();
  }
  FormPeer* peer = PeerOf(window);
  if (peer == nullptr) return default_proc();
  if (message == WM_CLOSE) {
    // The user closed the panel: its close handler runs and the window
    // goes; the form itself lives on until the host closes it.
    Form& form = peer->form();
    Win32Services::Impl& services = peer->services();
    form.Close();
    services.DropPeer(form);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    // Destroyed from outside (the frame went away): forget the windows.
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    peer->Forget();
    peer->services().DropPeer(peer->form());
    return default_proc();
  }
  LRESULT result = 0;
  if (peer->FormMessage(message, wparam, lparam, result)) return result;
  return default_proc();
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (FormPeer* peer = PeerOf(window)) {
    LRESULT result = 0;
    if (peer->ContainerMessage(window, message, wparam, lparam, result)) return result;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER) {
    auto* services =
        reinterpret_cast<Win32Services::Impl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (services != nullptr) services->FireTimer(static_cast<UINT_PTR>(wparam));
    return 0;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

bool Register(HINSTANCE instance, const char* name, WNDPROC proc, bool painted) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = name;
  if (painted) {
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  }
  return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HINSTANCE OwnModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&OwnModule), &module);
  return module;
}

bool RegisterWindowClasses(HINSTANCE instance) {
  return Register(instance, kFormClass, &FormProc, true) &&
         Register(instance, kContainerClass, &ContainerProc, true) &&
         Register(instance, kTimerClass, &TimerProc, false);
}

void UnregisterWindowClasses(HINSTANCE instance) {
  for (const char* name : {kFormClass, kContainerClass, kTimerClass})
    ::UnregisterClassA(name, instance);
}

}  // namespace ui::win32
