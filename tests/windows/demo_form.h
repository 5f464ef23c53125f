// A form with a control of every kind in every kind of container, its
// handlers counting what fires: the Windows backend's tests run it natively
// (layout) and under Wine (native controls).
#pragma once

#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace testing_windows {

struct DemoForm : ui::Form {
  using Items = std::vector<std::string>;
  explicit DemoForm(ui::Application& app) : ui::Form(app, "TBackendDemo") {
    SetCaption("Backend demo");
    station->set_new_row(true);
    stereo->set_new_row(true);
    sync->SetColor(ui::Label::Color::kGreen);
    signal->SetColor(ui::Label::Color::kRed);
    pages->set_new_row(true);
    hidden->SetTabVisible(false);
    log->SetLines({"first line", "second line"});
    send->SetEnabled(false);

    tune->OnClick = [this] { events += "tune "; };
    output->OnClick = [this] { events += "output "; };
    frequency->OnChange = [this] { events += "typed "; };
    band->OnClick = [this] { events += "band-click "; };
    band->OnChange = [this] { events += "band-change "; };
  }

  // In the order they are added.
  ui::GroupBox* tuning = &Add<ui::GroupBox>("grpTuning", this, "Tuning");
  ui::Label* frequency_label = &Add<ui::Label>("lblFrequency", tuning, "Frequency (MHz)");
  ui::Edit* frequency = &Add<ui::Edit>("edtFrequency", tuning, "87.50");
  ui::UpDown* step = &Add<ui::UpDown>("udStep", tuning, 0, 10, 5);
  ui::Button* tune = &Add<ui::Button>("btnTune", tuning, "Tune");
  ui::LabeledEdit* station = &Add<ui::LabeledEdit>("ledStation", tuning, "Station name", "SONVIO");
  ui::ComboBox* band = &Add<ui::ComboBox>("cmbBand", tuning, ui::ComboBox::Style::kDropDownList,
                                          Items{"Europe/US", "Japan"}, 0);
  ui::ComboBox* preset = &Add<ui::ComboBox>("cmbPreset", tuning, ui::ComboBox::Style::kDropDown,
                                            Items{"87.5", "100.1", "107.9"}, 1);
  ui::CheckBox* stereo = &Add<ui::CheckBox>("chkStereo", tuning, "Stereo", false);
  ui::CheckBox* mute = &Add<ui::CheckBox>("chkMute", tuning, "Mute", true);
  ui::Label* sync = &Add<ui::Label>("lblSync", tuning, "RDS sync");
  ui::Label* signal = &Add<ui::Label>("lblSignal", tuning, "No signal");
  ui::RadioGroup* output = &Add<ui::RadioGroup>("rgOutput", this, "Audio output",
                                                Items{"Headset", "Speaker", "Both"}, 0, 2);
  ui::Label* notes = &Add<ui::Label>("lblNotes", this, "Two-line label:\nsecond line");
  ui::PageControl* pages = &Add<ui::PageControl>("pcPages", this);
  ui::TabSheet* receive = &Add<ui::TabSheet>("tsReceive", pages, "Receive");
  ui::TabSheet* transmit = &Add<ui::TabSheet>("tsTransmit", pages, "Transmit");
  ui::TabSheet* hidden = &Add<ui::TabSheet>("tsHidden", pages, "Hidden");
  ui::Memo* log = &Add<ui::Memo>("memLog", receive);
  ui::Button* send = &Add<ui::Button>("btnSend", transmit, "Send");
  // The handlers that fired, in order ("tune typed ").
  std::string events;
};

}  // namespace testing_windows
