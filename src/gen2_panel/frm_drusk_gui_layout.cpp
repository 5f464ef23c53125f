// The window's controls and their defaults, one function per group box in
// reading order. A caption label in front of a control starts a new row.
#include <string>
#include <vector>

#include "gen2_panel/frm_drusk_gui.h"

namespace gen2_panel {

namespace {

using ui::Row;
using Items = std::vector<std::string>;
using Style = ui::ComboBox::Style;

// Width hints, in average characters, of controls whose texts come later:
// nine-digit frequencies in hertz, levels of a few digits, most of a line
// of RDS blocks, quick-information values and version texts; and of the
// titles beside the read-outs, as wide as the widest, so that the values
// line up.
constexpr int kFrequencyChars = 11;
constexpr int kLevelChars = 5;
constexpr int kRdsLineChars = 52;
constexpr int kValueChars = 14;
constexpr int kVersionChars = 16;
constexpr int kQuickInfoTitleChars = 26;
constexpr int kVersionTitleChars = 16;

// Gain control indexes "0" to "15".
Items GainIndexItems() {
  Items items;
  for (int i = 0; i <= 15; ++i) items.push_back(std::to_string(i));
  return items;
}

}  // namespace

void Tfrm_DruskGUI::CreateControls() {
  PageControl1 = &Add<ui::PageControl>("PageControl1", this);
  ts_fmrx = &Add<ui::TabSheet>("ts_fmrx", PageControl1, "FM RX");
  ts_fmtx = &Add<ui::TabSheet>("ts_fmtx", PageControl1, "FM Tx");

  // Three columns that fit a 1024x768 bench screen without scrolling: the
  // receiver and its tuning; audio processing, the alert and the version;
  // the read-outs.
  ui::Builder page(*this, *ts_fmrx);
  CreateReceiver(page.In(page.AddGroup("gb_power", "Receiver")));
  CreateBand(page.In(page.AddGroup("gb_band", "Band")));
  CreateStation(page.In(page.AddGroup("gb_station", "Station")));
  CreateNoise(page.In(page.AddGroup("gb_noise", "Gain and Noise Reduction", Row::kNewColumn)));
  CreateVolume(page.In(page.AddGroup("gb_volume", "Volume (0 - 112)")));
  CreateRssiAlert(page.In(page.AddGroup("gb_rssi", "RSSI Alert")));
  CreateVersion(page.In(page.AddGroup("gb_version", "Version")));
  CreateRds(page.In(page.AddGroup("gb_rds", "RDS", Row::kNewColumn)));
  CreateQuickInfo(page.In(page.AddGroup("gb_quickinfo", "Quick Information")));

  // The transmitter page: hidden when the window is shown; its controls do
  // nothing.
  ui::Builder tx = ui::Builder(*this, *ts_fmtx);
  ui::Builder fmtx = tx.In(tx.AddGroup("gb_fmtx", "FM Tx"));
  fmtx.Add<ui::LabeledEdit>(Row::kSame, "le_tx_frequency", "Frequency (Hz)");
  fmtx.Add<ui::LabeledEdit>(Row::kSame, "le_tx_power", "Power Level");
  fmtx.AddButton("btn_tx_onoff", "On");

  ui::Builder form(*this, *this);
  btn_reset = &form.AddButton("btn_reset", "Reset All", Row::kNew);
  btn_writeall = &form.AddButton("btn_writeall", "Write All");

  Timer1 = &Add<ui::Timer>("Timer1", 1000u, false);
}

void Tfrm_DruskGUI::CreateReceiver(ui::Builder g) {
  btn_onoff = &g.AddButton("btn_onoff", "On");
  cb_dspmode = &g.AddCheck("cb_dspmode", "Force DSP Mode", false, Row::kSame);
  cb_audiooutput = &g.AddChoice("lbl_audiooutput", "Audio Output", "cb_audiooutput",
                                {"Headset", "Ear Piece", "Loud Speaker", "unconfig"}, -1);
  cb_antenna = &g.AddChoice("lbl_antenna", "Antenna", "cb_antenna", {"Internal", "External"}, -1);
}

void Tfrm_DruskGUI::CreateBand(ui::Builder g) {
  cb_band = &g.AddChoice("lbl_band", "Band", "cb_band", {"Manual", "Japan", "US", "Europe"}, -1);
  le_minfreq = &g.Add<ui::LabeledEdit>(Row::kNew, "le_minfreq", "Min Freq (Hz)");
  le_minfreq->set_width_chars(kFrequencyChars);
  le_maxfreq = &g.Add<ui::LabeledEdit>(Row::kSame, "le_maxfreq", "Max Freq (Hz)");
  le_maxfreq->set_width_chars(kFrequencyChars);
  rg_deemphasis = &g.Add<ui::RadioGroup>(Row::kNew, "rg_deemphasis", "De-emphasis",
                                         Items{"50 us", "75 us"}, -1, 2);
  cb_stepsize = &g.AddChoice("lbl_stepsize", "Step Size", "cb_stepsize",
                             {"50KHz", "100KHz", "200KHz"}, -1, Row::kNew, Style::kDropDown);
  btn_setband = &g.AddButton("btn_setband", "Set Band");
}

void Tfrm_DruskGUI::CreateStation(ui::Builder g) {
  le_frequency = &g.Add<ui::LabeledEdit>(Row::kSame, "le_frequency", "Frequency (Hz)");
  le_frequency->set_width_chars(kFrequencyChars);
  le_rssi = &g.Add<ui::LabeledEdit>(Row::kSame, "le_rssi", "Min RSSI", "0");
  le_rssi->set_width_chars(kLevelChars);
  btn_set_station = &g.AddButton("btn_set_station", "Set Frequency");
  btn_seekup = &g.AddButton("btn_seekup", "Seek Up", Row::kNew);
  btn_seekdown = &g.AddButton("btn_seekdown", "Seek Down");
  cb_wrap = &g.AddCheck("cb_wrap", "Wrap", false, Row::kSame);
  cb_station = &g.AddChoice("lbl_station", "Stations", "cb_station", {}, -1);
  cb_station->set_width_chars(kFrequencyChars);
  btn_findstation = &g.AddButton("btn_findstation", "Find Stations");
  cb_sideband = &g.AddChoice("lbl_sideband", "Sideband", "cb_sideband", {"High", "Low", "Auto"}, 2);
  cb_forcemono = &g.AddCheck("cb_forcemono", "Force Mono", false, Row::kSame);
}

void Tfrm_DruskGUI::CreateNoise(ui::Builder g) {
  cb_agc = &g.AddCheck("cb_agc", "AGC", false, Row::kSame);
  cb_gaincontrol =
      &g.AddChoice("lbl_gaincontrol", "Gain Control", "cb_gaincontrol", GainIndexItems(), 0);
  le_snc_low = &g.Add<ui::LabeledEdit>(Row::kNew, "le_snc_low", "SNC Low (dBuV)");
  le_snc_high = &g.Add<ui::LabeledEdit>(Row::kSame, "le_snc_high", "SNC High (dBuV)");
  cb_snc = &g.AddCheck("cb_snc", "Enable SNC", false, Row::kSame);
  le_softmute_threshold =
      &g.Add<ui::LabeledEdit>(Row::kNew, "le_softmute_threshold", "Soft Mute Threshold (dBuV)");
  le_softmute_stepsize = &g.Add<ui::LabeledEdit>(Row::kSame, "le_softmute_stepsize", "Step (dB)");
  cb_softmute = &g.AddCheck("cb_softmute", "Soft Mute", false, Row::kSame);
  for (ui::LabeledEdit* level :
       {le_snc_low, le_snc_high, le_softmute_threshold, le_softmute_stepsize})
    level->set_width_chars(kLevelChars);
}

void Tfrm_DruskGUI::CreateVolume(ui::Builder g) {
  g.AddLabel("lbl_lvol", "Left", Row::kNew);
  e_lvol = &g.Add<ui::Edit>(Row::kSame, "e_lvol", "0");
  ud_lvol = &g.Add<ui::UpDown>(Row::kSame, "ud_lvol", 0, 112, 0);
  g.AddLabel("lbl_rvol", "Right", Row::kSame);
  e_rvol = &g.Add<ui::Edit>(Row::kSame, "e_rvol", "0");
  ud_rvol = &g.Add<ui::UpDown>(Row::kSame, "ud_rvol", 0, 112, 0);
  cb_volume = &g.AddCheck("cb_volume", "Left = Right", false, Row::kNew);
  cb_mute = &g.AddCheck("cb_mute", "Mute", false, Row::kSame);
  btn_volume = &g.AddButton("btn_volume", "Set Volume");
  e_lvol->set_width_chars(kLevelChars);
  e_rvol->set_width_chars(kLevelChars);
}

void Tfrm_DruskGUI::CreateRssiAlert(ui::Builder g) {
  le_rssi_low = &g.Add<ui::LabeledEdit>(Row::kSame, "le_rssi_low", "Low (dBuV)");
  le_rssi_low->set_width_chars(kLevelChars);
  le_rssi_high = &g.Add<ui::LabeledEdit>(Row::kSame, "le_rssi_high", "High (dBuV)");
  le_rssi_high->set_width_chars(kLevelChars);
  cb_rssi = &g.AddCheck("cb_rssi", "Enable", false, Row::kSame);
}

void Tfrm_DruskGUI::CreateRds(ui::Builder g) {
  cb_rds = &g.AddChoice("lbl_rds", "Mode", "cb_rds", {"RDS", "R(B)DS", "MMBS"}, 0);
  le_rds = &g.Add<ui::LabeledEdit>(Row::kSame, "le_rds", "Interval (ms)", "1000");
  le_rds->set_width_chars(kLevelChars);
  CheckBox_rds = &g.AddCheck("CheckBox_rds", "Subscribe", false, Row::kSame);
  // The last group's blocks above the groups received, about as wide as
  // each other; a line of blocks is wider still (the edit scrolls, the
  // memo wraps), as the panel would not fit the screen otherwise.
  LData = &g.Add<ui::Edit>(Row::kNew, "LData");
  LData->set_read_only(true);
  LData->set_width_chars(kRdsLineChars);
  MData = &g.Add<ui::Memo>(Row::kNew, "MData");
  MData->set_width_chars(kRdsLineChars - 3);
}

// A title and its value on each row.
void Tfrm_DruskGUI::CreateQuickInfo(ui::Builder g) {
  cb_quickinfo = &g.AddCheck("cb_quickinfo", "Subscribe", false, Row::kSame);
  ui::Label** values[] = {&l1, &l2, &l3, &l4, &l5, &l6, &l7, &l8, &l9, &l10};
  const char* titles[] = {"FMR State",           "Frequency (kHz)", "Channel Detected",
                          "Seek Status",         "Pilot Found",     "RSSI Antenna Input (dBuV) ",
                          "Pilot Amplitude",     "Phase Noise",     "Frequency Offset",
                          "Injection Side Band "};
  for (size_t i = 0; i < std::size(values); ++i) {
    const std::string n = std::to_string(i + 1);
    g.AddLabel("lbl_l" + n, titles[i], Row::kNew).set_width_chars(kQuickInfoTitleChars);
    *values[i] = &g.AddLabel("l" + n, "");
    (*values[i])->set_width_chars(kValueChars);
  }
}

void Tfrm_DruskGUI::CreateVersion(ui::Builder g) {
  ui::Label** values[] = {&l_rx_ver, &l_pkg_ver, &l_hw_ver, &l_man_ver};
  const char* names[] = {"rx", "pkg", "hw", "man"};
  const char* titles[] = {"FM Rx FW Version", "SW Pkg ID", "HW ID", "Manufacturer ID"};
  for (size_t i = 0; i < std::size(values); ++i) {
    const std::string n = names[i];
    g.AddLabel("lbl_" + n + "_ver", titles[i], Row::kNew).set_width_chars(kVersionTitleChars);
    *values[i] = &g.AddLabel("l_" + n + "_ver", "");
    (*values[i])->set_width_chars(kVersionChars);
  }
  btn_readall = &g.AddButton("btn_readall", "Read All", Row::kNew);
}

}  // namespace gen2_panel
