// Timers on the message loop, and the services the automated bench uses.
#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, TimersFireOnlyWhileTheMessageLoopRuns) {
  DemoForm& f = *form;
  f.ticker->SetEnabled(true);
  f.once->SetEnabled(true);
  services.Sleep(120);
  EXPECT_EQ(f.ticks, 0) << "a blocked thread fires no timer";
  EXPECT_EQ(f.once_ticks, 0);
  Pump(400);
  EXPECT_GE(f.ticks, 3) << "a 30 ms timer during 400 ms of message loop";
  EXPECT_EQ(f.once_ticks, 1) << "a timer that disables itself fires once";
  f.ticker->SetEnabled(false);
  const int ticks = f.ticks;
  Pump(100);
  EXPECT_EQ(f.ticks, ticks);
}

TEST_F(BackendTest, AutomatedDialogsDoNotWaitForAPerson) {
  services.ShowMessage("Frequency out of range", "Error", ui::MessageIcon::kError);
  const std::vector<ui::ShownMessage> shown = services.TakeMessages().messages;
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_EQ(shown[0].text, "Frequency out of range");
  EXPECT_EQ(shown[0].icon, ui::MessageIcon::kError);
  EXPECT_TRUE(services.TakeMessages().messages.empty());

  services.QueueFileAnswer("C:\\data\\rds.txt");
  ASSERT_TRUE(form->open->Execute());
  EXPECT_EQ(form->open->file_name, "C:\\data\\rds.txt");
  EXPECT_FALSE(form->open->Execute()) << "without an answer the dialog is cancelled";
}

TEST_F(BackendTest, TheHourglassShowsOverTheForm) {
  HCURSOR arrow = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  HCURSOR wait = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  services.SetCursor(ui::Cursor::kHourGlass);
  EXPECT_EQ(services.CurrentCursor(), ui::Cursor::kHourGlass);
  // The mouse moves over a control in a group box.
  ::SetCursor(arrow);
  HWND tune = Native(*form->tune);
  ::SendMessageA(tune, WM_SETCURSOR, reinterpret_cast<WPARAM>(tune),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), wait);
  services.SetCursor(ui::Cursor::kDefault);
  EXPECT_EQ(::GetCursor(), arrow);
}

}  // namespace
}  // namespace testing_windows
