// The native controls show the model's state and hand native input to it,
// and follow a growing list or memo without refilling.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, NativeControlsAndTheModelFollowEachOther) {
  DemoForm& f = *form;
  HWND band = Native(*f.band);
  HWND caption = ::GetWindow(Native(*f.station), GW_HWNDPREV);  // the labelled edit's
  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(Text(Native(*f.station)), "SONVIO");
  EXPECT_EQ(Text(Native(*f.log)), "first line\r\nsecond line");
  EXPECT_TRUE(Checked(Native(*f.mute)));
  EXPECT_EQ(Send(Native(*f.step), UDM_GETPOS32), 5);
  EXPECT_FALSE(::IsWindowEnabled(Native(*f.send)));
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 2) << "a sheet without tab has no tab";

  // Native input reaches the model as the user operations.
  Send(Native(*f.tune), BM_CLICK);
  Send(Item(*f.output, 1), BM_CLICK);
  ::SetWindowTextA(Native(*f.frequency), "98.30");
  Send(band, CB_SETCURSEL, 1);
  Command(band, CBN_SELCHANGE);
  EXPECT_EQ(f.events, "tune output typed band-click band-change ");
  EXPECT_EQ(f.output->item_index(), 1);
  EXPECT_EQ(f.frequency->text(), "98.30");
  EXPECT_EQ(f.band->item_index(), 1);

  f.output->SetItemIndex(2);
  f.station->SetLabel("Programme service");
  f.hidden->SetTabVisible(true);
  EXPECT_TRUE(Checked(Item(*f.output, 2)));
  EXPECT_FALSE(Checked(Item(*f.output, 1)));
  EXPECT_EQ(Text(caption), "Programme service");
  EXPECT_EQ(Send(tabs, TCM_GETITEMCOUNT), 3);

  // Input the model refuses (a read-only edit, a disabled group) leaves the
  // controls showing the model, and no handler fires.
  f.events.clear();
  f.frequency->set_read_only(true);
  f.tuning->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(caption));
  ::SetWindowTextA(Native(*f.frequency), "1.0");
  Send(band, CB_SETCURSEL, 0);
  Command(band, CBN_SELCHANGE);
  EXPECT_EQ(Text(Native(*f.frequency)), "98.30");
  EXPECT_EQ(Send(band, CB_GETCURSEL), 1);
  EXPECT_EQ(f.events, "");
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
