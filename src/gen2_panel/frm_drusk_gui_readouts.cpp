// Read-outs: "Read All", the polling timer with its RDS report and quick
// information, and the station list of a finished automatic search.
#include <cstddef>

#include "common/channel_spacing.h"
#include "common/validate.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "gen2_panel/readout_format.h"

namespace gen2_panel {

namespace {

using namespace MANAGED_IF;

constexpr uint32_t kReadAllPauseMs = 500;
constexpr uint32_t kQuickInfoIntervalMs = 1000;

// Seek status 0 is "success".
constexpr uint32_t kSeekSuccess = 0;

void SetTextFromTable(ui::Label& label, uint32_t value, const char* const* texts, size_t count) {
  if (value < count && texts[value] != nullptr) label.SetCaption(texts[value]);
}

}  // namespace

void Tfrm_DruskGUI::btn_readallClick() {
  ReadStaticConfig();
  services().Sleep(kReadAllPauseMs);
  ReadDynamicData();
  services().Sleep(kReadAllPauseMs);
  ReadVersion();
}

void Tfrm_DruskGUI::cb_quickinfoClick() {
  // Unsubscribing leaves the timer to stop itself at its next tick.
  if (!cb_quickinfo->checked()) return;
  Timer1->SetInterval(kQuickInfoIntervalMs);
  Timer1->SetEnabled(true);
}

void Tfrm_DruskGUI::Timer1Timer() {
  // Off for the length of the tick: a slow reply delays the next tick
  // instead of stacking ticks.
  Timer1->SetEnabled(false);
  if (CheckBox_rds->checked()) ReadRdsReport();
  if (cb_quickinfo->checked() || auto_seek_pending_) ReadDynamicData();
  if (cb_quickinfo->checked() || CheckBox_rds->checked() || auto_seek_pending_)
    Timer1->SetEnabled(true);
}

void Tfrm_DruskGUI::ReadRdsReport() {
  Log("get FM RX RDS report");
  T_RdsReport report;
  if (!Report(command_set_->fmrx_get_rds_data(report))) return;
  // The newest entry on its own line, the older ones newest first below.
  const size_t newest = kRdsReportEntries - 1;
  LData->SetText(RdsEntryLine(report, newest));
  std::vector<std::string> older;
  for (size_t i = newest; i-- > 0;) older.push_back(RdsEntryLine(report, i));
  MData->SetLines(std::move(older));
}

void Tfrm_DruskGUI::ReadStaticConfig() {
  Log("Get FM static config");
  T_StaticConfig config;
  if (!Report(command_set_->fmrx_get_static_config(config))) return;

  le_maxfreq->SetText(std::to_string(config.upper_limit));
  le_minfreq->SetText(std::to_string(config.lower_limit));
  // A spacing the box does not offer leaves it as it is.
  if (const int item = common::ItemOfChannelSpacing(config.spacing); item >= 0)
    cb_stepsize->SetItemIndex(item);
  rg_deemphasis->SetItemIndex(static_cast<int>(config.deemphasis));
  // Check boxes are set without their click handlers, which would send.
  common::SetCheckedSilently(*cb_forcemono, config.force_mono != 0);
  cb_antenna->SetItemIndex(static_cast<int>(config.antenna));
  common::SetCheckedSilently(*cb_dspmode, config.output_mode != 0);
  common::SetCheckedSilently(*cb_agc, config.agc != 0);
  cb_gaincontrol->SetItemIndex(static_cast<int>(config.gain_index));
  common::SetCheckedSilently(*cb_rssi, config.rssi_alert_enable != 0);
  le_rssi_low->SetText(std::to_string(config.rssi_low_alert));
  le_rssi_high->SetText(std::to_string(config.rssi_high_alert));
  common::SetCheckedSilently(*cb_mute, config.mute != 0);
  le_snc_low->SetText(std::to_string(config.snc_low_threshold));
  le_snc_high->SetText(std::to_string(config.snc_high_threshold));
  common::SetCheckedSilently(*cb_snc, config.snc_enable != 0);
  le_softmute_threshold->SetText(std::to_string(config.softmute_threshold));
  le_softmute_stepsize->SetText(std::to_string(config.softmute_step_size));
  common::SetCheckedSilently(*cb_softmute, config.softmute_enable != 0);
  e_lvol->SetText(std::to_string(config.left_volume));
  e_rvol->SetText(std::to_string(config.right_volume));
}

void Tfrm_DruskGUI::ReadDynamicData() {
  static constexpr const char* kStates[] = {"OFF", "RX ON", "TX ON", "Test mode ON"};
  static constexpr const char* kSeekStatuses[] = {"success", "failed",  "ongoing",
                                                  nullptr,   "stopped", "invalid"};
  Log("Get FM dynamic config");
  T_DynamicData data;
  if (!Report(command_set_->fmrx_get_dynamic_data(data))) return;

  SetTextFromTable(*l1, data.state, kStates, std::size(kStates));
  const std::string frequency = std::to_string(data.frequency);
  l2->SetCaption(frequency);
  le_frequency->SetText(frequency);
  l3->SetCaption(data.stereo != 0 ? "stereo" : "mono");
  common::SetCheckedSilently(*cb_forcemono, data.stereo == 0);
  SetTextFromTable(*l4, data.seek_status, kSeekStatuses, std::size(kSeekStatuses));
  if (data.seek_status == kSeekSuccess && auto_seek_pending_) {
    auto_seek_pending_ = false;
    ReadAutoSeekReport();
  }
  l5->SetCaption(data.pilot != 0 ? "Pilot found" : "Pilot lost");
  l6->SetCaption(std::to_string(data.rssi));
  l7->SetCaption(std::to_string(data.pilot_amplitude));
  l8->SetCaption(std::to_string(data.phase_noise));
  l9->SetCaption(std::to_string(data.frequency_offset));
  l10->SetCaption(data.injection_side != 0 ? "LSI" : "HSI");
}

void Tfrm_DruskGUI::ReadAutoSeekReport() {
  Log("Get auto seek report");
  T_AutoSeekReport report;
  if (!Report(command_set_->fmrx_get_auto_seek_report(report))) return;
  // The report holds at most 50 frequencies, whatever its count says.
  const size_t count = std::min<size_t>(report.station_count, kAutoSeekStations);
  cb_station->ClearItems();
  for (size_t i = 0; i < count; ++i) cb_station->AddItem(std::to_string(report.frequencies[i]));
}

void Tfrm_DruskGUI::ReadVersion() {
  Log("Get FM version");
  T_Version version;
  if (!Report(command_set_->fmr_get_version(version))) return;
  const std::string text = ArrayText(version.version_text);
  l_man_ver->SetCaption(ArrayText(version.manufacturer_id));
  l_hw_ver->SetCaption(ArrayText(version.hardware_id) + ArrayText(version.hardware_id_ext));
  l_rx_ver->SetCaption(FirmwareVersionPart(text));
  l_pkg_ver->SetCaption(PackageVersionPart(text));
}

}  // namespace gen2_panel
