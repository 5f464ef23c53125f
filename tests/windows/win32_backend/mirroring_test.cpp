// The native controls show the model's state, at creation and after the
// program changes it.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, NativeControlsShowTheModel) {
  DemoForm& f = *form;
  const std::pair<const ui::Control*, std::string> texts[] = {
      {f.frequency, "87.50"}, {f.station, "SONVIO"}, {f.tune, "Tune"},
      {f.preset, "100.1"},    {f.sync, "RDS sync"},  {f.log, "first line\r\nsecond line"},
      {f.stereo, "Stereo"},
  };
  for (const auto& [control, text] : texts)
    EXPECT_EQ(Text(Native(*control)), text) << control->name();

  EXPECT_TRUE(Checked(Native(*f.mute)));
  EXPECT_FALSE(Checked(Native(*f.stereo)));
  EXPECT_EQ(::SendMessageA(Native(*f.band), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(::SendMessageA(Native(*f.step), UDM_GETPOS32, 0, 0), 5);
  ASSERT_NE(Item(*f.output, 2), nullptr);
  EXPECT_TRUE(Checked(Item(*f.output, 0)));
  EXPECT_FALSE(Checked(Item(*f.output, 1)));
  EXPECT_FALSE(::IsWindowEnabled(Native(*f.send)));
  EXPECT_TRUE(::IsWindowVisible(Native(*f.receive)));
  EXPECT_FALSE(::IsWindowVisible(Native(*f.transmit)));
  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2) << "a sheet without tab has no tab";
}

TEST_F(BackendTest, ChangesFromCodeReachTheNativeControls) {
  DemoForm& f = *form;
  f.frequency->SetText("100.10");
  EXPECT_EQ(Text(Native(*f.frequency)), "100.10");
  f.stereo->SetChecked(true);
  EXPECT_TRUE(Checked(Native(*f.stereo)));
  f.band->SetItems({"A", "B", "C"});
  f.band->SetItemIndex(2);
  EXPECT_EQ(::SendMessageA(Native(*f.band), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0), 2);
  f.band->SetItemIndex(-1);
  EXPECT_EQ(::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0), -1);
  f.output->SetItemIndex(2);
  EXPECT_TRUE(Checked(Item(*f.output, 2)));
  EXPECT_FALSE(Checked(Item(*f.output, 0)));
  f.step->SetPosition(9);
  EXPECT_EQ(::SendMessageA(Native(*f.step), UDM_GETPOS32, 0, 0), 9);
  f.station->SetLabel("Programme service");
  EXPECT_EQ(Text(::GetWindow(Native(*f.station), GW_HWNDPREV)), "Programme service");

  f.log->AddLine("third line");
  EXPECT_EQ(Text(Native(*f.log)), "first line\r\nsecond line\r\nthird line");
  f.log->SetLines({"only"});
  EXPECT_EQ(Text(Native(*f.log)), "only");

  f.pages->SetActivePage(f.transmit);
  EXPECT_TRUE(::IsWindowVisible(Native(*f.transmit)));
  EXPECT_FALSE(::IsWindowVisible(Native(*f.receive)));
  f.hidden->SetTabVisible(true);
  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(BackendTest, EnabledAndVisibleFollowTheContainers) {
  DemoForm& f = *form;
  f.tuning->SetEnabled(false);
  const ui::Control* inside[] = {f.tune, f.frequency, f.station, f.stereo, f.band};
  for (const ui::Control* control : inside)
    EXPECT_FALSE(::IsWindowEnabled(Native(*control))) << control->name();
  EXPECT_FALSE(::IsWindowEnabled(::GetWindow(Native(*f.station), GW_HWNDPREV)))
      << "the labelled edit's caption";
  f.tuning->SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(Native(*f.tune)));

  f.output->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(Item(*f.output, 1)));
  f.output->SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(Item(*f.output, 1)));

  f.station->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Native(*f.station)));
  EXPECT_FALSE(::IsWindowVisible(::GetWindow(Native(*f.station), GW_HWNDPREV)));
  f.station->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(Native(*f.station)));
}

TEST_F(BackendTest, ALongerTextWidensItsControlAtTheNextLayout) {
  RECT before{};
  ::GetWindowRect(Native(*form->signal), &before);
  form->signal->SetCaption("Signal: a much longer read-out text than before");
  Pump();
  RECT after{};
  ::GetWindowRect(Native(*form->signal), &after);
  EXPECT_GT(after.right - after.left, 200);
  EXPECT_GT(after.right - after.left, before.right - before.left);
}

// Counts the messages that put items or text into a native control, by
// standing in front of its window procedure.
struct NativeWrites {
  int list_adds = 0;     // CB_ADDSTRING, CB_INSERTSTRING
  int list_resets = 0;   // CB_RESETCONTENT
  int text_sets = 0;     // WM_SETTEXT
  int text_appends = 0;  // EM_REPLACESEL
};
NativeWrites g_writes;
WNDPROC g_original = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
      ++g_writes.list_adds;
      break;
    case CB_RESETCONTENT:
      ++g_writes.list_resets;
      break;
    case WM_SETTEXT:
      ++g_writes.text_sets;
      break;
    case EM_REPLACESEL:
      ++g_writes.text_appends;
      break;
    default:
      break;
  }
  return ::CallWindowProcA(g_original, window, message, w, l);
}

void CountWrites(HWND window) {
  g_writes = {};
  g_original = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
}

void StopCounting(HWND window) {
  ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_original));
}

// Filling a list item by item, or a memo line by line, puts each item or
// line into the native control once: linear, not a refill per item.
TEST_F(BackendTest, ListsAndMemosFollowTheModelIncrementally) {
  DemoForm& f = *form;
  HWND list = Native(*f.band);
  f.band->ClearItems();
  CountWrites(list);
  for (int i = 0; i < 50; ++i) f.band->AddItem(std::to_string(87500000 + i * 100000));
  StopCounting(list);
  EXPECT_EQ(g_writes.list_adds, 50);
  EXPECT_EQ(g_writes.list_resets, 0);
  EXPECT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 50);

  HWND memo = Native(*f.log);
  f.log->Clear();
  CountWrites(memo);
  for (int tick = 0; tick < 100; ++tick) f.log->AddLine("tick " + std::to_string(tick));
  StopCounting(memo);
  EXPECT_EQ(g_writes.text_appends + g_writes.text_sets, 100);
  EXPECT_LE(g_writes.text_sets, 1) << "only the first line may set the whole text";
  EXPECT_EQ(::SendMessageA(memo, EM_GETLINECOUNT, 0, 0), 100);

  // A memo replaced as a whole each tick (the RDS report) is written once a
  // tick, whatever its length.
  CountWrites(memo);
  for (int tick = 0; tick < 100; ++tick) {
    f.log->SetLines(std::vector<std::string>(27, "0xC201 0x0408 0xE0CD 0x434C"));
  }
  StopCounting(memo);
  EXPECT_EQ(g_writes.text_sets, 100);
  EXPECT_EQ(g_writes.text_appends, 0);
}

}  // namespace
}  // namespace testing_windows
