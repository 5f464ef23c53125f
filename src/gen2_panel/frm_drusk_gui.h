// The second-generation FM radio panel: one working page "FM RX" whose
// handlers each send one audio-application command and log the outcome, a
// "Read All" button and a polling timer for the read-outs (RDS, quick
// information, auto-seek station list).
#pragma once

#include <cstdint>
#include <string>

#include "common/host_link.h"
#include "gen2/aud_app.h"
#include "ui/builder.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace gen2_panel {

class Tfrm_DruskGUI : public ui::Form {
 public:
  Tfrm_DruskGUI(ui::Application& app, const common::ModuleContext& context);

  // The command set: built with the window and kept for good (see
  // command_set_keeper.h).
  MANAGED_IF::aud_app& command_set() const { return *command_set_; }
  // Set by a successful "Find Stations"; cleared when the window is shown
  // and when the finished search has been read back.
  bool auto_seek_pending() const { return auto_seek_pending_; }

  // Pages and the buttons that do nothing.
  ui::PageControl* PageControl1;
  ui::TabSheet* ts_fmrx;
  ui::TabSheet* ts_fmtx;
  ui::Button* btn_reset;
  ui::Button* btn_writeall;

  // Receiver, audio path, antenna, band.
  ui::Button* btn_onoff;
  ui::CheckBox* cb_dspmode;
  ui::ComboBox* cb_audiooutput;
  ui::ComboBox* cb_antenna;
  ui::ComboBox* cb_band;
  ui::LabeledEdit* le_minfreq;
  ui::LabeledEdit* le_maxfreq;
  ui::RadioGroup* rg_deemphasis;
  ui::ComboBox* cb_stepsize;
  ui::Button* btn_setband;

  // Station, seek and search.
  ui::LabeledEdit* le_frequency;
  ui::LabeledEdit* le_rssi;
  ui::Button* btn_set_station;
  ui::Button* btn_seekup;
  ui::Button* btn_seekdown;
  ui::CheckBox* cb_wrap;
  ui::ComboBox* cb_station;
  ui::Button* btn_findstation;
  ui::ComboBox* cb_sideband;
  ui::CheckBox* cb_forcemono;

  // Gain, SNC, soft mute.
  ui::CheckBox* cb_agc;
  ui::ComboBox* cb_gaincontrol;
  ui::LabeledEdit* le_snc_low;
  ui::LabeledEdit* le_snc_high;
  ui::CheckBox* cb_snc;
  ui::LabeledEdit* le_softmute_threshold;
  ui::LabeledEdit* le_softmute_stepsize;
  ui::CheckBox* cb_softmute;

  // Volume.
  ui::Edit* e_lvol;
  ui::UpDown* ud_lvol;
  ui::Edit* e_rvol;
  ui::UpDown* ud_rvol;
  ui::CheckBox* cb_volume;
  ui::CheckBox* cb_mute;
  ui::Button* btn_volume;

  // RSSI alerts and RDS subscription.
  ui::LabeledEdit* le_rssi_low;
  ui::LabeledEdit* le_rssi_high;
  ui::CheckBox* cb_rssi;
  ui::ComboBox* cb_rds;
  ui::LabeledEdit* le_rds;
  ui::CheckBox* CheckBox_rds;

  // Read-outs.
  ui::CheckBox* cb_quickinfo;
  ui::Label* l1;
  ui::Label* l2;
  ui::Label* l3;
  ui::Label* l4;
  ui::Label* l5;
  ui::Label* l6;
  ui::Label* l7;
  ui::Label* l8;
  ui::Label* l9;
  ui::Label* l10;
  ui::Edit* LData;
  ui::Memo* MData;
  ui::Label* l_rx_ver;
  ui::Label* l_pkg_ver;
  ui::Label* l_hw_ver;
  ui::Label* l_man_ver;
  ui::Button* btn_readall;
  ui::Timer* Timer1;

  // Event handlers.
  void FormShow();
  void btn_onoffClick();
  void btn_setbandClick();
  void cb_sidebandChange();
  void cb_forcemonoClick();
  void cb_sncClick();
  void cb_softmuteClick();
  void cb_agcClick();
  void cb_gaincontrolClick();
  void cb_dspmodeClick();
  void cb_audiooutputClick();
  void cb_antennaClick();
  void btn_set_stationClick();
  void btn_seekupClick();
  void btn_seekdownClick();
  void btn_findstationClick();
  void cb_rssiClick();
  void CheckBox_rdsClick();
  void btn_volumeClick();
  void cb_bandClick();
  void cb_volumeClick();
  void e_lvolChange();
  void e_rvolChange();
  void cb_muteClick();
  void cb_stationClick();
  void btn_readallClick();
  void cb_quickinfoClick();
  void Timer1Timer();

 private:
  void CreateControls();
  void CreateReceiver(ui::Builder g);
  void CreateBand(ui::Builder g);
  void CreateStation(ui::Builder g);
  void CreateNoise(ui::Builder g);
  void CreateVolume(ui::Builder g);
  void CreateRssiAlert(ui::Builder g);
  void CreateRds(ui::Builder g);
  void CreateQuickInfo(ui::Builder g);
  void CreateVersion(ui::Builder g);
  void BindHandlers();

  // Logs "OK" (flag 1) for code 0, else "Error" (flag 0); true for 0.
  bool Report(int32_t code) const;
  void Log(const char* line, common::LogFlag flag = common::LogFlag::kProgress) const {
    context_.host.Log(line, flag);
  }
  void Log(const std::string& line, common::LogFlag flag = common::LogFlag::kProgress) const {
    context_.host.Log(line, flag);
  }
  // Logs `action`, sends the station record with `mode`, logs the outcome.
  bool SendStation(uint32_t mode, const char* action);
  void SendVolume(uint32_t channel, const ui::Edit& edit, const char* action);

  void ReadStaticConfig();
  void ReadDynamicData();
  void ReadAutoSeekReport();
  void ReadVersion();
  void ReadRdsReport();

  common::ModuleContext context_;
  MANAGED_IF::aud_app* command_set_;
  bool auto_seek_pending_ = false;
};

}  // namespace gen2_panel
