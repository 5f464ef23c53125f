// The Windows host stand-in's main window: an MDI frame whose client area
// holds the MDI client (where the plug-in's panel appears as a child) above
// a log pane that lists the host's log lines; and the help viewer that F1
// opens over it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/platform.h"

namespace benchora {

class FrameWindow {
 public:
  FrameWindow(const std::string& title, int width, int height);
  ~FrameWindow();
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;

  bool ok() const { return window_ != nullptr && mdi_client_ != nullptr; }
  HWND window() const { return window_; }
  HWND mdi_client() const { return mdi_client_; }

  void AddLogLine(const std::string& line);
  // Dispatches the messages already waiting; false once the frame is gone.
  bool PumpPending();
  // Runs the message loop until the frame is closed.
  void RunUntilClosed();
  // The active MDI child (null when none) and whether it is maximized.
  HWND ActiveChild(bool& maximized) const;

  // Called when the user closes the frame, before its windows go.
  std::function<void()> on_close;
  // Called when the user presses F1 in the frame or any window in it (the
  // panel's controls included).
  std::function<void()> on_help;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Arrange();
  // Handles a message before it is dispatched: F1 goes to on_help. True
  // when the message needs nothing more.
  bool PreTranslate(const MSG& message);
  void Dispatch(MSG& message);

  HWND window_ = nullptr;
  HWND mdi_client_ = nullptr;
  HWND log_ = nullptr;
  HFONT font_ = nullptr;
  bool closed_ = false;
};

// The HTML help viewer, loaded from hhctrl.ocx (LoadLibraryA and
// GetProcAddress, so benchora links nothing for it) when it is first
// needed. Its windows live in that module: they are closed before the
// module is freed, when the viewer goes.
class HelpViewer {
 public:
  HelpViewer() = default;
  ~HelpViewer();
  HelpViewer(const HelpViewer&) = delete;
  HelpViewer& operator=(const HelpViewer&) = delete;

  // Shows `url` ("C:\folder\file.chm::/page.html#anchor") for `owner`;
  // false with `error` set when the viewer cannot be loaded or refuses.
  [[nodiscard]] bool Show(HWND owner, const std::string& url, std::string& error);

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  platform::DynamicLibrary module_;
  HtmlHelpFunction html_help_ = nullptr;
};

}  // namespace benchora
