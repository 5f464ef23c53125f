#include "ui/win32/win32_services.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "ui/controls.h"
#include "ui/dialog_font.h"
#include "ui/form.h"
#include "ui/timer.h"
#include "ui/win32/file_filter.h"
#include "ui/win32/form_peer.h"
#include "ui/win32/services_impl.h"
#include "ui/win32/window_classes.h"

namespace ui {
namespace {

bool AutomatedByEnvironment() {
  char value[8] = {};
  const DWORD n = ::GetEnvironmentVariableA("SONVIO_AUTOMATED", value, sizeof(value));
  return n == 1 && value[0] == '1';
}

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kWarning:
      return MB_ICONWARNING;
    case MessageIcon::kError:
      return MB_ICONERROR;
    case MessageIcon::kNone:
      break;
  }
  return 0;
}

struct MdiSearch {
  DWORD thread;
  HWND client;
};

BOOL CALLBACK FindMdiClientOf(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<MdiSearch*>(data);
  if (::GetWindowThreadProcessId(window, nullptr) != search->thread) return TRUE;
  if (HWND client = ::FindWindowExA(window, nullptr, "MDIClient", nullptr)) {
    search->client = client;
    return FALSE;
  }
  return TRUE;
}

// The MDI client of the host's frame: a top-level window of this thread
// that holds one. Null when the host has no MDI frame.
HWND FindMdiClient() {
  MdiSearch search{::GetCurrentThreadId(), nullptr};
  ::EnumWindows(&FindMdiClientOf, reinterpret_cast<LPARAM>(&search));
  return search.client;
}

}  // namespace

// Impl

Win32Services::Impl::Impl() : instance(win32::OwnModule()), automated(AutomatedByEnvironment()) {}

Win32Services::Impl::~Impl() {
  if (abandoned) {
    for (auto& [form, peer] : peers) peer->Forget();
    peers.clear();
    return;
  }
  peers.clear();
  if (timer_window != nullptr) ::DestroyWindow(timer_window);
  if (native_ready) win32::UnregisterWindowClasses(instance);
  if (font != nullptr) ::DeleteObject(font);
}

bool Win32Services::Impl::EnsureNative() {
  if (native_ready) return true;
  if (abandoned) return false;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS;
  ::InitCommonControlsEx(&controls);
  if (!win32::RegisterWindowClasses(instance)) return false;

  // The controls draw in the font the layout measures with: named, not the
  // system's message font, which is wider on recent Windows and would not
  // fit the places the layout gives the texts.
  LOGFONTA dialog{};
  dialog.lfHeight = -DialogFontMeasure::kPixelHeight;
  dialog.lfWeight = FW_NORMAL;
  dialog.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(dialog.lfFaceName, DialogFontMeasure::kFaceName, LF_FACESIZE);
  font = ::CreateFontIndirectA(&dialog);
  if (font == nullptr) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      font = ::CreateFontIndirectA(&metrics.lfMessageFont);
  }

  timer_window = ::CreateWindowExA(0, win32::kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   instance, nullptr);
  if (timer_window != nullptr)
    ::SetWindowLongPtrA(timer_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  native_ready = true;
  return true;
}

FormPeer* Win32Services::Impl::PeerOf(const Form& form) const {
  auto it = peers.find(&form);
  return it == peers.end() ? nullptr : it->second.get();
}

void Win32Services::Impl::DropPeer(Form& form) {
  auto it = peers.find(&form);
  if (it == peers.end()) return;
  std::unique_ptr<FormPeer> peer = std::move(it->second);
  peers.erase(it);
  form.set_observer(nullptr);
}

void Win32Services::Impl::FireTimer(UINT_PTR id) {
  auto it = timers.find(id);
  if (it != timers.end()) it->second->Fire();
}

void Win32Services::Impl::KillNativeTimer(const Timer& timer) {
  auto it = timer_ids.find(&timer);
  if (it == timer_ids.end()) return;
  if (!abandoned && timer_window != nullptr) ::KillTimer(timer_window, it->second);
  timers.erase(it->second);
  timer_ids.erase(it);
}

bool Win32Services::Impl::PumpMessages() {
  MSG message{};
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return true;
}

// Services

Win32Services::Win32Services() : impl_(std::make_unique<Impl>()) {}

Win32Services::~Win32Services() = default;

bool Win32Services::automated() const {
  return impl_->automated;
}

void Win32Services::set_automated(bool automated) {
  impl_->automated = automated;
}

void Win32Services::Abandon() {
  impl_->abandoned = true;
}

void* Win32Services::NativeHandle(const Control& control) const {
  FormPeer* peer = impl_->PeerOf(control.form());
  return peer != nullptr ? peer->Handle(control) : nullptr;
}

void* Win32Services::NativeItemHandle(const Control& control, int index) const {
  FormPeer* peer = impl_->PeerOf(control.form());
  return peer != nullptr ? peer->ItemHandle(control, index) : nullptr;
}

void Win32Services::ShowMessage(const std::string& text, const std::string& caption,
                                MessageIcon icon) {
  if (impl_->automated) {
    impl_->pending_messages.Add({caption, text, icon});
    return;
  }
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL | IconStyle(icon));
}

std::optional<std::string> Win32Services::OpenFile(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& default_ext) {
  if (!impl_->file_answers.empty()) {
    std::optional<std::string> answer = std::move(impl_->file_answers.front());
    impl_->file_answers.pop_front();
    return answer;
  }
  if (impl_->automated) return std::nullopt;  // nobody there to pick: cancelled

  const std::string filters = SystemFilter(filter);
  const std::string extension = DefaultExtension(default_ext);
  std::vector<char> path(32768, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ::GetActiveWindow();
  dialog.lpstrFilter = filters.empty() ? nullptr : filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameA(&dialog)) return std::nullopt;
  return std::string(path.data());
}

void Win32Services::SetFocus(Control* control) {
  impl_->focused = control;
  if (control == nullptr) return;
  if (HWND window = static_cast<HWND>(NativeHandle(*control))) ::SetFocus(window);
}

Control* Win32Services::Focused() const {
  if (HWND window = ::GetFocus()) {
    for (const auto& [form, peer] : impl_->peers) {
      if (Control* control = peer->ControlOf(window)) return control;
    }
  }
  return impl_->focused;
}

void Win32Services::SetCursor(Cursor cursor) {
  impl_->cursor = cursor;
  const LPCSTR shape = cursor == Cursor::kHourGlass ? reinterpret_cast<LPCSTR>(IDC_WAIT)
                                                    : reinterpret_cast<LPCSTR>(IDC_ARROW);
  ::SetCursor(::LoadCursorA(nullptr, shape));
}

Cursor Win32Services::CurrentCursor() const {
  return impl_->cursor;
}

void Win32Services::Sleep(uint32_t ms) {
  // A real handset still gets its pause; the virtual clock moves with it.
  if (impl_->automated) impl_->clock.Sleep(ms);
  ::Sleep(ms);
}

uint64_t Win32Services::NowMs() const {
  return impl_->automated ? impl_->clock.now() : ::GetTickCount64();
}

void Win32Services::TimerChanged(Timer& timer) {
  if (impl_->automated) {
    impl_->KillNativeTimer(timer);
    impl_->clock.TimerChanged(timer);
    return;
  }
  impl_->clock.Forget(timer);
  if (!impl_->EnsureNative() || impl_->timer_window == nullptr) return;
  auto it = impl_->timer_ids.find(&timer);
  if (timer.enabled() && timer.interval() > 0) {
    const UINT_PTR id = it != impl_->timer_ids.end() ? it->second : impl_->next_timer_id++;
    impl_->timer_ids[&timer] = id;
    impl_->timers[id] = &timer;
    // Setting an existing timer again restarts its interval from now.
    ::SetTimer(impl_->timer_window, id, timer.interval(), nullptr);
  } else {
    impl_->KillNativeTimer(timer);
  }
}

void Win32Services::TimerDestroyed(Timer& timer) {
  impl_->clock.Forget(timer);
  impl_->KillNativeTimer(timer);
}

void Win32Services::FormShown(Form& form) {
  if (!impl_->EnsureNative()) return;
  if (FormPeer* peer = impl_->PeerOf(form)) {
    peer->Reshow();
    return;
  }
  auto peer = std::make_unique<FormPeer>(*impl_, form);
  FormPeer& created = *peer;
  impl_->peers[&form] = std::move(peer);
  form.set_observer(&created);
  if (!created.Create(FindMdiClient())) impl_->DropPeer(form);
}

void Win32Services::FormDestroyed(Form& form) {
  if (impl_->focused != nullptr && &impl_->focused->form() == &form) impl_->focused = nullptr;
  if (impl_->abandoned) {
    if (FormPeer* peer = impl_->PeerOf(form)) peer->Forget();
  }
  impl_->DropPeer(form);
}

void Win32Services::Advance(uint32_t ms) {
  if (impl_->automated) {
    // Exactly the ticks that fall due, with the windows painted between
    // them: the same transcript as the headless backend gives.
    bool running = impl_->PumpMessages();
    impl_->clock.Advance(ms, [this, &running] {
      if (running) running = impl_->PumpMessages();
    });
    if (running) impl_->PumpMessages();
    return;
  }
  const ULONGLONG deadline = ::GetTickCount64() + ms;
  while (impl_->PumpMessages()) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

ShownMessages Win32Services::TakeMessages() {
  return impl_->pending_messages.Take();
}

void Win32Services::QueueFileAnswer(std::optional<std::string> path) {
  impl_->file_answers.push_back(std::move(path));
}

}  // namespace ui
