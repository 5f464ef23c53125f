// The form window: closing and showing it again, a host without an MDI
// frame, and an image of it. Where its controls land is checked against the
// layout (layout_metrics_test), whose promises the native tests check.
#include "backend_fixture.h"
#include "screenshot.h"

namespace testing_windows {
namespace {

// The form is an MDI child of the frame; closing its window runs OnClose,
// and showing it again builds the windows anew.
TEST_F(BackendTest, ClosingTheWindowRunsOnCloseAndShowRebuildsIt) {
  bool maximized = false;
  EXPECT_EQ(frame.ActiveChild(maximized), Native(*form));
  EXPECT_EQ(Text(Native(*form)), "Backend demo");
  ::SendMessageA(Native(*form), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->events, "close ");
  EXPECT_EQ(Native(*form), nullptr);
  form->Show();
  ASSERT_NE(Native(*form), nullptr);
  EXPECT_EQ(Text(Native(*form->tune)), "Tune");

  app.DestroyForm(form);
  form = nullptr;
  EXPECT_EQ(::GetWindow(frame.mdi_client(), GW_CHILD), nullptr);
}

TEST_F(BackendTest, Screenshot) {
  if (g_screenshot_path.empty()) GTEST_SKIP() << "no --screenshot=FILE";
  std::string error;
  EXPECT_TRUE(benchora::SaveWindowImage(frame.window(), g_screenshot_path, error)) << error;
}

TEST(Win32Backend, WithoutAnMdiFrameTheFormIsATopLevelWindow) {
  ui::Win32Services services;
  services.set_automated(true);
  ui::Application app(services);
  ui::Form& lone = app.Adopt(std::make_unique<ui::Form>(app, "TLone"));
  lone.SetCaption("Lone form");
  lone.Add<ui::Button>("btnLone", &lone, "Lone");
  lone.Show();
  HWND window = static_cast<HWND>(services.NativeHandle(lone));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(::GetParent(window), nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
  app.DestroyForm(&lone);
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace testing_windows
