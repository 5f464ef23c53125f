// Checks the Win32 backend of the component model on a form that holds one
// control of every kind, inside an MDI frame like the host's: the native
// controls mirror the model, native input reaches the model as the user
// operations, timers run on the message loop, and the layout keeps
// siblings apart. Saves an image of the frame. Prints one line per check
// and "N passed, M failed"; exits non-zero on a failure.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame_window.h"
#include "screenshot.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"
#include "ui/win32/win32_services.h"

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool ok, const std::string& what) {
  (ok ? g_passed : g_failed) += 1;
  std::printf("%s %s\n", ok ? "PASS" : "FAIL", what.c_str());
  std::fflush(stdout);
}

std::string Text(HWND window) {
  char buffer[4096] = {};
  ::GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

// Every kind of the component model, with the handlers counting.
struct DemoForm : ui::Form {
  explicit DemoForm(ui::Application& app) : ui::Form(app, "TBackendDemo") {
    SetCaption("Backend demo");
    tuning = &Add<ui::GroupBox>("grpTuning", this, "Tuning");
    Add<ui::Label>("lblFrequency", tuning, "Frequency (MHz)");
    frequency = &Add<ui::Edit>("edtFrequency", tuning, "87.50");
    step = &Add<ui::UpDown>("udStep", tuning, 0, 10, 5);
    tune = &Add<ui::Button>("btnTune", tuning, "Tune");
    station = &Add<ui::LabeledEdit>("ledStation", tuning, "Station name", "SONVIO");
    station->set_new_row(true);
    band = &Add<ui::ComboBox>("cmbBand", tuning, ui::ComboBox::Style::kDropDownList,
                              std::vector<std::string>{"Europe/US", "Japan"}, 0);
    preset = &Add<ui::ComboBox>("cmbPreset", tuning, ui::ComboBox::Style::kDropDown,
                                std::vector<std::string>{"87.5", "100.1", "107.9"}, 1);
    stereo = &Add<ui::CheckBox>("chkStereo", tuning, "Stereo", false);
    stereo->set_new_row(true);
    mute = &Add<ui::CheckBox>("chkMute", tuning, "Mute", true);
    sync = &Add<ui::Label>("lblSync", tuning, "RDS sync");
    sync->SetColor(ui::Label::Color::kGreen);
    signal = &Add<ui::Label>("lblSignal", tuning, "No signal");
    signal->SetColor(ui::Label::Color::kRed);

    output = &Add<ui::RadioGroup>("rgOutput", this, "Audio output",
                                  std::vector<std::string>{"Headset", "Speaker", "Both"}, 0, 2);
    notes = &Add<ui::Label>("lblNotes", this, "Two-line label:\nsecond line");

    pages = &Add<ui::PageControl>("pcPages", this);
    pages->set_new_row(true);
    receive = &Add<ui::TabSheet>("tsReceive", pages, "Receive");
    transmit = &Add<ui::TabSheet>("tsTransmit", pages, "Transmit");
    hidden = &Add<ui::TabSheet>("tsHidden", pages, "Hidden");
    hidden->SetTabVisible(false);
    log = &Add<ui::Memo>("memLog", receive);
    log->SetLines({"first line", "second line"});
    send = &Add<ui::Button>("btnSend", transmit, "Send");
    send->SetEnabled(false);
    ticker = &Add<ui::Timer>("tmrTicker", 30, false);
    once = &Add<ui::Timer>("tmrOnce", 20, false);
    open = &Add<ui::OpenDialog>("dlgOpen");

    tune->OnClick = [this] { ++clicks; };
    send->OnClick = [this] { ++clicks; };
    stereo->OnClick = [this] { ++toggles; };
    output->OnClick = [this] { ++radio_clicks; };
    frequency->OnChange = [this] { ++changes; };
    frequency->OnExit = [this] { ++exits; };
    band->OnClick = [this] { events += "click "; };
    band->OnChange = [this] { events += "change "; };
    band->OnDropDown = [this] { events += "dropdown "; };
    step->OnClick = [this](bool up) { events += up ? "up " : "down "; };
    ticker->OnTimer = [this] { ++ticks; };
    once->OnTimer = [this] {
      ++once_ticks;
      once->SetEnabled(false);
    };
    OnClose = [this] { ++closes; };
  }

  ui::GroupBox* tuning;
  ui::Edit* frequency;
  ui::UpDown* step;
  ui::Button* tune;
  ui::LabeledEdit* station;
  ui::ComboBox* band;
  ui::ComboBox* preset;
  ui::CheckBox* stereo;
  ui::CheckBox* mute;
  ui::Label* sync;
  ui::Label* signal;
  ui::RadioGroup* output;
  ui::Label* notes;
  ui::PageControl* pages;
  ui::TabSheet* receive;
  ui::TabSheet* transmit;
  ui::TabSheet* hidden;
  ui::Memo* log;
  ui::Button* send;
  ui::Timer* ticker;
  ui::Timer* once;
  ui::OpenDialog* open;
  int clicks = 0;
  int toggles = 0;
  int radio_clicks = 0;
  int changes = 0;
  int exits = 0;
  int ticks = 0;
  int once_ticks = 0;
  int closes = 0;
  std::string events;
};

class Demo {
 public:
  Demo(ui::Win32Services& services, DemoForm& form) : services_(services), form_(form) {}

  HWND Native(const ui::Control& control) const {
    return static_cast<HWND>(services_.NativeHandle(control));
  }

  void Pump(uint32_t ms = 0) { services_.Advance(ms); }

  void CheckMirroring() {
    DemoForm& f = form_;
    bool all_native = true;
    for (const auto& component : f.components()) {
      auto* control = dynamic_cast<ui::Control*>(component.get());
      if (control != nullptr && Native(*control) == nullptr) {
        all_native = false;
        std::printf("  no native window for %s\n", control->name().c_str());
      }
    }
    Check(all_native, "every control has a native window");
    Check(Text(Native(f)) == "Backend demo", "form caption");
    Check(Text(Native(*f.frequency)) == "87.50", "edit text");
    Check(Text(Native(*f.station)) == "SONVIO", "labelled edit text");
    Check(Text(Native(*f.tune)) == "Tune", "button caption");
    Check(::SendMessageA(Native(*f.mute), BM_GETCHECK, 0, 0) == BST_CHECKED &&
              ::SendMessageA(Native(*f.stereo), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          "check box states");
    Check(::SendMessageA(Native(*f.band), CB_GETCOUNT, 0, 0) == 2 &&
              ::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0) == 0,
          "drop-down list items and selection");
    Check(Text(Native(*f.preset)) == "100.1", "editable combo text");
    Check(::SendMessageA(Native(*f.step), UDM_GETPOS32, 0, 0) == 5, "up-down position");
    HWND first = static_cast<HWND>(services_.NativeItemHandle(*f.output, 0));
    HWND second = static_cast<HWND>(services_.NativeItemHandle(*f.output, 1));
    Check(first != nullptr && second != nullptr &&
              ::SendMessageA(first, BM_GETCHECK, 0, 0) == BST_CHECKED &&
              ::SendMessageA(second, BM_GETCHECK, 0, 0) == BST_UNCHECKED,
          "radio group selection");
    Check(Text(Native(*f.log)) == "first line\r\nsecond line", "memo lines");
    Check(!::IsWindowEnabled(Native(*f.send)), "disabled button");
    Check(::IsWindowVisible(Native(*f.receive)) && !::IsWindowVisible(Native(*f.transmit)),
          "only the active tab sheet shows");
    HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
    Check(tabs != nullptr && ::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 2,
          "a sheet without tab has no tab");
  }

  void CheckModelChanges() {
    DemoForm& f = form_;
    f.frequency->SetText("100.10");
    Check(Text(Native(*f.frequency)) == "100.10", "SetText reaches the edit");
    f.stereo->SetChecked(true);
    Check(::SendMessageA(Native(*f.stereo), BM_GETCHECK, 0, 0) == BST_CHECKED,
          "SetChecked reaches the check box");
    f.band->SetItems({"A", "B", "C"});
    f.band->SetItemIndex(2);
    Check(::SendMessageA(Native(*f.band), CB_GETCOUNT, 0, 0) == 3 &&
              ::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0) == 2,
          "new combo items and selection");
    f.band->SetItemIndex(-1);
    Check(::SendMessageA(Native(*f.band), CB_GETCURSEL, 0, 0) == -1, "cleared combo selection");
    f.output->SetItemIndex(2);
    HWND third = static_cast<HWND>(services_.NativeItemHandle(*f.output, 2));
    Check(::SendMessageA(third, BM_GETCHECK, 0, 0) == BST_CHECKED, "radio group index");
    f.log->AddLine("third line");
    Check(Text(Native(*f.log)) == "first line\r\nsecond line\r\nthird line", "memo line added");
    f.log->SetLines({"only"});
    Check(Text(Native(*f.log)) == "only", "memo lines replaced");
    f.tuning->SetEnabled(false);
    Check(!::IsWindowEnabled(Native(*f.tune)) && !::IsWindowEnabled(Native(*f.frequency)),
          "a disabled group box disables its controls");
    f.tuning->SetEnabled(true);
    Check(::IsWindowEnabled(Native(*f.tune)), "enabled again");
    f.signal->SetVisible(false);
    Check(!::IsWindowVisible(Native(*f.signal)), "hidden label");
    f.signal->SetVisible(true);
    f.signal->SetCaption("Signal: a much longer read-out text than before");
    Pump();
    RECT label{};
    ::GetWindowRect(Native(*f.signal), &label);
    Check(label.right - label.left > 200, "a longer caption widens the label after relayout");
    f.pages->SetActivePage(f.transmit);
    Check(::IsWindowVisible(Native(*f.transmit)) && !::IsWindowVisible(Native(*f.receive)),
          "active page shown");
    f.pages->SetActivePage(f.receive);
  }

  void CheckNativeInput() {
    DemoForm& f = form_;
    ::SendMessageA(Native(*f.tune), BM_CLICK, 0, 0);
    Check(f.clicks == 1, "a click on the button fires OnClick");
    f.stereo->SetChecked(false);
    const int toggles = f.toggles;
    ::SendMessageA(Native(*f.stereo), BM_CLICK, 0, 0);
    Check(f.stereo->checked() && f.toggles == toggles + 1 &&
              ::SendMessageA(Native(*f.stereo), BM_GETCHECK, 0, 0) == BST_CHECKED,
          "a click on the check box toggles it and fires OnClick");
    ::SendMessageA(static_cast<HWND>(services_.NativeItemHandle(*f.output, 1)), BM_CLICK, 0, 0);
    Check(f.output->item_index() == 1 && f.radio_clicks == 1,
          "a click on a radio button selects it");

    const int changes = f.changes;
    ::SetWindowTextA(Native(*f.frequency), "98.30");
    Check(f.frequency->text() == "98.30" && f.changes == changes + 1,
          "typing into the edit fires OnChange");
    ::SetFocus(Native(*f.frequency));
    Check(services_.Focused() == f.frequency, "the focused control is known");
    ::SetFocus(Native(*f.tune));
    Check(f.exits == 1, "leaving the edit fires OnExit");
    services_.SetFocus(f.station);
    Check(::GetFocus() == Native(*f.station), "SetFocus moves the native focus");

    f.band->SetItems({"Europe/US", "Japan"});
    f.events.clear();
    HWND band = Native(*f.band);
    ::SendMessageA(band, CB_SETCURSEL, 1, 0);
    ::SendMessageA(::GetParent(band), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(band));
    Check(f.band->item_index() == 1 && f.events == "click change ",
          "selecting a combo item fires OnClick, then OnChange");
    f.events.clear();
    ::SendMessageA(band, CB_SHOWDROPDOWN, TRUE, 0);
    ::SendMessageA(band, CB_SHOWDROPDOWN, FALSE, 0);
    Check(f.events.rfind("dropdown ", 0) == 0, "opening the list fires OnDropDown");

    f.events.clear();
    NMUPDOWN change{};
    change.hdr.hwndFrom = Native(*f.step);
    change.hdr.code = static_cast<UINT>(UDN_DELTAPOS);
    change.iPos = f.step->position();
    change.iDelta = 1;
    ::SendMessageA(::GetParent(Native(*f.step)), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    Check(f.step->position() == 6 && f.events == "up " &&
              ::SendMessageA(Native(*f.step), UDM_GETPOS32, 0, 0) == 6,
          "the up arrow moves the position and fires OnClick");

    HWND tabs = ::FindWindowExA(Native(*f.pages), nullptr, WC_TABCONTROLA, nullptr);
    ::SendMessageA(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR selected{tabs, 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(Native(*f.pages), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&selected));
    Check(f.pages->active_page() == f.transmit, "picking a tab activates its sheet");
    f.pages->SetActivePage(f.receive);

    ::SendMessageA(Native(*f.send), BM_CLICK, 0, 0);
    Check(f.clicks == 1, "a disabled button fires nothing");
  }

  void CheckServices() {
    DemoForm& f = form_;
    f.ticker->SetEnabled(true);
    f.once->SetEnabled(true);
    services_.Sleep(120);
    Check(f.ticks == 0 && f.once_ticks == 0, "no timer fires while the thread sleeps");
    Pump(400);
    Check(f.ticks >= 3, "a 30 ms timer fires during 400 ms of message loop (" +
                            std::to_string(f.ticks) + " times)");
    Check(f.once_ticks == 1, "a timer that disables itself fires once");
    f.ticker->SetEnabled(false);
    const int ticks = f.ticks;
    Pump(100);
    Check(f.ticks == ticks, "a disabled timer stays quiet");

    services_.ShowMessage("Frequency out of range", "Error", ui::MessageIcon::kError);
    const std::vector<ui::ShownMessage> shown = services_.TakeMessages().messages;
    Check(shown.size() == 1 && shown[0].caption == "Error" &&
              shown[0].icon == ui::MessageIcon::kError && services_.TakeMessages().messages.empty(),
          "automated message boxes are recorded, not shown");
    services_.QueueFileAnswer("C:\\data\\rds.txt");
    Check(f.open->Execute() && f.open->file_name == "C:\\data\\rds.txt",
          "a queued answer picks the file");
    Check(!f.open->Execute(), "without an answer the automated dialog is cancelled");
    services_.SetCursor(ui::Cursor::kHourGlass);
    Check(services_.CurrentCursor() == ui::Cursor::kHourGlass, "hourglass cursor");
    services_.SetCursor(ui::Cursor::kDefault);
  }

  // Siblings in one container never overlap, and every control lies
  // inside its container.
  void CheckLayout() {
    bool apart = true;
    bool inside = true;
    for (const auto& component : form_.components()) {
      auto* container = dynamic_cast<ui::Control*>(component.get());
      if (container == nullptr || container->children().empty()) continue;
      RECT bounds{};
      ::GetWindowRect(Native(*container), &bounds);
      if (container == &form_) ::GetWindowRect(::GetWindow(Native(form_), GW_CHILD), &bounds);
      std::vector<RECT> placed;
      for (const ui::Control* child : container->children()) {
        if (child->kind() == ui::Kind::kTabSheet) continue;
        RECT r{};
        ::GetWindowRect(Native(*child), &r);
        if (r.left < bounds.left || r.top < bounds.top || r.right > bounds.right ||
            r.bottom > bounds.bottom) {
          inside = false;
          std::printf("  %s sticks out of %s\n", child->name().c_str(), container->name().c_str());
        }
        for (const RECT& other : placed) {
          RECT overlap{};
          if (::IntersectRect(&overlap, &r, &other)) {
            apart = false;
            std::printf("  %s overlaps a sibling\n", child->name().c_str());
          }
        }
        placed.push_back(r);
      }
    }
    Check(apart, "siblings do not overlap");
    Check(inside, "controls lie inside their containers");
  }

  void CheckClose() {
    DemoForm& f = form_;
    ::SendMessageA(Native(f), WM_CLOSE, 0, 0);
    Check(f.closes == 1 && Native(f) == nullptr, "closing the window runs OnClose");
    f.Show();
    Check(Native(f) != nullptr && Text(Native(*f.tune)) == "Tune", "showing it again rebuilds it");
  }

 private:
  ui::Win32Services& services_;
  DemoForm& form_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string screenshot = argc > 1 ? argv[1] : "";
  ui::Win32Services services;
  services.set_automated(true);
  ui::Application app(services);
  {
    benchora::FrameWindow frame("Backend demo host", 900, 700);
    if (!frame.ok()) {
      std::printf("FAIL the frame window could not be created\n");
      return 1;
    }
    auto& form = static_cast<DemoForm&>(app.Adopt(std::make_unique<DemoForm>(app)));
    form.Show();
    Demo demo(services, form);
    demo.Pump(50);

    bool maximized = false;
    Check(frame.ActiveChild(maximized) == demo.Native(form), "the form is an MDI child");
    demo.CheckMirroring();
    demo.CheckModelChanges();
    demo.CheckNativeInput();
    demo.CheckServices();
    demo.Pump(50);
    demo.CheckLayout();
    if (!screenshot.empty()) {
      std::string error;
      Check(benchora::SaveWindowImage(frame.window(), screenshot, error), "screenshot " + error);
    }
    demo.CheckClose();
    app.DestroyForm(&form);
    Check(::GetWindow(frame.mdi_client(), GW_CHILD) == nullptr, "destroying the form removes it");
  }

  // A host without an MDI frame gets a top-level window.
  ui::Form& lone = app.Adopt(std::make_unique<ui::Form>(app, "TLone"));
  lone.SetCaption("Lone form");
  lone.Add<ui::Button>("btnLone", &lone, "Lone");
  lone.Show();
  HWND window = static_cast<HWND>(services.NativeHandle(lone));
  Check(window != nullptr && ::GetParent(window) == nullptr && ::IsWindowVisible(window) &&
            (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0,
        "without an MDI frame the form is a top-level window");
  app.DestroyForm(&lone);
  Check(!::IsWindow(window), "and goes with its form");

  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
