// The exchange between the panel's controls and the back end's parameter
// block: StoreControls before every operation, ShowParameters after it.
#include <algorithm>
#include <string>

#include "common/convert.h"
#include "gen1_panel/control_bindings.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "platform/platform.h"

namespace gen1_panel {

namespace {

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

}  // namespace

void TKelboFMRGUI::SyncParameters(bool store) {
  if (store) {
    StoreControls();
  } else {
    ShowParameters();
  }
}

void TKelboFMRGUI::StoreControls() {
  gen1::FmrParameters& p = fmr_.parameters();
  for (const ControlBinding& row : PanelBindings()) {
    if (row.store != nullptr) row.store(*this, p);
  }
  // "No change" unless the handler asks for a change after storing.
  p.rdsState = gen1::FmrSwitch::kNoChange;
  p.rdsDecoderMode = gen1::RdsDecoderMode::kNoChange;
  p.rssiState = gen1::FmrSwitch::kNoChange;
  p.tuneAction = gen1::TuneAction::kTune;
  // The alternative frequencies come from the list file named in LEAFList,
  // read again on every store; without a file the list stays as it was.
  if (const std::string& path = LEAFList->text(); !path.empty()) {
    const platform::IniFile list(path);
    for (size_t i = 0; i < gen1::kRdsAfEntries; ++i) {
      p.rdsAfList[i] = static_cast<uint16_t>(
          common::ReadIniInteger(list, "AlternativeFreq", "AF" + std::to_string(i), 0));
    }
  }
  p.rdsFeatures = (cbx_AF->checked() ? kFeatureAf : 0) | (cbx_PI->checked() ? kFeaturePi : 0) |
                  (cbx_PS->checked() ? kFeaturePs : 0) | (cbx_RT->checked() ? kFeatureRt : 0) |
                  (cbx_RTP->checked() ? kFeatureRtPlus : 0) |
                  (cbx_PTC->checked() ? kFeaturePtyStored : 0);
}

void TKelboFMRGUI::ShowParameters() {
  gen1::FmrParameters& p = fmr_.parameters();
  // Before the fields: the pilot's box, when its showing changes it, works
  // the deviation out with the RDS button's caption.
  if (p.volume == 0) p.volume = 1;
  if (p.rdsState == gen1::FmrSwitch::kOn) btn_rds->SetCaption("RDS Off");
  if (p.rdsState == gen1::FmrSwitch::kOff) btn_rds->SetCaption("RDS On");
  if (p.rdsDecoderMode == gen1::RdsDecoderMode::kRds ||
      p.rdsDecoderMode == gen1::RdsDecoderMode::kRbds)
    CBDecode->SetItemIndex(gen1::WireValue(p.rdsDecoderMode));
  LStereo->SetCaption(p.stereo != 0 ? "Yes" : "No");
  // Reading the CP value needs the internal antenna while receiving.
  btn_readcp->SetEnabled(CBAntenna->item_index() == 0 || CBTMode->item_index() != 0);

  for (const ControlBinding& row : PanelBindings()) {
    if (row.show != nullptr) row.show(*this, p);
  }

  // What is worked out from the shown controls, in this order.
  LEVolumeExit();
  ShowRdsReadout();
  AppendDecodeLogRecord();
  const bool gains_free = !CBAGCOn->checked() && !BtnFMREnable->enabled();
  CBLNAGain->SetEnabled(gains_free);
  CBPPFGain->SetEnabled(gains_free);
  ShowRdsFeatures();
  UpdateFreqDeviation();
}

void TKelboFMRGUI::ShowRdsReadout() {
  const gen1::FmrParameters& p = fmr_.parameters();
  if (p.rdsGroupCount == 0) return;
  const size_t groups = std::min<size_t>(p.rdsGroupCount, gen1::kRdsRxGroups);
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
  const gen1::FmrParameters& p = fmr_.parameters();
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
    deviation -= static_cast<uint32_t>(common::DecimalValue(LEPilotDeviation->text()));
  if (btn_rds->caption() == "RDS Off") {
    deviation -= static_cast<uint32_t>(common::DecimalValue(LERDSDeviation->text()));
  }
  LEFreqDeviation->SetText(std::to_string(static_cast<int32_t>(deviation)));
}

}  // namespace gen1_panel
