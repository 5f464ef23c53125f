#include "frame_window.h"

#include <htmlhelp.h>

namespace benchora {
namespace {

constexpr char kFrameClass[] = "BenchoraFrame";
constexpr char kHelpViewerModule[] = "hhctrl.ocx";
constexpr int kLogHeight = 150;
constexpr int kMaxLogLines = 5000;

HINSTANCE ProgramInstance() {
  return ::GetModuleHandleA(nullptr);
}

}  // namespace

FrameWindow::FrameWindow(const std::string& title, int width, int height) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &FrameWindow::Proc;
  wc.hInstance = ProgramInstance();
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
  wc.lpszClassName = kFrameClass;
  ::RegisterClassExA(&wc);

  window_ = ::CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              0, 0, width, height, nullptr, nullptr, ProgramInstance(), this);
  if (window_ == nullptr) return;

  CLIENTCREATESTRUCT client{};
  client.hWindowMenu = nullptr;
  client.idFirstChild = 0xFF00;
  mdi_client_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                  0, 0, 0, 0, window_, nullptr, ProgramInstance(), &client);
  log_ = ::CreateWindowExA(
      WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0,
      0, window_, nullptr, ProgramInstance(), nullptr);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    font_ = ::CreateFontIndirectA(&metrics.lfMessageFont);
  if (log_ != nullptr && font_ != nullptr)
    ::SendMessageA(log_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  ::SendMessageA(log_, LB_SETHORIZONTALEXTENT, 2000, 0);
  Arrange();
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
}

FrameWindow::~FrameWindow() {
  if (window_ != nullptr && !closed_) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (font_ != nullptr) ::DeleteObject(font_);
  ::UnregisterClassA(kFrameClass, ProgramInstance());
}

void FrameWindow::AddLogLine(const std::string& line) {
  if (log_ == nullptr || closed_) return;
  if (::SendMessageA(log_, LB_GETCOUNT, 0, 0) >= kMaxLogLines)
    ::SendMessageA(log_, LB_DELETESTRING, 0, 0);
  const LRESULT index =
      ::SendMessageA(log_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (index >= 0) ::SendMessageA(log_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

bool FrameWindow::PumpPending() {
  MSG message{};
  while (!closed_ && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      closed_ = true;
      break;
    }
    Dispatch(message);
  }
  return !closed_;
}

void FrameWindow::RunUntilClosed() {
  MSG message{};
  while (!closed_ && ::GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
  closed_ = true;
}

bool FrameWindow::PreTranslate(const MSG& message) {
  // The key goes to the window with the focus, usually one of the panel's
  // controls: any window of the frame counts, the help viewer's do not.
  if (message.message != WM_KEYDOWN || message.wParam != VK_F1 || !on_help) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  on_help();
  return true;
}

void FrameWindow::Dispatch(MSG& message) {
  if (PreTranslate(message)) return;
  if (mdi_client_ != nullptr && ::TranslateMDISysAccel(mdi_client_, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

HWND FrameWindow::ActiveChild(bool& maximized) const {
  BOOL is_maximized = FALSE;
  HWND child = mdi_client_ == nullptr
                   ? nullptr
                   : reinterpret_cast<HWND>(::SendMessageA(
                         mdi_client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&is_maximized)));
  maximized = is_maximized != FALSE;
  return child;
}

void FrameWindow::Arrange() {
  RECT client{};
  ::GetClientRect(window_, &client);
  const int width = static_cast<int>(client.right);
  const int height = static_cast<int>(client.bottom);
  const int log_height = height > 2 * kLogHeight ? kLogHeight : height / 3;
  if (mdi_client_ != nullptr) ::MoveWindow(mdi_client_, 0, 0, width, height - log_height, TRUE);
  if (log_ != nullptr) ::MoveWindow(log_, 0, height - log_height, width, log_height, TRUE);
}

LRESULT CALLBACK FrameWindow::Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* frame = reinterpret_cast<FrameWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (frame == nullptr || frame->window_ == nullptr) {
    return ::DefFrameProcA(window, frame != nullptr ? frame->mdi_client_ : nullptr, message, wparam,
                           lparam);
  }
  return frame->Handle(message, wparam, lparam);
}

LRESULT FrameWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      Arrange();
      return 0;  // the frame places the MDI client itself
    case WM_CLOSE:
      if (on_close) on_close();
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      closed_ = true;
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefFrameProcA(window_, mdi_client_, message, wparam, lparam);
  }
}

HelpViewer::~HelpViewer() {
  if (html_help_ != nullptr) html_help_(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

bool HelpViewer::Show(HWND owner, const std::string& url, std::string& error) {
  if (!module_.IsLoaded()) {
    std::string why;
    module_ = platform::DynamicLibrary::Open(kHelpViewerModule, why);
    if (!module_.IsLoaded()) {
      error = std::string("the help viewer ") + kHelpViewerModule + " cannot be loaded: " + why;
      return false;
    }
    html_help_ = reinterpret_cast<HtmlHelpFunction>(module_.Symbol("HtmlHelpA"));
  }
  if (html_help_ == nullptr) {
    error = std::string("the help viewer ") + kHelpViewerModule + " has no HtmlHelpA";
    return false;
  }
  if (html_help_(owner, url.c_str(), HH_DISPLAY_TOPIC, 0) == nullptr) {
    error = "the help viewer did not open it";
    return false;
  }
  return true;
}

}  // namespace benchora
