// The Windows host stand-in's main window: an MDI frame whose client area
// holds the MDI client (where the plug-in's panel appears as a child) above
// a log pane that lists the host's log lines.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

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

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Arrange();

  HWND window_ = nullptr;
  HWND mdi_client_ = nullptr;
  HWND log_ = nullptr;
  HFONT font_ = nullptr;
  bool closed_ = false;
};

}  // namespace benchora
