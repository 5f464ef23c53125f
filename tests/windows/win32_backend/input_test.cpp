// Native input reaches the model as the user operations, and input the
// model refuses leaves the native controls showing the model.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, ClicksReachTheModel) {
  DemoForm& f = *form;
  ::SendMessageA(Native(*f.tune), BM_CLICK, 0, 0);
  ::SendMessageA(Native(*f.stereo), BM_CLICK, 0, 0);
  ::SendMessageA(Item(*f.output, 1), BM_CLICK, 0, 0);
  ::SendMessageA(Native(*f.send), BM_CLICK, 0, 0);  // disabled: nothing
  EXPECT_EQ(f.events, "tune stereo output ");
  EXPECT_TRUE(f.stereo->checked());
  EXPECT_TRUE(Checked(Native(*f.stereo)));
  EXPECT_EQ(f.output->item_index(), 1);
  EXPECT_FALSE(Checked(Item(*f.output, 0)));
}

TEST_F(BackendTest, TypingAndFocusReachTheModel) {
  DemoForm& f = *form;
  ::SetWindowTextA(Native(*f.frequency), "98.30");
  EXPECT_EQ(f.frequency->text(), "98.30");
  ::SetFocus(Native(*f.frequency));
  EXPECT_EQ(services.Focused(), f.frequency);
  ::SetFocus(Native(*f.tune));
  EXPECT_EQ(f.events, "typed left ");
  services.SetFocus(f.station);
  EXPECT_EQ(::GetFocus(), Native(*f.station));

  HWND preset = Native(*f.preset);
  ::SetWindowTextA(preset, "99.9");
  Command(preset, CBN_EDITCHANGE);
  EXPECT_EQ(f.preset->text(), "99.9");
  EXPECT_EQ(f.preset->item_index(), -1);
}

TEST_F(BackendTest, ListsArrowsAndTabsReachTheModel) {
  DemoForm& f = *form;
  HWND band = Native(*f.band);
  ::SendMessageA(band, CB_SETCURSEL, 1, 0);
  Command(band, CBN_SELCHANGE);
  EXPECT_EQ(f.band->item_index(), 1);
  EXPECT_EQ(f.events, "band-click band-change ");
  f.events.clear();
  ::SendMessageA(band, CB_SHOWDROPDOWN, TRUE, 0);
  ::SendMessageA(band, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(f.events.rfind("band-dropdown ", 0), 0u) << f.events;

  f.events.clear();
  NMUPDOWN change{};
  change.hdr.hwndFrom = Native(*f.step);
  change.hdr.code = static_cast<UINT>(UDN_DELTAPOS);
  change.iDelta = 1;
  Notify(change.hdr);
  EXPECT_EQ(f.step->position(), 6);
  EXPECT_EQ(f.events, "up ");
  EXPECT_EQ(::SendMessageA(Native(*f.step), UDM_GETPOS32, 0, 0), 6);

  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  ::SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
  NMHDR selected{tabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
  Notify(selected);
  EXPECT_EQ(f.pages->active_page(), f.transmit);
  EXPECT_TRUE(::IsWindowVisible(Native(*f.transmit)));
}

// The system changed a control as the user asked, but the model refuses
// the operation (a read-only edit, controls in a disabled group): the
// control shows the model's state again and no handler fires.
TEST_F(BackendTest, RefusedInputShowsTheModelAgain) {
  DemoForm& f = *form;
  struct Case {
    const char* what;
    std::function<void()> act;
    std::function<bool()> shows_model;
  };
  HWND stereo = Native(*f.stereo);
  HWND band = Native(*f.band);
  HWND step = Native(*f.step);
  HWND speaker = Item(*f.output, 1);
  NMUPDOWN change{};
  change.hdr = {step, 0, static_cast<UINT>(UDN_DELTAPOS)};
  change.iDelta = 1;
  const Case cases[] = {
      {"typing into a read-only edit", [&] { ::SetWindowTextA(Native(*f.frequency), "1.0"); },
       [&] { return Text(Native(*f.frequency)) == "87.50"; }},
      {"toggling a check box",
       [&] {
         ::SendMessageA(stereo, BM_SETCHECK, BST_CHECKED, 0);
         Command(stereo, BN_CLICKED);
       },
       [&] { return !Checked(stereo); }},
      {"picking a combo item",
       [&] {
         ::SendMessageA(band, CB_SETCURSEL, 1, 0);
         Command(band, CBN_SELCHANGE);
       },
       [&] { return ::SendMessageA(band, CB_GETCURSEL, 0, 0) == 0; }},
      {"pressing an arrow",
       [&] {
         ::SendMessageA(step, UDM_SETPOS32, 0, 9);
         Notify(change.hdr);
       },
       [&] { return ::SendMessageA(step, UDM_GETPOS32, 0, 0) == 5; }},
      {"picking a radio button",
       [&] {
         ::SendMessageA(speaker, BM_SETCHECK, BST_CHECKED, 0);
         Command(speaker, BN_CLICKED);
       },
       [&] { return !Checked(speaker) && Checked(Item(*f.output, 0)); }},
  };
  f.frequency->set_read_only(true);
  f.tuning->SetEnabled(false);
  f.output->SetEnabled(false);
  for (const Case& c : cases) {
    c.act();
    EXPECT_TRUE(c.shows_model()) << c.what;
  }
  EXPECT_EQ(f.events, "");
  EXPECT_EQ(f.frequency->text(), "87.50");
  EXPECT_FALSE(f.stereo->checked());
  EXPECT_EQ(f.step->position(), 5);
}

}  // namespace
}  // namespace testing_windows
