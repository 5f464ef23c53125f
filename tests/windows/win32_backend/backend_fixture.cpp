#include "backend_fixture.h"

#include <memory>

namespace testing_windows {

std::string g_screenshot_path;

std::string Text(HWND window) {
  char buffer[4096] = {};
  ::GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

bool Checked(HWND button) {
  return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void BackendTest::SetUp() {
  ASSERT_TRUE(frame.ok()) << "the frame window could not be created";
  services.set_automated(true);
  form = &static_cast<DemoForm&>(app.Adopt(std::make_unique<DemoForm>(app)));
  form->Show();
  Pump(50);
  ASSERT_NE(Native(*form), nullptr) << "the form has no window";
}

void BackendTest::TearDown() {
  if (form != nullptr) app.DestroyForm(form);
}

HWND BackendTest::Native(const ui::Control& control) const {
  return static_cast<HWND>(services.NativeHandle(control));
}

HWND BackendTest::Item(const ui::RadioGroup& group, int index) const {
  return static_cast<HWND>(services.NativeItemHandle(group, index));
}

void BackendTest::Command(HWND window, UINT code) {
  ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), code),
                 reinterpret_cast<LPARAM>(window));
}

void BackendTest::Notify(NMHDR& header) {
  ::SendMessageA(::GetParent(header.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

}  // namespace testing_windows
