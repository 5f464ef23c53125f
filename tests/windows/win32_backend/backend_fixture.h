// The demo form shown by the Win32 backend as an MDI child of a frame like
// the host's, and ways to act on its native controls as a user would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "demo_form.h"
#include "frame_window.h"
#include "ui/application.h"
#include "ui/win32/win32_services.h"

namespace testing_windows {

// The screenshot file the program was asked for (empty: none).
inline std::string g_screenshot_path;

inline std::string Text(HWND window) {
  char buffer[4096] = {};
  ::GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}
inline LRESULT Send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
  return ::SendMessageA(window, message, w, l);
}
inline bool Checked(HWND button) {
  return Send(button, BM_GETCHECK) == BST_CHECKED;
}
// The notification `code` of a control's window, as its container gets it.
inline void Command(HWND window, UINT code) {
  Send(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), code),
       reinterpret_cast<LPARAM>(window));
}

class BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frame.ok()) << "the frame window could not be created";
    services.set_automated(true);
    form = &static_cast<DemoForm&>(app.Adopt(std::make_unique<DemoForm>(app)));
    form->Show();
    services.Advance(50);
    ASSERT_NE(Native(*form), nullptr) << "the form has no window";
  }
  void TearDown() override { app.DestroyForm(form); }

  HWND Native(const ui::Control& control) const {
    return static_cast<HWND>(services.NativeHandle(control));
  }
  HWND Item(const ui::RadioGroup& group, int index) const {
    return static_cast<HWND>(services.NativeItemHandle(group, index));
  }

  ui::Win32Services services;
  ui::Application app{services};
  benchora::FrameWindow frame{"Backend test host", 900, 700};
  DemoForm* form = nullptr;  // owned by app
};

}  // namespace testing_windows
