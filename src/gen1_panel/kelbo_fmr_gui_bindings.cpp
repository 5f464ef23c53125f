// The table of the panel's bound controls. A new field shown or stored by
// the panel is one row here (and its control's creation).
#include <string>
#include <type_traits>

#include "common/channel_spacing.h"
#include "common/convert.h"
#include "gen1_panel/control_bindings.h"
#include "gen1_panel/field_text.h"
#include "gen1_panel/kelbo_fmr_gui.h"

namespace gen1_panel {

namespace {

// Conversions: Store(control, field) fills the field from the control,
// Show(control, field) shows it.

// Edit text in decimal (0 when not a number, truncated to the field).
struct Decimal {
  template <typename T>
  static void Store(const ui::Edit& edit, T& field) {
    field = static_cast<T>(common::DecimalValue(edit.text()));
  }
  template <typename T>
  static void Show(ui::Edit& edit, const T& field) {
    edit.SetText(std::to_string(field));
  }
};

// Hexadecimal ("0x" and up to four digits) or decimal text; shown in
// decimal.
struct HexInDecimalOut {
  template <typename C, typename T>
  static void Store(const C& control, T& field) {
    field = static_cast<T>(HexOrDecimalValue(control.text(), 4));
  }
  template <typename C, typename T>
  static void Show(C& control, const T& field) {
    control.SetText(std::to_string(field));
  }
};

// Hexadecimal (up to four digits) or decimal text; shown as "0x" and four
// digits.
struct Hex4 {
  template <typename C, typename T>
  static void Store(const C& control, T& field) {
    field = static_cast<T>(HexOrDecimalValue(control.text(), 4));
  }
  template <typename C, typename T>
  static void Show(C& control, const T& field) {
    control.SetText(HexText(field, 4));
  }
};

// Hexadecimal with as many digits as the text has after "0x"; shown as "0x"
// and eight digits.
struct RegisterData {
  template <typename C, typename T>
  static void Store(const C& control, T& field) {
    const std::string& text = control.text();
    field = static_cast<T>(HexOrDecimalValue(text, static_cast<int8_t>(text.size() - 2)));
  }
  template <typename C, typename T>
  static void Show(C& control, const T& field) {
    control.SetText(HexText(field, 8));
  }
};

// The selected item's index (selector or radio group).
struct Index {
  template <typename C, typename T>
  static void Store(const C& control, T& field) {
    field = static_cast<T>(control.item_index());
  }
  template <typename C, typename T>
  static void Show(C& control, const T& field) {
    control.SetItemIndex(field);
  }
};

// The spacing box's item as its spacing in hertz; no item means the first
// spacing. A spacing no item offers clears the selection.
struct ChannelSpacing {
  static void Store(const ui::ComboBox& box, uint32_t& field) {
    const uint32_t spacing = common::ChannelSpacingOfItem(box.item_index());
    field = spacing != 0 ? spacing : common::kChannelSpacingsHz[0];
  }
  static void Show(ui::ComboBox& box, const uint32_t& field) {
    box.SetItemIndex(common::ItemOfChannelSpacing(field));
  }
};

// A check box as 0 or 1; any value but 0 checks it (and runs its handler
// when that changes it).
struct Flag {
  template <typename T>
  static void Store(const ui::CheckBox& box, T& field) {
    field = static_cast<T>(box.checked() ? 1 : 0);
  }
  template <typename T>
  static void Show(ui::CheckBox& box, const T& field) {
    box.SetChecked(field != 0);
  }
};

// A text field: the edit's text up to the field's size.
struct Text {
  template <size_t N>
  static void Store(const ui::Edit& edit, std::array<char, N>& field) {
    StoreFieldText(field, edit.text());
  }
  template <size_t N>
  static void Show(ui::Edit& edit, const std::array<char, N>& field) {
    edit.SetText(FieldText(field));
  }
};

enum class Way : uint8_t { kBoth, kStoreOnly, kShowOnly };

template <auto kControl>
constexpr ui::Control* (*ControlOf())(TKelboFMRGUI&) {
  return [](TKelboFMRGUI& panel) -> ui::Control* { return panel.*kControl; };
}

template <auto kControl, auto kField, typename Conversion, Way kWay = Way::kBoth>
constexpr ControlBinding Bind(EnabledIn enabled_in) {
  ControlBinding row{ControlOf<kControl>(),
                     [](const gen1::FmrParameters& p) -> const void* { return &(p.*kField); },
                     nullptr, nullptr, enabled_in};
  if constexpr (kWay != Way::kShowOnly) {
    row.store = [](const TKelboFMRGUI& panel, gen1::FmrParameters& p) {
      Conversion::Store(*(panel.*kControl), p.*kField);
    };
  }
  if constexpr (kWay != Way::kStoreOnly) {
    row.show = [](TKelboFMRGUI& panel, const gen1::FmrParameters& p) {
      Conversion::Show(*(panel.*kControl), p.*kField);
    };
  }
  return row;
}

// A control that only follows the power state.
template <auto kControl>
constexpr ControlBinding Enable(EnabledIn enabled_in) {
  return {ControlOf<kControl>(), nullptr, nullptr, nullptr, enabled_in};
}

using G = TKelboFMRGUI;
using P = gen1::FmrParameters;
constexpr Way kStoreOnly = Way::kStoreOnly;
constexpr Way kShowOnly = Way::kShowOnly;
constexpr EnabledIn kAlways = EnabledIn::kAlways;
constexpr EnabledIn kOff = EnabledIn::kOff;
constexpr EnabledIn kOn = EnabledIn::kOn;
constexpr EnabledIn kManualBand = EnabledIn::kOnManualBand;
constexpr EnabledIn kRx = EnabledIn::kReceive;
constexpr EnabledIn kTx = EnabledIn::kTransmit;

// clang-format off
constexpr ControlBinding kBindings[] = {
    // Power and tuning.
    Enable<&G::BtnFMREnable>(kOff), Enable<&G::BtnFMRDisable>(kOn), Enable<&G::BtnRefresh>(kOn),
    Enable<&G::LReady>(kOn), Enable<&G::CBBandSelection>(kOn),
    Enable<&G::BtnTuneUp>(kOn), Enable<&G::BtnTuneDown>(kOn), Enable<&G::BtnSeekUp>(kRx), Enable<&G::BtnSeekDown>(kRx),
    Enable<&G::BtnReadFrequency>(kOn), Enable<&G::BtnWriteFrequency>(kOn),
    Bind<&G::CBTMode, &P::mode, Index, kStoreOnly>(kOff),
    Bind<&G::CBAntenna, &P::antenna, Index, kStoreOnly>(kRx),
    Bind<&G::LEFrequency, &P::frequencyHz, Decimal>(kOn),
    Bind<&G::LEMASRSSI, &P::scanMinRssi, Decimal>(kRx),
    Bind<&G::CBMono, &P::forceMono, Flag>(kRx),
    Bind<&G::LEMAXFreq, &P::bandMaxHz, Decimal>(kManualBand),
    Bind<&G::LEMINFreq, &P::bandMinHz, Decimal>(kManualBand),
    Bind<&G::CBChannelSpacing, &P::channelSpacing, ChannelSpacing>(kOn),
    Bind<&G::CBSideband, &P::sideband, Index>(kRx),
    // Audio.
    Bind<&G::LEVolume, &P::volume, HexInDecimalOut>(kOn),
    Bind<&G::CBMute, &P::mute, Flag>(kOn),
    Bind<&G::CBOutputPath, &P::outputPath, Index>(kRx),
    Bind<&G::RGDeEmphasis, &P::deEmphasis, Index>(kRx),
    Bind<&G::CBSNC, &P::sncOn, Flag>(kRx),
    Bind<&G::LESNCStep, &P::sncStep, Decimal>(kRx),
    Bind<&G::LESNCLowThreshold, &P::sncLowThreshold, Decimal>(kRx),
    Bind<&G::LESNCHighThreshold, &P::sncHighThreshold, Decimal>(kRx),
    Bind<&G::CBSoftMute, &P::softMuteOn, Flag>(kRx),
    Bind<&G::LESMSS, &P::softMuteStep, Decimal>(kRx),
    Bind<&G::LESMThreshold, &P::softMuteThreshold, Decimal>(kRx),
    Enable<&G::LStereo>(kRx), Enable<&G::BtnReadAudio>(kOn), Enable<&G::BtnWriteAudio>(kOn),
    // RSSI.
    Bind<&G::LERSSIOffset, &P::rssiOffset, Decimal>(kRx),
    Bind<&G::LELowRSSI, &P::rssiLowAlert, Decimal>(kRx),
    Bind<&G::LEHighRSSI, &P::rssiHighAlert, Decimal>(kRx),
    Bind<&G::LEPilotFreq, &P::pilotFrequencyHz, Decimal, kShowOnly>(kRx),
    Bind<&G::LERSSI, &P::rssi, Decimal, kShowOnly>(kRx),
    Enable<&G::btn_rssi>(kRx), Enable<&G::BtnReadRSSI>(kRx), Enable<&G::BtnWriteRSSI>(kRx),
    Enable<&G::cb_rssi_logging>(kRx),
    // RDS.
    Bind<&G::LERXError, &P::rdsRxErrors, Decimal, kShowOnly>(kRx),
    Enable<&G::btn_rds>(kOn), Enable<&G::CBDecode>(kOn), Enable<&G::LData>(kOn), Enable<&G::LStatus>(kOn),
    Enable<&G::LData2>(kOn), Enable<&G::LStatus2>(kOn), Enable<&G::BtnReadRDS>(kOn), Enable<&G::BtnWriteRDS>(kOn),
    // Registers and gain.
    Bind<&G::LERegAddress, &P::regAddress, Hex4>(kOn),
    Bind<&G::LERegData, &P::regData, RegisterData>(kOn),
    Enable<&G::BtnReadReg>(kOn), Enable<&G::BtnWriteReg>(kOn), Enable<&G::le_pmu>(kRx),
    Bind<&G::CBAGCOn, &P::agcOn, Flag>(kRx),
    Bind<&G::CBLNAGain, &P::lnaGain, Index>(kAlways),
    Bind<&G::CBPPFGain, &P::ppfGain, Index>(kAlways),
    Bind<&G::CBExternalLNAOn, &P::externalLnaOn, Flag>(kRx),
    Bind<&G::LEOffset, &P::externalLnaOffset, Decimal>(kAlways),
    Bind<&G::CBFMRSupply, &P::supplyVoltage, Index>(kOn),
    Bind<&G::LEOutputPower, &P::txOutputPower, Decimal>(kTx),
    Bind<&G::CBIntLNA, &P::intLnaReduction, Index>(kAlways),
    Enable<&G::Btn_gain_read>(kOn), Enable<&G::btn_gain_write>(kOn),
    Enable<&G::CBOutput>(kRx), Enable<&G::btn_set_output>(kRx),
    // Test functions.
    Enable<&G::btn_test_tone>(kOn),
    Bind<&G::LELFreq, &P::toneLeftFreqHz, Decimal>(kOn),
    Bind<&G::LELLevel, &P::toneLeftAmplitude, Hex4>(kOn),
    Bind<&G::LELPhase, &P::toneLeftPhase, Hex4>(kOn),
    Bind<&G::LERFreq, &P::toneRightFreqHz, Decimal>(kOn),
    Bind<&G::LERLevel, &P::toneRightAmplitude, Hex4>(kOn),
    Bind<&G::LERPhase, &P::toneRightPhase, Hex4>(kOn),
    Enable<&G::btn_chirp>(kTx),
    // Transmit settings. The pilot's box comes after the deviations: its
    // handler works the frequency deviation out from them.
    Bind<&G::RGPreEmphasis, &P::preEmphasis, Index>(kTx),
    Bind<&G::CBAudioOutput, &P::txAudioMode, Index>(kTx),
    Bind<&G::LEFreqDeviation, &P::freqDeviationHz, Decimal>(kAlways),
    Bind<&G::LEPilotDeviation, &P::pilotDeviationHz, Decimal>(kTx),
    Bind<&G::LERDSDeviation, &P::rdsDeviationHz, Decimal>(kTx),
    Bind<&G::CBFreqMute, &P::rfMute, Flag>(kTx),
    Bind<&G::CBPilot, &P::pilotOn, Flag>(kTx),
    Bind<&G::CBModulation, &P::modulationOn, Flag>(kTx),
    Bind<&G::LEPI, &P::rdsPi, Decimal>(kTx),
    Bind<&G::LERT, &P::rdsRadioText, Text>(kTx),
    Bind<&G::LEPSN, &P::rdsPsName, Text>(kTx),
    Bind<&G::CBPSMode, &P::rdsPsMode, Index>(kTx),
    Bind<&G::LEPSRate, &P::rdsPsRate, Decimal>(kTx),
    Bind<&G::LERTP, &P::rdsRtPlus, Text>(kTx),
    Bind<&G::cb_ptc, &P::rdsPty, Index>(kTx),
    Enable<&G::LEAFList>(kTx), Enable<&G::BtnLoad>(kTx),
    Bind<&G::cbx_rds_stack, &P::rdsStackOn, Flag, kStoreOnly>(kAlways),
    // Transmit scan.
    Enable<&G::gb_tx_scan>(kTx), Enable<&G::btnTxScan>(kTx),
    Bind<&G::le_start_freq, &P::txScanStartHz, Decimal, kStoreOnly>(kTx),
    Bind<&G::le_stop_freq, &P::txScanStopHz, Decimal, kStoreOnly>(kTx),
    Bind<&G::LEMASRSSI2, &P::txScanMinRssi, Decimal, kStoreOnly>(kTx),
    Bind<&G::le_scan_freq, &P::txScanResultHz, Decimal, kShowOnly>(kAlways),
    Bind<&G::le_scan_rssi, &P::txScanResultRssi, Decimal, kShowOnly>(kAlways),
};
// clang-format on

}  // namespace

std::span<const ControlBinding> PanelBindings() {
  return kBindings;
}

}  // namespace gen1_panel
