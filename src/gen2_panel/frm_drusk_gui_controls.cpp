// Handlers of the "FM RX" page: each reads its controls, fills a command
// record, logs its action, sends one command and logs "OK" or "Error".
// Texts become numbers without validation (0 when not a number) and are
// narrowed to their field's width.
#include <cstddef>

#include "common/channel_spacing.h"
#include "common/convert.h"
#include "gen2_panel/frm_drusk_gui.h"

namespace gen2_panel {

namespace {

using namespace MANAGED_IF;

constexpr uint32_t kSplitVolumePauseMs = 1000;
constexpr int32_t kDefaultRdsIntervalMs = 1000;

uint32_t U32(const ui::Edit& edit) {
  return static_cast<uint32_t>(common::DecimalValue(edit.text()));
}
int16_t S16(const ui::Edit& edit) {
  return static_cast<int16_t>(common::DecimalValue(edit.text()));
}
uint16_t U16(const ui::Edit& edit) {
  return static_cast<uint16_t>(common::DecimalValue(edit.text()));
}
uint8_t U8(const ui::Edit& edit) {
  return static_cast<uint8_t>(common::DecimalValue(edit.text()));
}

// The selected index as a command value; no selection (-1) keeps its bits.
uint32_t Index(int index) {
  return static_cast<uint32_t>(index);
}

// Channel spacing of the step-size box: the spacing of a chosen item, or
// the typed text as a number.
uint32_t StepSizeHz(const ui::ComboBox& box) {
  const uint32_t spacing = common::ChannelSpacingOfItem(box.item_index());
  return spacing != 0 ? spacing : static_cast<uint32_t>(common::DecimalValue(box.text()));
}

}  // namespace

bool Tfrm_DruskGUI::Report(int32_t code) const {
  if (code == 0) {
    Log("OK");
    return true;
  }
  Log("Error", common::LogFlag::kFailure);
  return false;
}

void Tfrm_DruskGUI::btn_onoffClick() {
  if (btn_onoff->caption() == "On") {
    if (cb_audiooutput->item_index() < 0) {
      Log("Configure audio path before switching on FMR", common::LogFlag::kFailure);
      return;
    }
    Log("Turn On FMR RX");
    if (Report(command_set_->fmrx_enable())) btn_onoff->SetCaption("Off");
  } else {
    Log("Turn Off FMR RX");
    if (Report(command_set_->fmr_disable())) btn_onoff->SetCaption("On");
  }
}

void Tfrm_DruskGUI::btn_setbandClick() {
  const T_Band band{U32(*le_maxfreq), U32(*le_minfreq), StepSizeHz(*cb_stepsize),
                    Index(rg_deemphasis->item_index())};
  Log("Set FM RX band");
  Report(command_set_->fmrx_set_band(band));
}

void Tfrm_DruskGUI::cb_sidebandChange() {
  const uint32_t sideband = Index(cb_sideband->item_index());
  Log("Set FM RX sideband");
  Report(command_set_->fmrx_set_sideband(sideband));
}

void Tfrm_DruskGUI::cb_forcemonoClick() {
  const uint32_t mono = cb_forcemono->checked() ? 1 : 0;
  Log("Set FM RX force mono");
  Report(command_set_->fmrx_forcemono(mono));
}

void Tfrm_DruskGUI::cb_sncClick() {
  const T_Snc snc{S16(*le_snc_low), S16(*le_snc_high), cb_snc->checked() ? 1 : 0};
  Log("Set FM RX SNC");
  Report(command_set_->fmrx_set_snc(snc));
}

void Tfrm_DruskGUI::cb_softmuteClick() {
  const T_SoftMute soft_mute{S16(*le_softmute_threshold), U16(*le_softmute_stepsize),
                             cb_softmute->checked() ? 1 : 0};
  Log("Set FM RX soft mute");
  Report(command_set_->fmrx_set_sm(soft_mute));
}

void Tfrm_DruskGUI::cb_agcClick() {
  // The gain index only matters while the AGC is on.
  cb_gaincontrol->SetEnabled(cb_agc->checked());
  const T_GainControl gain{cb_agc->checked() ? 1 : 0, Index(cb_gaincontrol->item_index())};
  Log("Set FM RX gain control");
  Report(command_set_->fmrx_set_gain_control(gain));
}

void Tfrm_DruskGUI::cb_gaincontrolClick() {
  const T_GainControl gain{0, Index(cb_gaincontrol->item_index())};
  Log("Set FM RX gain control");
  Report(command_set_->fmrx_set_gain_control(gain));
}

void Tfrm_DruskGUI::cb_dspmodeClick() {
  const bool dsp = cb_dspmode->checked();
  Log(dsp ? "Set output mode to DSP" : "Set output mode to DAC");
  Report(command_set_->fmrx_set_output_mode(dsp ? 1 : 0));
}

void Tfrm_DruskGUI::cb_audiooutputClick() {
  static constexpr const char* kActions[] = {
      "Set audio destination to Headset", "Set audio destination to Earpiece",
      "Set audio destination to Loudspeaker", "unset audio destination"};
  const int index = cb_audiooutput->item_index();
  if (index < 0 || index >= static_cast<int>(std::size(kActions))) return;
  Log(kActions[index]);
  Report(command_set_->fmr_configure_audio_dst(Index(index)));
}

void Tfrm_DruskGUI::cb_antennaClick() {
  static constexpr const char* kActions[] = {"Set FMR antenna to Internal",
                                             "Set FMR antenna to External"};
  const int index = cb_antenna->item_index();
  if (index < 0 || index >= static_cast<int>(std::size(kActions))) return;
  Log(kActions[index]);
  Report(command_set_->fmrx_set_antenna(Index(index)));
}

bool Tfrm_DruskGUI::SendStation(uint32_t mode, const char* action) {
  const T_Station station{mode, U32(*le_frequency), S16(*le_rssi),
                          cb_forcemono->checked() ? 1u : 0u};
  Log(action);
  return Report(command_set_->fmrx_set_station(station));
}

void Tfrm_DruskGUI::btn_set_stationClick() {
  SendStation(kTuneToFrequency, "Set FM RX station");
}

void Tfrm_DruskGUI::btn_seekupClick() {
  SendStation(cb_wrap->checked() ? kSeekUpWrap : kSeekUpNoWrap,
              "FM RX tune up to the next valid station");
}

void Tfrm_DruskGUI::btn_seekdownClick() {
  SendStation(cb_wrap->checked() ? kSeekDownWrap : kSeekDownNoWrap,
              "FM RX tune down to the next valid station");
}

void Tfrm_DruskGUI::btn_findstationClick() {
  if (!SendStation(kAutoSeek, "FM RX auto seek")) return;
  // The timer polls the seek status until the search has ended.
  auto_seek_pending_ = true;
  Timer1->SetEnabled(true);
}

void Tfrm_DruskGUI::cb_rssiClick() {
  const T_RssiAlert alert{cb_rssi->checked() ? 1 : 0, S16(*le_rssi_low), S16(*le_rssi_high)};
  Log("Set FM RX RSSI");
  Report(command_set_->fmrx_set_rssi(alert));
}

void Tfrm_DruskGUI::CheckBox_rdsClick() {
  const T_Rds rds{
      CheckBox_rds->checked() ? 1 : 0, Index(cb_rds->item_index()),
      static_cast<uint32_t>(common::TextToIntDef(le_rds->text(), kDefaultRdsIntervalMs))};
  Log("set FM RX RDS");
  if (!Report(command_set_->fmrx_set_rds(rds))) return;
  // Unsubscribing leaves the timer to stop itself at its next tick.
  if (CheckBox_rds->checked()) {
    Timer1->SetInterval(rds.interval_ms);
    Timer1->SetEnabled(true);
  }
}

void Tfrm_DruskGUI::SendVolume(uint32_t channel, const ui::Edit& edit, const char* action) {
  const T_Volume volume{channel, U8(edit)};
  Log(action);
  Report(command_set_->fmrx_set_volume(volume));
}

void Tfrm_DruskGUI::btn_volumeClick() {
  if (cb_volume->checked()) {
    SendVolume(kVolumeBoth, *e_lvol, "set FM RX volume");
    return;
  }
  // Left, then right, whatever the left one gave; the device needs a pause
  // between the two.
  SendVolume(kVolumeLeft, *e_lvol, "set FM RX left volume");
  services().Sleep(kSplitVolumePauseMs);
  SendVolume(kVolumeRight, *e_rvol, "set FM RX right volume");
}

// Handlers that only change other controls.

void Tfrm_DruskGUI::cb_bandClick() {
  struct Preset {
    const char* min;
    const char* max;
  };
  static constexpr Preset kPresets[] = {
      {"76000000", "90000000"}, {"87500000", "108000000"}, {"87500000", "108000000"}};
  const int index = cb_band->item_index();
  if (index == 0) {
    le_minfreq->SetEnabled(true);
    le_maxfreq->SetEnabled(true);
  } else if (index >= 1 && index <= static_cast<int>(std::size(kPresets))) {
    const Preset& preset = kPresets[index - 1];
    le_minfreq->SetText(preset.min);
    le_maxfreq->SetText(preset.max);
    le_minfreq->SetEnabled(false);
    le_maxfreq->SetEnabled(false);
  }
}

void Tfrm_DruskGUI::cb_volumeClick() {
  if (cb_volume->checked()) e_rvol->SetText(e_lvol->text());
}

void Tfrm_DruskGUI::e_lvolChange() {
  ud_lvol->SetPosition(common::DecimalValue(e_lvol->text()));
  if (cb_volume->checked()) e_rvol->SetText(e_lvol->text());
}

void Tfrm_DruskGUI::e_rvolChange() {
  ud_rvol->SetPosition(common::DecimalValue(e_rvol->text()));
  if (cb_volume->checked()) e_lvol->SetText(e_rvol->text());
}

void Tfrm_DruskGUI::cb_muteClick() {
  // Only the edits change; "Set Volume" sends them.
  if (!cb_mute->checked()) return;
  e_lvol->SetText("0");
  e_rvol->SetText("0");
}

void Tfrm_DruskGUI::cb_stationClick() {
  if (cb_station->items().empty()) return;
  le_frequency->SetText(cb_station->text());
  btn_set_station->Click();
}

}  // namespace gen2_panel
