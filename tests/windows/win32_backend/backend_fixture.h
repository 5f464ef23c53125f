// The demo form shown by the Win32 backend as an MDI child of a frame like
// the host's, and ways to act on its native controls as a user would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "demo_form.h"
#include "frame_window.h"
#include "ui/application.h"
#include "ui/win32/win32_services.h"

namespace testing_windows {

// The screenshot file the program was asked for (empty: none).
extern std::string g_screenshot_path;

std::string Text(HWND window);
bool Checked(HWND button);

class BackendTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Native(const ui::Control& control) const;
  HWND Item(const ui::RadioGroup& group, int index) const;
  // Runs the message loop for `ms` (at least the messages already waiting).
  void Pump(uint32_t ms = 0) { services.Advance(ms); }
  // The notification `code` of a control's window, as its container gets
  // it from the system.
  void Command(HWND window, UINT code);
  void Notify(NMHDR& header);

  ui::Win32Services services;
  ui::Application app{services};
  benchora::FrameWindow frame{"Backend test host", 900, 700};
  DemoForm* form = nullptr;  // owned by app; null once destroyed
};

}  // namespace testing_windows
