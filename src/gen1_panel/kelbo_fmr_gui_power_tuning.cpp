// Showing the window, power on and off, status, mode, antenna, band,
// frequency checks, tuning and seeking.
#include "common/convert.h"
#include "gen1_panel/field_text.h"
#include "gen1_panel/kelbo_fmr_gui.h"

namespace gen1_panel {

namespace {

// Pause after power-on before the status is read.
constexpr uint32_t kPowerOnSettleMs = 300;

struct BandPreset {
  const char* min_hz;
  const char* max_hz;
};
constexpr BandPreset kBandPresets[] = {{"87500000", "108000000"}, {"76000000", "90000000"}};
constexpr int kManualBand = 2;

}  // namespace

void TKelboFMRGUI::FormShow() {
  SyncParameters(true);
  if (fmr_.ReadPowerState() && fmr_.ReadRadioInfo()) {
    // Adopt a radio that is already running, in its mode (selecting the
    // mode this way runs no change handler).
    const gen1::PowerState state = fmr_.parameters().powerState;
    if (state == gen1::PowerState::kReceiving || state == gen1::PowerState::kTransmitting) {
      CBTMode->SetItemIndex(state == gen1::PowerState::kReceiving ? 0 : 1);
      radioOn = true;
      BtnRefresh->Click();
    }
  }
  EnableControls(TransmitMode());
  SyncParameters(false);
  LoadRegisterHistories();
}

void TKelboFMRGUI::BtnFMREnableClick() {
  Log("FMR ON");
  SyncParameters(true);
  radioOn = TransmitMode() ? fmr_.TxPowerOn() : fmr_.RxPowerOn();
  EnableControls(TransmitMode());
  SyncParameters(false);
  services().Sleep(kPowerOnSettleMs);
  BtnRefresh->Click();
}

void TKelboFMRGUI::BtnFMRDisableClick() {
  // Switch running features off through their own buttons first.
  if (btn_rds->caption() == "RDS Off") btn_rds->Click();
  if (btn_rssi->caption() == "RSSI Off") btn_rssi->Click();
  if (btn_chirp->caption() == "Chirp Off") btn_chirp->Click();
  if (btn_test_tone->caption() == "Tone Off") btn_test_tone->Click();

  Log("FMR OFF");
  SyncParameters(true);
  const bool transmit = TransmitMode();
  radioOn = !(transmit ? fmr_.TxPowerOff() : fmr_.RxPowerOff());
  if (transmit) btn_selftest->SetEnabled(true);
  EnableControls(transmit);
  SyncParameters(false);
}

void TKelboFMRGUI::BtnRefreshClick() {
  Log("Read FM Radio current status");
  SyncParameters(true);
  if (TransmitMode() ? fmr_.ReadTxStatus() : fmr_.ReadRxStatus()) {
    LReady->SetCaption("Yes");
    LReady->SetColor(ui::Label::Color::kGreen);
    SyncParameters(false);
  } else {
    LReady->SetCaption("No");
    LReady->SetColor(ui::Label::Color::kRed);
  }
}

void TKelboFMRGUI::CBTModeChange() {
  const bool transmit = TransmitMode();
  LEMINFreq->SetText(transmit ? "87500000" : "76000000");
  LEFrequency->SetText(transmit ? "88000000" : "76000000");
  EnableControls(transmit);
}

void TKelboFMRGUI::CBAntennaChange() {
  RunOperation("Set Antenna", &gen1::CKelboFMRFunction::SetAntenna,
               &gen1::CKelboFMRFunction::SetAntenna);
}

void TKelboFMRGUI::CBBandSelectionChange() {
  const int band = CBBandSelection->item_index();
  if (band == kManualBand) {
    LEMINFreq->SetEnabled(true);
    LEMAXFreq->SetEnabled(true);
  } else {
    const BandPreset& preset = kBandPresets[band == 1 ? 1 : 0];
    LEMINFreq->SetText(preset.min_hz);
    LEMAXFreq->SetText(preset.max_hz);
    LEMINFreq->SetEnabled(false);
    LEMAXFreq->SetEnabled(false);
  }
  SyncParameters(true);
}

void TKelboFMRGUI::LEFrequencyChange() {
  fmr_.ValidateRange(*LEFrequency, common::DecimalValue(LEMINFreq->text()),
                     common::DecimalValue(LEMAXFreq->text()));
}

// Bound to both minimum-RSSI edits; it always checks LEMASRSSI.
void TKelboFMRGUI::LEMASRSSIExit() {
  fmr_.ValidateRange(*LEMASRSSI, -100, 200);
}

void TKelboFMRGUI::TuneStep(bool up) {
  RunOperation(
      up ? "Tune up station." : "Tune down station.", &gen1::CKelboFMRFunction::RxTune,
      &gen1::CKelboFMRFunction::TxTune, [this, up](gen1::FmrParameters& p) {
        // Unsigned 32-bit arithmetic, as the radio's own fields.
        const uint32_t entered = static_cast<uint32_t>(common::DecimalValue(LEFrequency->text()));
        if (up) {
          const uint32_t max = static_cast<uint32_t>(common::DecimalValue(LEMAXFreq->text()));
          p.frequencyHz =
              max >= p.frequencyHz + p.channelSpacing ? entered + p.channelSpacing : max;
        } else {
          const uint32_t min = static_cast<uint32_t>(common::DecimalValue(LEMINFreq->text()));
          p.frequencyHz =
              min <= p.frequencyHz - p.channelSpacing ? entered - p.channelSpacing : min;
        }
      });
}

void TKelboFMRGUI::BtnTuneUpClick() {
  TuneStep(true);
}

void TKelboFMRGUI::BtnTuneDownClick() {
  TuneStep(false);
}

void TKelboFMRGUI::BtnSeekUpClick() {
  RunOperation("Seek up station.", &gen1::CKelboFMRFunction::RxTune,
               &gen1::CKelboFMRFunction::TxTune,
               [](gen1::FmrParameters& p) { p.tuneAction = gen1::TuneAction::kSeekUp; });
}

void TKelboFMRGUI::BtnSeekDownClick() {
  RunOperation("Seek down station.", &gen1::CKelboFMRFunction::RxTune,
               &gen1::CKelboFMRFunction::TxTune,
               [](gen1::FmrParameters& p) { p.tuneAction = gen1::TuneAction::kSeekDown; });
}

void TKelboFMRGUI::BtnReadFrequencyClick() {
  RunOperation("Read station.", &gen1::CKelboFMRFunction::ReadRxStatus,
               &gen1::CKelboFMRFunction::ReadTxStatus);
}

void TKelboFMRGUI::BtnWriteFrequencyClick() {
  RunOperation("Write station.", &gen1::CKelboFMRFunction::RxTune,
               &gen1::CKelboFMRFunction::TxTune);
}

void TKelboFMRGUI::CBDecodeChange() {
  fmr_.parameters().rdsDecoderMode =
      CBDecode->item_index() != 0 ? gen1::RdsDecoderMode::kRbds : gen1::RdsDecoderMode::kRds;
}

}  // namespace gen1_panel
