// The window, its controls and their defaults, and the binding of handlers.
#include "gen2_panel/frm_drusk_gui.h"

#include <memory>

#include "gen2_panel/command_set_keeper.h"

namespace {

// Gain control indexes "0" to "15".
std::vector<std::string> GainIndexItems() {
  std::vector<std::string> items;
  for (int i = 0; i <= 15; ++i) items.push_back(std::to_string(i));
  return items;
}

}  // namespace

Tfrm_DruskGUI::Tfrm_DruskGUI(ui::Application& app, const ModuleContext& context)
    : ui::Form(app, "Tfrm_DruskGUI"), context_(context) {
  CreateControls();
  BindHandlers();
  // A new, unopened session: the command set copies its ids and opens one
  // of its own.
  MANAGED_IF::TransportWrapper fresh(context);
  command_set_ = &KeepCommandSet(std::make_unique<MANAGED_IF::aud_app>(fresh));
}

void Tfrm_DruskGUI::CreateControls() {
  using Style = ui::ComboBox::Style;
  // A caption label in front of a control; it starts a new row.
  auto caption = [this](ui::Control* parent, const std::string& name, const std::string& text) {
    ui::Label& label = Add<ui::Label>(name, parent, text);
    label.set_new_row(true);
    return &label;
  };
  auto row = [](ui::Control* control) { control->set_new_row(true); };

  PageControl1 = &Add<ui::PageControl>("PageControl1", this);
  ts_fmrx = &Add<ui::TabSheet>("ts_fmrx", PageControl1, "FM RX");
  ts_fmtx = &Add<ui::TabSheet>("ts_fmtx", PageControl1, "FM Tx");

  // Receiver and audio path.
  auto* power = &Add<ui::GroupBox>("gb_power", ts_fmrx, "Receiver");
  btn_onoff = &Add<ui::Button>("btn_onoff", power, "On");
  cb_dspmode = &Add<ui::CheckBox>("cb_dspmode", power, "Force DSP Mode");
  caption(power, "lbl_audiooutput", "Audio Output");
  cb_audiooutput = &Add<ui::ComboBox>(
      "cb_audiooutput", power, Style::kDropDownList,
      std::vector<std::string>{"Headset", "Ear Piece", "Loud Speaker", "unconfig"});
  caption(power, "lbl_antenna", "Antenna");
  cb_antenna = &Add<ui::ComboBox>("cb_antenna", power, Style::kDropDownList,
                                  std::vector<std::string>{"Internal", "External"});

  // Band.
  auto* band = &Add<ui::GroupBox>("gb_band", ts_fmrx, "Band");
  caption(band, "lbl_band", "Band");
  cb_band = &Add<ui::ComboBox>("cb_band", band, Style::kDropDownList,
                               std::vector<std::string>{"Manual", "Japan", "US", "Europe"});
  le_minfreq = &Add<ui::LabeledEdit>("le_minfreq", band, "Min Freq (Hz)");
  row(le_minfreq);
  le_maxfreq = &Add<ui::LabeledEdit>("le_maxfreq", band, "Max Freq (Hz)");
  rg_deemphasis = &Add<ui::RadioGroup>("rg_deemphasis", band, "De-emphasis",
                                       std::vector<std::string>{"50 us", "75 us"}, -1, 2);
  row(rg_deemphasis);
  caption(band, "lbl_stepsize", "Step Size");
  cb_stepsize = &Add<ui::ComboBox>("cb_stepsize", band, Style::kDropDown,
                                   std::vector<std::string>{"50KHz", "100KHz", "200KHz"});
  btn_setband = &Add<ui::Button>("btn_setband", band, "Set Band");

  // Station, seek, search.
  auto* station = &Add<ui::GroupBox>("gb_station", ts_fmrx, "Station");
  le_frequency = &Add<ui::LabeledEdit>("le_frequency", station, "Frequency (Hz)");
  le_rssi = &Add<ui::LabeledEdit>("le_rssi", station, "Min RSSI", "0");
  btn_set_station = &Add<ui::Button>("btn_set_station", station, "Set Frequency");
  btn_seekup = &Add<ui::Button>("btn_seekup", station, "Seek Up");
  row(btn_seekup);
  btn_seekdown = &Add<ui::Button>("btn_seekdown", station, "Seek Down");
  cb_wrap = &Add<ui::CheckBox>("cb_wrap", station, "Wrap");
  caption(station, "lbl_station", "Stations");
  cb_station = &Add<ui::ComboBox>("cb_station", station, Style::kDropDownList);
  btn_findstation = &Add<ui::Button>("btn_findstation", station, "Find Stations");
  caption(station, "lbl_sideband", "Sideband");
  cb_sideband = &Add<ui::ComboBox>("cb_sideband", station, Style::kDropDownList,
                                   std::vector<std::string>{"High", "Low", "Auto"}, 2);
  cb_forcemono = &Add<ui::CheckBox>("cb_forcemono", station, "Force Mono");

  // Gain, SNC, soft mute.
  auto* noise = &Add<ui::GroupBox>("gb_noise", ts_fmrx, "Gain and Noise Reduction");
  cb_agc = &Add<ui::CheckBox>("cb_agc", noise, "AGC");
  caption(noise, "lbl_gaincontrol", "Gain Control");
  cb_gaincontrol =
      &Add<ui::ComboBox>("cb_gaincontrol", noise, Style::kDropDownList, GainIndexItems(), 0);
  le_snc_low = &Add<ui::LabeledEdit>("le_snc_low", noise, "SNC Low (dBuV)");
  row(le_snc_low);
  le_snc_high = &Add<ui::LabeledEdit>("le_snc_high", noise, "SNC High (dBuV)");
  cb_snc = &Add<ui::CheckBox>("cb_snc", noise, "Enable SNC");
  le_softmute_threshold =
      &Add<ui::LabeledEdit>("le_softmute_threshold", noise, "Soft Mute Threshold (dBuV)");
  row(le_softmute_threshold);
  le_softmute_stepsize = &Add<ui::LabeledEdit>("le_softmute_stepsize", noise, "Step (dB)");
  cb_softmute = &Add<ui::CheckBox>("cb_softmute", noise, "Soft Mute");

  // Volume.
  auto* volume = &Add<ui::GroupBox>("gb_volume", ts_fmrx, "Volume (0 - 112)");
  caption(volume, "lbl_lvol", "Left");
  e_lvol = &Add<ui::Edit>("e_lvol", volume, "0");
  ud_lvol = &Add<ui::UpDown>("ud_lvol", volume, 0, 112, 0);
  caption(volume, "lbl_rvol", "Right");
  e_rvol = &Add<ui::Edit>("e_rvol", volume, "0");
  ud_rvol = &Add<ui::UpDown>("ud_rvol", volume, 0, 112, 0);
  cb_volume = &Add<ui::CheckBox>("cb_volume", volume, "Left = Right");
  row(cb_volume);
  cb_mute = &Add<ui::CheckBox>("cb_mute", volume, "Mute");
  btn_volume = &Add<ui::Button>("btn_volume", volume, "Set Volume");

  // RSSI alerts.
  auto* rssi = &Add<ui::GroupBox>("gb_rssi", ts_fmrx, "RSSI Alert");
  le_rssi_low = &Add<ui::LabeledEdit>("le_rssi_low", rssi, "Low (dBuV)");
  le_rssi_high = &Add<ui::LabeledEdit>("le_rssi_high", rssi, "High (dBuV)");
  cb_rssi = &Add<ui::CheckBox>("cb_rssi", rssi, "Enable");

  // RDS.
  auto* rds = &Add<ui::GroupBox>("gb_rds", ts_fmrx, "RDS");
  caption(rds, "lbl_rds", "Mode");
  cb_rds = &Add<ui::ComboBox>("cb_rds", rds, Style::kDropDownList,
                              std::vector<std::string>{"RDS", "R(B)DS", "MMBS"}, 0);
  le_rds = &Add<ui::LabeledEdit>("le_rds", rds, "Interval (ms)", "1000");
  CheckBox_rds = &Add<ui::CheckBox>("CheckBox_rds", rds, "Subscribe");
  LData = &Add<ui::Edit>("LData", rds);
  LData->set_read_only(true);
  row(LData);
  MData = &Add<ui::Memo>("MData", rds);
  row(MData);

  // Quick information.
  auto* quick = &Add<ui::GroupBox>("gb_quickinfo", ts_fmrx, "Quick Information");
  cb_quickinfo = &Add<ui::CheckBox>("cb_quickinfo", quick, "Subscribe");
  ui::Label** values[] = {&l1, &l2, &l3, &l4, &l5, &l6, &l7, &l8, &l9, &l10};
  const char* titles[] = {"FMR State",           "Frequency (kHz)", "Channel Detected",
                          "Seek Status",         "Pilot Found",     "RSSI Antenna Input (dBuV) ",
                          "Pilot Amplitude",     "Phase Noise",     "Frequency Offset",
                          "Injection Side Band "};
  for (size_t i = 0; i < std::size(values); ++i) {
    const std::string n = std::to_string(i + 1);
    caption(quick, "lbl_l" + n, titles[i]);
    *values[i] = &Add<ui::Label>("l" + n, quick, "");
  }

  // Versions.
  auto* versions = &Add<ui::GroupBox>("gb_version", ts_fmrx, "Version");
  caption(versions, "lbl_rx_ver", "FM Rx FW Version");
  l_rx_ver = &Add<ui::Label>("l_rx_ver", versions, "");
  caption(versions, "lbl_pkg_ver", "SW Pkg ID");
  l_pkg_ver = &Add<ui::Label>("l_pkg_ver", versions, "");
  caption(versions, "lbl_hw_ver", "HW ID");
  l_hw_ver = &Add<ui::Label>("l_hw_ver", versions, "");
  caption(versions, "lbl_man_ver", "Manufacturer ID");
  l_man_ver = &Add<ui::Label>("l_man_ver", versions, "");
  btn_readall = &Add<ui::Button>("btn_readall", versions, "Read All");
  row(btn_readall);

  // The transmitter page: hidden when the window is shown; its controls do
  // nothing.
  auto* tx = &Add<ui::GroupBox>("gb_fmtx", ts_fmtx, "FM Tx");
  Add<ui::LabeledEdit>("le_tx_frequency", tx, "Frequency (Hz)");
  Add<ui::LabeledEdit>("le_tx_power", tx, "Power Level");
  Add<ui::Button>("btn_tx_onoff", tx, "On");

  btn_reset = &Add<ui::Button>("btn_reset", this, "Reset All");
  row(btn_reset);
  btn_writeall = &Add<ui::Button>("btn_writeall", this, "Write All");

  Timer1 = &Add<ui::Timer>("Timer1", 1000u, false);
}

void Tfrm_DruskGUI::BindHandlers() {
  OnShow = [this] { FormShow(); };
  btn_onoff->OnClick = [this] { btn_onoffClick(); };
  btn_setband->OnClick = [this] { btn_setbandClick(); };
  cb_sideband->OnChange = [this] { cb_sidebandChange(); };
  cb_forcemono->OnClick = [this] { cb_forcemonoClick(); };
  cb_snc->OnClick = [this] { cb_sncClick(); };
  cb_softmute->OnClick = [this] { cb_softmuteClick(); };
  cb_agc->OnClick = [this] { cb_agcClick(); };
  cb_gaincontrol->OnClick = [this] { cb_gaincontrolClick(); };
  cb_dspmode->OnClick = [this] { cb_dspmodeClick(); };
  cb_audiooutput->OnClick = [this] { cb_audiooutputClick(); };
  cb_antenna->OnClick = [this] { cb_antennaClick(); };
  btn_set_station->OnClick = [this] { btn_set_stationClick(); };
  btn_seekup->OnClick = [this] { btn_seekupClick(); };
  btn_seekdown->OnClick = [this] { btn_seekdownClick(); };
  btn_findstation->OnClick = [this] { btn_findstationClick(); };
  cb_rssi->OnClick = [this] { cb_rssiClick(); };
  CheckBox_rds->OnClick = [this] { CheckBox_rdsClick(); };
  btn_volume->OnClick = [this] { btn_volumeClick(); };
  cb_band->OnClick = [this] { cb_bandClick(); };
  cb_volume->OnClick = [this] { cb_volumeClick(); };
  e_lvol->OnChange = [this] { e_lvolChange(); };
  e_rvol->OnChange = [this] { e_rvolChange(); };
  cb_mute->OnClick = [this] { cb_muteClick(); };
  cb_station->OnClick = [this] { cb_stationClick(); };
  btn_readall->OnClick = [this] { btn_readallClick(); };
  cb_quickinfo->OnClick = [this] { cb_quickinfoClick(); };
  Timer1->OnTimer = [this] { Timer1Timer(); };
  // The arrows step the volume edits.
  ud_lvol->OnClick = [this](bool) { e_lvol->SetText(std::to_string(ud_lvol->position())); };
  ud_rvol->OnClick = [this](bool) { e_rvol->SetText(std::to_string(ud_rvol->position())); };
}

void Tfrm_DruskGUI::FormShow() {
  auto_seek_pending_ = false;
  ts_fmtx->SetTabVisible(false);
  PageControl1->SetActivePage(ts_fmrx);
}
