// A form with a control of every kind in every kind of container, its
// handlers counting what fires: the Windows backend's tests run it natively
// (layout) and under Wine (native controls).
#pragma once

#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace testing_windows {

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

    tune->OnClick = [this] { events += "tune "; };
    send->OnClick = [this] { events += "send "; };
    stereo->OnClick = [this] { events += "stereo "; };
    output->OnClick = [this] { events += "output "; };
    frequency->OnChange = [this] { events += "typed "; };
    frequency->OnExit = [this] { events += "left "; };
    band->OnClick = [this] { events += "band-click "; };
    band->OnChange = [this] { events += "band-change "; };
    band->OnDropDown = [this] { events += "band-dropdown "; };
    step->OnClick = [this](bool up) { events += up ? "up " : "down "; };
    ticker->OnTimer = [this] { ++ticks; };
    once->OnTimer = [this] {
      ++once_ticks;
      once->SetEnabled(false);
    };
    OnClose = [this] { events += "close "; };
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
  // The handlers that fired, in order ("tune typed left ").
  std::string events;
  int ticks = 0;
  int once_ticks = 0;
};

}  // namespace testing_windows
