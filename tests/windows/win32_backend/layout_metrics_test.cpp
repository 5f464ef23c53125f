// The layout under the native controls: the dialog font's table against
// the font the controls draw with, the windows where the layout puts them,
// and the client areas of the bench screens that the panels are sized for;
// and an image of the form.
#include <algorithm>
#include <memory>
#include <string>

#include "backend_fixture.h"
#include "bench_screen.h"
#include "screenshot.h"
#include "ui/controls.h"
#include "ui/dialog_font.h"
#include "ui/win32/gdi_text_measure.h"

namespace testing_windows {
namespace {

// Every character's advance and the line height as GDI measures them in
// the controls' font; a mismatch prints the table row to put right.
TEST_F(BackendTest, DialogFontTableIsTheControlsFont) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageA(Native(*form->tune), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  const ui::GdiTextMeasure gdi(font);
  const ui::DialogFontMeasure table;
  for (int row = 0x20; row < 0x100; row += 16) {
    std::string measured;
    bool same = true;
    for (int c = row; c < row + 16; ++c) {
      const int width = gdi.Measure(std::string(1, static_cast<char>(c))).width;
      measured += std::to_string(width) + ", ";
      same = same && width == ui::DialogFontMeasure::Advance(static_cast<unsigned char>(c));
    }
    EXPECT_TRUE(same) << "characters from " << row << " measure " << measured;
  }
  EXPECT_EQ(gdi.AverageCharWidth(), ui::DialogFontMeasure::kAverageCharWidth);
  for (const char* text :
       {"AVAWAVAV To Ty", "two\nlines", "a\r\nb\rc", "ends with a break\n", "tab\tstop", ""}) {
    const ui::Size want = gdi.Measure(text);
    const ui::Size got = table.Measure(text);
    EXPECT_EQ(got.width, want.width) << text;
    EXPECT_EQ(got.height, want.height) << text;
  }
}

// Each native window stands where the form's layout (which automation
// reports) puts it, relative to the container that holds the form's
// controls: once shown, and after a longer text widened a read-out.
TEST_F(BackendTest, WindowsStandWhereTheLayoutPutsThem) {
  HWND root = ::GetWindow(Native(*form), GW_CHILD);
  const int narrow = form->LaidOutBounds(*form->signal)->width;
  for (const char* signal : {"No signal", "Signal: a much longer read-out text than before"}) {
    form->signal->SetCaption(signal);
    services.Advance(0);
    SCOPED_TRACE(signal);
    for (const auto& component : form->components()) {
      const auto* control = component->AsControl();
      if (control == nullptr) continue;
      HWND window = Native(*control);
      ASSERT_NE(window, nullptr) << control->name();
      ui::Rect want = *form->LaidOutBounds(*control);
      if (control->kind() == ui::Kind::kLabeledEdit) {
        // Its window is the edit box, below the caption.
        const ui::Rect field = form->LaidOut().Find(*control)->field;
        want = {want.x + field.x, want.y + field.y, field.width, field.height};
      }
      RECT r{};
      ::GetWindowRect(window, &r);
      ::MapWindowPoints(nullptr, root, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.left, want.x) << control->name();
      EXPECT_EQ(r.top, want.y) << control->name();
      EXPECT_EQ(r.right - r.left, want.width) << control->name();
      // A combo box's window is as tall as its list when open.
      if (control->kind() != ui::Kind::kComboBox) {
        EXPECT_EQ(r.bottom - r.top, want.height) << control->name();
      }
    }
  }
  EXPECT_GT(form->LaidOutBounds(*form->signal)->width, std::max(narrow, 200));
}

TEST_F(BackendTest, Screenshot) {
  if (g_screenshot_path.empty()) GTEST_SKIP() << "no --screenshot=FILE";
  std::string error;
  EXPECT_TRUE(benchora::SaveWindowImage(frame.window(), g_screenshot_path, error)) << error;
}

// The numbers the panels' layout is checked against (bench_screen.h).
TEST_F(BackendTest, BenchScreensGiveTheClientAreasThePanelsAreSizedFor) {
  EXPECT_EQ(::GetSystemMetrics(SM_CXVSCROLL), kScrollBar);
  RECT outer{};
  RECT inner{};
  ::GetWindowRect(Native(*form), &outer);
  ::GetClientRect(Native(*form), &inner);
  EXPECT_FALSE(::IsZoomed(Native(*form)));
  EXPECT_EQ(outer.right - outer.left - inner.right, kChildFrame.width);
  EXPECT_EQ(outer.bottom - outer.top - inner.bottom, kChildFrame.height);
  const int edge = 2 * ::GetSystemMetrics(SM_CXEDGE);
  for (const BenchScreen& screen : kBenchScreens) {
    benchora::FrameWindow bench("Bench screen", screen.frame_width, screen.frame_height);
    ASSERT_TRUE(bench.ok());
    RECT client{};
    ::GetWindowRect(bench.mdi_client(), &client);
    EXPECT_EQ(client.right - client.left - edge, screen.mdi_client.width) << screen.name;
    EXPECT_EQ(client.bottom - client.top - edge, screen.mdi_client.height) << screen.name;
  }
}

// A panel that fits the MDI client only without the client's scroll bars
// (which a fresh frame shows at first) opens whole: neither the frame nor
// the panel keeps a scroll bar.
TEST(Win32Backend, APanelThatFitsTheFrameLeavesNoScrollBars) {
  benchora::FrameWindow bench("Bench screen", kSmallScreen.frame_width, kSmallScreen.frame_height);
  ASSERT_TRUE(bench.ok());
  ui::Win32Services services;
  services.set_automated(true);
  ui::Application app(services);
  ui::Form& form = app.Adopt(std::make_unique<ui::Form>(app, "TTall"));
  // 41 lines of 13 pixels and a margin above and below: taller than the
  // client area left beside a horizontal scroll bar, not taller than all of it.
  std::string text(130, 'x');
  for (int i = 1; i < 41; ++i) text += "\n" + std::string(130, 'x');
  form.Add<ui::Label>("lblTall", &form, text);
  const ui::Rect content = *form.LaidOutBounds(form);
  ASSERT_GT(content.height, NormalClient(kSmallScreen).height - kScrollBar);
  ASSERT_LE(content.height, NormalClient(kSmallScreen).height);
  form.Show();
  services.Advance(100);
  HWND window = static_cast<HWND>(services.NativeHandle(form));
  ASSERT_NE(window, nullptr);
  constexpr LONG_PTR kBars = WS_HSCROLL | WS_VSCROLL;
  EXPECT_EQ(::GetWindowLongPtrA(bench.mdi_client(), GWL_STYLE) & kBars, 0);
  EXPECT_EQ(::GetWindowLongPtrA(window, GWL_STYLE) & kBars, 0);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, content.width);
  EXPECT_EQ(client.bottom, content.height);
  app.DestroyForm(&form);
}

}  // namespace
}  // namespace testing_windows
