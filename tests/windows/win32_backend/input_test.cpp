// Native input reaches the model as the user operations, and input the
// model refuses leaves the native controls showing the model.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <tuple>

#include "backend_fixture.h"

namespace testing_windows {
namespace {

TEST_F(BackendTest, ClicksTypingAndFocusReachTheModel) {
  DemoForm& f = *form;
  Send(Native(*f.tune), BM_CLICK);
  Send(Native(*f.stereo), BM_CLICK);
  Send(Item(*f.output, 1), BM_CLICK);
  Send(Native(*f.send), BM_CLICK);  // disabled: nothing
  EXPECT_EQ(f.events, "tune stereo output ");
  EXPECT_TRUE(f.stereo->checked());
  EXPECT_TRUE(Checked(Native(*f.stereo)));
  EXPECT_EQ(f.output->item_index(), 1);
  EXPECT_FALSE(Checked(Item(*f.output, 0)));

  f.events.clear();
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
  Send(band, CB_SETCURSEL, 1);
  Command(band, CBN_SELCHANGE);
  EXPECT_EQ(f.band->item_index(), 1);
  EXPECT_EQ(f.events, "band-click band-change ");
  f.events.clear();
  Send(band, CB_SHOWDROPDOWN, TRUE);
  Send(band, CB_SHOWDROPDOWN, FALSE);
  EXPECT_EQ(f.events.rfind("band-dropdown ", 0), 0u) << f.events;

  f.events.clear();
  NMUPDOWN change{};
  change.hdr = {Native(*f.step), 0, static_cast<UINT>(UDN_DELTAPOS)};
  change.iDelta = 1;
  Notify(change.hdr);
  EXPECT_EQ(f.step->position(), 6);
  EXPECT_EQ(f.events, "up ");
  EXPECT_EQ(Send(Native(*f.step), UDM_GETPOS32), 6);

  HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
  Send(tabs, TCM_SETCURSEL, 1);
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
  HWND stereo = Native(*f.stereo);
  HWND band = Native(*f.band);
  HWND step = Native(*f.step);
  HWND speaker = Item(*f.output, 1);
  NMUPDOWN change{};
  change.hdr = {step, 0, static_cast<UINT>(UDN_DELTAPOS)};
  change.iDelta = 1;
  const std::tuple<const char*, std::function<void()>, std::function<bool()>> cases[] = {
      {"typing into a read-only edit", [&] { ::SetWindowTextA(Native(*f.frequency), "1.0"); },
       [&] { return Text(Native(*f.frequency)) == "87.50"; }},
      {"toggling a check box",
       [&] {
         Send(stereo, BM_SETCHECK, BST_CHECKED);
         Command(stereo, BN_CLICKED);
       },
       [&] { return !Checked(stereo); }},
      {"picking a combo item",
       [&] {
         Send(band, CB_SETCURSEL, 1);
         Command(band, CBN_SELCHANGE);
       },
       [&] { return Send(band, CB_GETCURSEL) == 0; }},
      {"pressing an arrow",
       [&] {
         Send(step, UDM_SETPOS32, 0, 9);
         Notify(change.hdr);
       },
       [&] { return Send(step, UDM_GETPOS32) == 5; }},
      {"picking a radio button",
       [&] {
         Send(speaker, BM_SETCHECK, BST_CHECKED);
         Command(speaker, BN_CLICKED);
       },
       [&] { return !Checked(speaker) && Checked(Item(*f.output, 0)); }},
  };
  f.frequency->set_read_only(true);
  f.tuning->SetEnabled(false);
  f.output->SetEnabled(false);
  for (const auto& [what, act, shows_model] : cases) {
    act();
    EXPECT_TRUE(shows_model()) << what;
  }
  EXPECT_EQ(f.events, "");
  EXPECT_EQ(f.frequency->text(), "87.50");
  EXPECT_FALSE(f.stereo->checked());
  EXPECT_EQ(f.step->position(), 5);
}

}  // namespace
}  // namespace testing_windows
