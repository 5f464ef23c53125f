// The native controls show the model's state, at creation and after the
// program changes it, and follow a growing list or memo without refilling.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, NativeControlsShowTheModelFromCreationOn) {
  DemoForm& f = *form;
  const std::pair<const ui::Control*, std::string> texts[] = {
      {f.frequency, "87.50"}, {f.station, "SONVIO"}, {f.tune, "Tune"},
      {f.preset, "100.1"},    {f.sync, "RDS sync"},  {f.log, "first line\r\nsecond line"},
      {f.stereo, "Stereo"},
  };
  for (const auto& [control, text] : texts)
    EXPECT_EQ(Text(Native(*control)), text) << control->name();
  HWND band = Native(*f.band);
  HWND step = Native(*f.step);
  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  ASSERT_NE(tabs, nullptr);
  ASSERT_NE(Item(*f.output, 2), nullptr);
  EXPECT_TRUE(Checked(Native(*f.mute)));
  EXPECT_FALSE(Checked(Native(*f.stereo)));
  EXPECT_EQ(Send(band, CB_GETCOUNT), 2);
  EXPECT_EQ(Send(band, CB_GETCURSEL), 0);
  EXPECT_EQ(Send(step, UDM_GETPOS32), 5);
  EXPECT_TRUE(Checked(Item(*f.output, 0)));
  EXPECT_FALSE(::IsWindowEnabled(Native(*f.send)));
  EXPECT_TRUE(::IsWindowVisible(Native(*f.receive)));
  EXPECT_FALSE(::IsWindowVisible(Native(*f.transmit)));
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 2) << "a sheet without tab has no tab";

  f.frequency->SetText("100.10");
  f.stereo->SetChecked(true);
  f.band->SetItems({"A", "B", "C"});
  f.band->SetItemIndex(2);
  f.output->SetItemIndex(2);
  f.step->SetPosition(9);
  f.station->SetLabel("Programme service");
  f.pages->SetActivePage(f.transmit);
  f.hidden->SetTabVisible(true);
  EXPECT_EQ(Text(Native(*f.frequency)), "100.10");
  EXPECT_TRUE(Checked(Native(*f.stereo)));
  EXPECT_EQ(Send(band, CB_GETCOUNT), 3);
  EXPECT_EQ(Send(band, CB_GETCURSEL), 2);
  EXPECT_TRUE(Checked(Item(*f.output, 2)));
  EXPECT_FALSE(Checked(Item(*f.output, 0)));
  EXPECT_EQ(Send(step, UDM_GETPOS32), 9);
  EXPECT_EQ(Text(::GetWindow(Native(*f.station), GW_HWNDPREV)), "Programme service");
  EXPECT_TRUE(::IsWindowVisible(Native(*f.transmit)));
  EXPECT_FALSE(::IsWindowVisible(Native(*f.receive)));
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 3);
  EXPECT_EQ(Send(tabs, TCM_GETCURSEL), 1);
  f.band->SetItemIndex(-1);
  EXPECT_EQ(Send(band, CB_GETCURSEL), -1);
  f.log->AddLine("third line");
  EXPECT_EQ(Text(Native(*f.log)), "first line\r\nsecond line\r\nthird line");
  f.log->SetLines({"only"});
  EXPECT_EQ(Text(Native(*f.log)), "only");
}

TEST_F(BackendTest, EnabledAndVisibleFollowTheContainers) {
  DemoForm& f = *form;
  HWND station_caption = ::GetWindow(Native(*f.station), GW_HWNDPREV);
  f.tuning->SetEnabled(false);
  f.output->SetEnabled(false);
  for (const ui::Control* control :
       std::initializer_list<const ui::Control*>{f.tune, f.frequency, f.station, f.stereo, f.band})
    EXPECT_FALSE(::IsWindowEnabled(Native(*control))) << control->name();
  EXPECT_FALSE(::IsWindowEnabled(station_caption)) << "the labelled edit's caption";
  EXPECT_FALSE(::IsWindowEnabled(Item(*f.output, 1)));
  f.tuning->SetEnabled(true);
  f.output->SetEnabled(true);
  EXPECT_TRUE(::IsWindowEnabled(Native(*f.tune)));
  EXPECT_TRUE(::IsWindowEnabled(Item(*f.output, 1)));

  f.station->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Native(*f.station)));
  EXPECT_FALSE(::IsWindowVisible(station_caption));
  f.station->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(Native(*f.station)));
}

// Counts the messages that put items or text into a native control, by
// standing in front of its window procedure.
std::map<UINT, int> g_writes;
WNDPROC g_original = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  ++g_writes[message];
  return ::CallWindowProcA(g_original, window, message, w, l);
}

template <typename Fill>
std::map<UINT, int> CountWrites(HWND window, Fill fill) {
  g_writes.clear();
  g_original = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  fill();
  ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_original));
  return g_writes;
}

// Filling a list item by item, or a memo line by line, puts each item or
// line into the native control once: linear, not a refill per item. A memo
// replaced as a whole each tick (the RDS report) is written once a tick.
TEST_F(BackendTest, ListsAndMemosFollowTheModelIncrementally) {
  DemoForm& f = *form;
  HWND list = Native(*f.band);
  f.band->ClearItems();
  auto writes = CountWrites(list, [&] {
    for (int i = 0; i < 50; ++i) f.band->AddItem(std::to_string(87500000 + i * 100000));
  });
  EXPECT_EQ(writes[CB_ADDSTRING] + writes[CB_INSERTSTRING], 50);
  EXPECT_EQ(writes[CB_RESETCONTENT], 0);
  EXPECT_EQ(Send(list, CB_GETCOUNT), 50);

  HWND memo = Native(*f.log);
  f.log->Clear();
  writes = CountWrites(memo, [&] {
    for (int tick = 0; tick < 100; ++tick) f.log->AddLine("tick " + std::to_string(tick));
  });
  EXPECT_EQ(writes[EM_REPLACESEL] + writes[WM_SETTEXT], 100);
  EXPECT_LE(writes[WM_SETTEXT], 1) << "only the first line may set the whole text";
  EXPECT_EQ(Send(memo, EM_GETLINECOUNT), 100);

  writes = CountWrites(memo, [&] {
    for (int tick = 0; tick < 100; ++tick)
      f.log->SetLines(std::vector<std::string>(27, "0xC201 0x0408 0xE0CD 0x434C"));
  });
  EXPECT_EQ(writes[WM_SETTEXT], 100);
  EXPECT_EQ(writes[EM_REPLACESEL], 0);
}

}  // namespace
}  // namespace testing_windows
