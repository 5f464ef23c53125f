// The exchange between the panel's controls and the back end's parameter
// block: StoreControls before every operation, ShowParameters after it.
#include <algorithm>
#include <string>

#include "common/convert.h"
#include "gen1_panel/field_text.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kSpacings[] = {50000, 100000, 200000};

// RDS feature bits: what the check boxes store, and what enables each edit
// when the block is shown. The programme type is stored as 0x80 but shown
// from 0x40.
constexpr uint32_t kFeatureAf = 0x02;
constexpr uint32_t kFeaturePi = 0x04;
constexpr uint32_t kFeaturePs = 0x08;
constexpr uint32_t kFeatureRt = 0x10;
constexpr uint32_t kFeatureRtPlus = 0x20;
constexpr uint32_t kFeaturePtyShown = 0x40;
constexpr uint32_t kFeaturePtyStored = 0x80;

template <typename T>
T Decimal(const ui::Edit& edit) {
  return static_cast<T>(DecimalValue(edit.text()));
}

template <typename T>
T Index(const ui::ComboBox& box) {
  return static_cast<T>(box.item_index());
}

template <typename T>
T Index(const ui::RadioGroup& group) {
  return static_cast<T>(group.item_index());
}

uint8_t Flag(const ui::CheckBox& box) {
  return box.checked() ? 1 : 0;
}

uint32_t ChannelSpacing(int index) {
  return index >= 0 && index < 3 ? kSpacings[index] : kSpacings[0];
}

int SpacingIndex(uint32_t spacing) {
  for (int i = 0; i < 3; ++i) {
    if (kSpacings[i] == spacing) return i;
  }
  return -1;
}

}  // namespace

void TKelboFMRGUI::SyncParameters(bool store) {
  if (store) {
    StoreControls();
  } else {
    ShowParameters();
  }
}

void TKelboFMRGUI::StoreControls() {
  FmrParameters& p = fmr_.parameters();
  p.frequencyHz = Decimal<uint32_t>(*LEFrequency);
  p.scanMinRssi = Decimal<int16_t>(*LEMASRSSI);
  p.forceMono = Flag(*CBMono);
  p.bandMaxHz = Decimal<uint32_t>(*LEMAXFreq);
  p.bandMinHz = Decimal<uint32_t>(*LEMINFreq);
  p.channelSpacing = ChannelSpacing(CBChannelSpacing->item_index());
  p.sideband = Index<uint8_t>(*CBSideband);
  p.volume = static_cast<uint16_t>(HexOrDecimalValue(LEVolume->text(), 4));
  p.mute = Flag(*CBMute);
  p.outputPath = Index<uint8_t>(*CBOutputPath);
  p.deEmphasis = Index<uint8_t>(*RGDeEmphasis);
  p.sncOn = Flag(*CBSNC);
  p.sncStep = Decimal<uint16_t>(*LESNCStep);
  p.sncLowThreshold = Decimal<int16_t>(*LESNCLowThreshold);
  p.sncHighThreshold = Decimal<int16_t>(*LESNCHighThreshold);
  p.softMuteOn = Flag(*CBSoftMute);
  p.softMuteStep = Decimal<uint16_t>(*LESMSS);
  p.softMuteThreshold = Decimal<int16_t>(*LESMThreshold);
  // "No change" unless the handler asks for a change after storing.
  p.rdsState = 0xFF;
  p.rdsDecoderMode = 0xFF;
  p.rssiState = 0xFF;
  p.rssiOffset = Decimal<int16_t>(*LERSSIOffset);
  p.rssiLowAlert = Decimal<int16_t>(*LELowRSSI);
  p.rssiHighAlert = Decimal<int16_t>(*LEHighRSSI);
  p.tuneAction = 0;
  p.regAddress = static_cast<uint16_t>(HexOrDecimalValue(LERegAddress->text(), 4));
  const std::string& data = LERegData->text();
  p.regData = HexOrDecimalValue(data, static_cast<int8_t>(data.size() - 2));
  p.agcOn = Flag(*CBAGCOn);
  p.lnaGain = Index<uint8_t>(*CBLNAGain);
  p.ppfGain = Index<uint8_t>(*CBPPFGain);
  p.externalLnaOn = Flag(*CBExternalLNAOn);
  p.externalLnaOffset = Decimal<int8_t>(*LEOffset);
  p.supplyVoltage = Index<uint8_t>(*CBFMRSupply);
  p.txOutputPower = Decimal<int16_t>(*LEOutputPower);
  p.intLnaReduction = Index<uint8_t>(*CBIntLNA);
  p.antenna = Index<uint32_t>(*CBAntenna);
  p.mode = Index<uint32_t>(*CBTMode);
  p.toneLeftFreqHz = Decimal<uint16_t>(*LELFreq);
  p.toneLeftAmplitude = HexOrDecimalValue(LELLevel->text(), 4);
  p.toneLeftPhase = HexOrDecimalValue(LELPhase->text(), 4);
  p.toneRightFreqHz = Decimal<uint16_t>(*LERFreq);
  p.toneRightAmplitude = HexOrDecimalValue(LERLevel->text(), 4);
  p.toneRightPhase = HexOrDecimalValue(LERPhase->text(), 4);
  p.preEmphasis = Index<int8_t>(*RGPreEmphasis);
  p.txAudioMode = Index<uint8_t>(*CBAudioOutput);
  p.freqDeviationHz = Decimal<uint32_t>(*LEFreqDeviation);
  p.pilotDeviationHz = Decimal<uint16_t>(*LEPilotDeviation);
  p.rdsDeviationHz = Decimal<uint16_t>(*LERDSDeviation);
  p.rfMute = Flag(*CBFreqMute);
  p.pilotOn = Flag(*CBPilot);
  p.modulationOn = Flag(*CBModulation);
  p.rdsPi = Decimal<uint16_t>(*LEPI);
  StoreFieldText(p.rdsRadioText, LERT->text());
  StoreFieldText(p.rdsPsName, LEPSN->text());
  p.rdsPsMode = Index<uint8_t>(*CBPSMode);
  p.rdsPsRate = Decimal<uint8_t>(*LEPSRate);
  StoreFieldText(p.rdsRtPlus, LERTP->text());
  p.rdsPty = Index<uint8_t>(*cb_ptc);
  // The alternative frequencies come from the list file named in LEAFList,
  // read again on every store; without a file the list stays as it was.
  if (const std::string& path = LEAFList->text(); !path.empty()) {
    const platform::IniFile list(path);
    for (size_t i = 0; i < kRdsAfEntries; ++i) {
      p.rdsAfList[i] = static_cast<uint16_t>(
          ReadIniInteger(list, "AlternativeFreq", "AF" + std::to_string(i), 0));
    }
  }
  p.txScanStartHz = Decimal<uint32_t>(*le_start_freq);
  p.txScanStopHz = Decimal<uint32_t>(*le_stop_freq);
  p.txScanMinRssi = Decimal<int16_t>(*LEMASRSSI2);
  p.rdsStackOn = Flag(*cbx_rds_stack);
  p.rdsFeatures = (cbx_AF->checked() ? kFeatureAf : 0) | (cbx_PI->checked() ? kFeaturePi : 0) |
                  (cbx_PS->checked() ? kFeaturePs : 0) | (cbx_RT->checked() ? kFeatureRt : 0) |
                  (cbx_RTP->checked() ? kFeatureRtPlus : 0) |
                  (cbx_PTC->checked() ? kFeaturePtyStored : 0);
}

void TKelboFMRGUI::ShowParameters() {
  FmrParameters& p = fmr_.parameters();
  const auto show = [](ui::Edit& edit, auto value) { edit.SetText(std::to_string(value)); };

  show(*LEFrequency, p.frequencyHz);
  show(*LEMASRSSI, p.scanMinRssi);
  CBMono->SetChecked(p.forceMono != 0);
  show(*LEMAXFreq, p.bandMaxHz);
  show(*LEMINFreq, p.bandMinHz);
  CBChannelSpacing->SetItemIndex(SpacingIndex(p.channelSpacing));
  CBSideband->SetItemIndex(p.sideband);
  // Reading the CP value needs the internal antenna while receiving.
  btn_readcp->SetEnabled(CBAntenna->item_index() == 0 || CBTMode->item_index() != 0);
  if (p.volume == 0) p.volume = 1;
  show(*LEVolume, p.volume);
  LEVolumeExit();
  CBMute->SetChecked(p.mute != 0);
  CBOutputPath->SetItemIndex(p.outputPath);
  RGDeEmphasis->SetItemIndex(p.deEmphasis);
  CBSNC->SetChecked(p.sncOn != 0);
  show(*LESNCStep, p.sncStep);
  show(*LESNCLowThreshold, p.sncLowThreshold);
  show(*LESNCHighThreshold, p.sncHighThreshold);
  CBSoftMute->SetChecked(p.softMuteOn != 0);
  show(*LESMSS, p.softMuteStep);
  show(*LESMThreshold, p.softMuteThreshold);
  if (p.rdsState == 1) btn_rds->SetCaption("RDS Off");
  if (p.rdsState == 0) btn_rds->SetCaption("RDS On");
  if (p.rdsDecoderMode == 0 || p.rdsDecoderMode == 1) CBDecode->SetItemIndex(p.rdsDecoderMode);
  show(*LERSSIOffset, p.rssiOffset);
  show(*LELowRSSI, p.rssiLowAlert);
  show(*LEHighRSSI, p.rssiHighAlert);
  LStereo->SetCaption(p.stereo != 0 ? "Yes" : "No");
  show(*LEPilotFreq, p.pilotFrequencyHz);
  show(*LERSSI, p.rssi);
  show(*LERXError, p.rdsRxErrors);
  ShowRdsReadout();
  AppendDecodeLogRecord();
  LERegAddress->SetText(HexText(p.regAddress, 4));
  LERegData->SetText(HexText(p.regData, 8));
  CBAGCOn->SetChecked(p.agcOn != 0);
  CBLNAGain->SetItemIndex(p.lnaGain);
  CBPPFGain->SetItemIndex(p.ppfGain);
  CBExternalLNAOn->SetChecked(p.externalLnaOn != 0);
  show(*LEOffset, p.externalLnaOffset);
  CBFMRSupply->SetItemIndex(p.supplyVoltage);
  show(*LEOutputPower, p.txOutputPower);
  CBIntLNA->SetItemIndex(static_cast<int8_t>(p.intLnaReduction));
  show(*LELFreq, p.toneLeftFreqHz);
  LELLevel->SetText(HexText(p.toneLeftAmplitude, 4));
  LELPhase->SetText(HexText(p.toneLeftPhase, 4));
  show(*LERFreq, p.toneRightFreqHz);
  LERLevel->SetText(HexText(p.toneRightAmplitude, 4));
  LERPhase->SetText(HexText(p.toneRightPhase, 4));
  RGPreEmphasis->SetItemIndex(p.preEmphasis);
  CBAudioOutput->SetItemIndex(p.txAudioMode);
  show(*LEFreqDeviation, p.freqDeviationHz);
  show(*LEPilotDeviation, p.pilotDeviationHz);
  show(*LERDSDeviation, p.rdsDeviationHz);
  CBFreqMute->SetChecked(p.rfMute != 0);
  CBPilot->SetChecked(p.pilotOn != 0);
  CBModulation->SetChecked(p.modulationOn != 0);
  show(*LEPI, p.rdsPi);
  LERT->SetText(FieldText(p.rdsRadioText));
  LEPSN->SetText(FieldText(p.rdsPsName));
  CBPSMode->SetItemIndex(p.rdsPsMode);
  show(*LEPSRate, p.rdsPsRate);
  LERTP->SetText(FieldText(p.rdsRtPlus));
  cb_ptc->SetItemIndex(p.rdsPty);
  show(*le_scan_freq, p.txScanResultHz);
  show(*le_scan_rssi, p.txScanResultRssi);
  const bool gains_free = !CBAGCOn->checked() && !BtnFMREnable->enabled();
  CBLNAGain->SetEnabled(gains_free);
  CBPPFGain->SetEnabled(gains_free);
  ShowRdsFeatures();
  UpdateFreqDeviation();
}

void TKelboFMRGUI::ShowRdsReadout() {
  const FmrParameters& p = fmr_.parameters();
  if (p.rdsGroupCount == 0) return;
  const size_t groups = std::min<size_t>(p.rdsGroupCount, kRdsRxGroups);
  const auto block_text = [&](size_t block) {
    return fmr_.FormatRegisterHex(static_cast<int16_t>(p.rdsBlocks[block]));
  };
  const auto status_text = [&](size_t group) {
    return fmr_.FormatRegisterNibbles(static_cast<int16_t>(p.rdsGroupStatus[group]));
  };
  std::string first;
  for (size_t b = 0; b < 4; ++b) first += block_text(b);
  LData->SetCaption(first);
  LStatus->SetCaption(status_text(0));
  std::string data;
  std::string status;
  for (size_t g = 0; g < groups; ++g) {
    for (size_t b = 0; b < 4; ++b) data += block_text(4 * g + b);
    data += '\n';
    status += status_text(g) + '\n';
    if ((g + 1) % 4 == 0) {
      data += '\n';
      status += '\n';
    }
  }
  LData2->SetCaption(data);
  LStatus2->SetCaption(status);
}

void TKelboFMRGUI::ShowRdsFeatures() {
  const FmrParameters& p = fmr_.parameters();
  const bool stack = p.rdsStackOn != 0;
  gb_feature->SetEnabled(stack);
  const struct {
    ui::Control* edit;
    ui::CheckBox* box;
    uint32_t bit;
  } features[] = {{LEPI, cbx_PI, kFeaturePi},          {LERTP, cbx_RTP, kFeatureRtPlus},
                  {LERT, cbx_RT, kFeatureRt},          {LEPSN, cbx_PS, kFeaturePs},
                  {cb_ptc, cbx_PTC, kFeaturePtyShown}, {LEAFList, cbx_AF, kFeatureAf}};
  for (const auto& f : features) f.edit->SetEnabled(stack && (p.rdsFeatures & f.bit) != 0);
  for (const auto& f : features) f.box->SetChecked(f.edit->enabled());
}

void TKelboFMRGUI::UpdateFreqDeviation() {
  // 32-bit arithmetic that wraps, shown signed.
  uint32_t deviation = 75000;
  if (CBPilot->checked())
    deviation -= static_cast<uint32_t>(DecimalValue(LEPilotDeviation->text()));
  if (btn_rds->caption() == "RDS Off") {
    deviation -= static_cast<uint32_t>(DecimalValue(LERDSDeviation->text()));
  }
  LEFreqDeviation->SetText(std::to_string(static_cast<int32_t>(deviation)));
}
