// Audio, RSSI, gain, register and audio-output controls: the read and write
// buttons of those groups (and of the RDS group), the range checks of the
// audio edits with the volume's dB read-out, the register histories, the
// hidden "Read All" and the pilot check box.
#include <cmath>
#include <cstdio>
#include <string>

#include "common/convert.h"
#include "common/format.h"
#include "gen1_panel/field_text.h"
#include "gen1_panel/kelbo_fmr_gui.h"

namespace gen1_panel {

namespace {

constexpr int32_t kVolumeMax = 0x7FFF;
constexpr uint32_t kPmuPwmBit = 1u << 22;

// The volume's level below full scale as le_db shows it: 20 log10(v / 32767)
// in single precision, in the platform's general float format (15
// significant digits), cut after the first digit behind the point.
std::string VolumeDbText(const std::string& text, int32_t checked_value) {
  long double v = checked_value;
  if (text.find("0x") != std::string::npos && text.size() > 2) {
    v = common::HexToInt(text.c_str() + 2, 4);
  } else {
    // The text as a floating-point number; a text that passed the range
    // check without being one ("$4000") counts with the value it was
    // checked with.
    char* end = nullptr;
    const long double parsed = std::strtold(text.c_str(), &end);
    if (end != text.c_str() && std::string(end).find_first_not_of(" \t") == std::string::npos) {
      v = parsed;
    }
  }
  const float db = static_cast<float>(20.0L * std::log10(v * (1.0L / 32767.0L)));
  char formatted[64];
  std::snprintf(formatted, sizeof(formatted), "%.15G", static_cast<double>(db));
  const std::string full(formatted);
  const size_t point = full.find('.');
  return point == std::string::npos ? full.substr(0, 1) : full.substr(0, point + 2);
}

// A register address the radio takes: even up to 0x7FFF, a multiple of
// four from 0x8000 on.
bool ValidRegisterAddress(uint16_t address) {
  return address <= 0x7FFF ? address % 2 == 0 : address % 4 == 0;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Puts `text` at the top of a history list unless the list holds it.
void RememberInHistory(ui::ComboBox& history, const std::string& text) {
  for (const std::string& item : history.items()) {
    if (SameTextIgnoringCase(item, text)) return;
  }
  history.InsertItem(0, text);
}

}  // namespace

void TKelboFMRGUI::LEVolumeExit() {
  if (!fmr_.ValidateRange(*LEVolume, 1, kVolumeMax)) return;
  // Every showing of the block runs this: the read-out is worked out again
  // only when the volume's text changed.
  if (LEVolume->text() != volume_db_text_for_) {
    volume_db_text_for_ = LEVolume->text();
    volume_db_text_ = VolumeDbText(LEVolume->text(), common::DecimalValue(LEVolume->text()));
  }
  le_db->SetText(volume_db_text_);
}

void TKelboFMRGUI::LESNCStepExit() {
  fmr_.ValidateRange(*LESNCStep, 0, 32767);
}

void TKelboFMRGUI::LESNCLowThresholdExit() {
  fmr_.ValidateRange(*LESNCLowThreshold, -100, 200);
}

void TKelboFMRGUI::LESNCHighThresholdExit() {
  fmr_.ValidateRange(*LESNCHighThreshold, -100, 200);
}

void TKelboFMRGUI::LESMSSExit() {
  fmr_.ValidateRange(*LESMSS, 0, 32767);
}

void TKelboFMRGUI::LESMThresholdExit() {
  fmr_.ValidateRange(*LESMThreshold, -100, 200);
}

void TKelboFMRGUI::BtnReadAudioClick() {
  RunOperation("Read audio control.", &gen1::CKelboFMRFunction::ReadRxAudio,
               &gen1::CKelboFMRFunction::ReadTxStatus);
}

void TKelboFMRGUI::BtnWriteAudioClick() {
  // The check and read-out come first; a volume out of range is written
  // all the same.
  LEVolumeExit();
  RunOperation("Write audio control.", &gen1::CKelboFMRFunction::WriteRxAudio,
               &gen1::CKelboFMRFunction::WriteTxAudio);
}

void TKelboFMRGUI::BtnReadRSSIClick() {
  RunOperation("Read RSSI.", &gen1::CKelboFMRFunction::AccessRssi,
               &gen1::CKelboFMRFunction::AccessRssi,
               [](gen1::FmrParameters& p) { p.rssiAccess = gen1::RssiAccess::kRead; });
}

void TKelboFMRGUI::BtnWriteRSSIClick() {
  RunOperation("Write RSSI.", &gen1::CKelboFMRFunction::AccessRssi,
               &gen1::CKelboFMRFunction::AccessRssi,
               [](gen1::FmrParameters& p) { p.rssiAccess = gen1::RssiAccess::kWrite; });
}

void TKelboFMRGUI::BtnReadRDSClick() {
  RunOperation("Read RDS.", &gen1::CKelboFMRFunction::AccessRds,
               &gen1::CKelboFMRFunction::ReadTxRds);
}

void TKelboFMRGUI::BtnWriteRDSClick() {
  RunOperation("Write RDS.", &gen1::CKelboFMRFunction::AccessRds,
               &gen1::CKelboFMRFunction::WriteTxRds);
}

void TKelboFMRGUI::AccessRegister(const char* log_line, bool write) {
  Log(log_line);
  SyncParameters(true);
  gen1::FmrParameters& p = fmr_.parameters();
  if (!ValidRegisterAddress(p.regAddress)) {
    services().ShowMessage("The register address is incorrect.", "", ui::MessageIcon::kNone);
    return;
  }
  RememberInHistory(*LERegAddress, HexText(p.regAddress, 4));
  if (write) RememberInHistory(*LERegData, HexText(p.regData, 8));
  p.regAccess = write ? gen1::RegAccess::kWrite : gen1::RegAccess::kRead;
  fmr_.AccessRegister();
  SyncParameters(false);
}

void TKelboFMRGUI::BtnReadRegClick() {
  AccessRegister("Read register.", false);
}

void TKelboFMRGUI::BtnWriteRegClick() {
  AccessRegister("Write register.", true);
}

void TKelboFMRGUI::btn_gain_writeClick() {
  RunOperation("Write Gain Control.", &gen1::CKelboFMRFunction::WriteGain,
               &gen1::CKelboFMRFunction::WriteGain);
}

void TKelboFMRGUI::Btn_gain_readClick() {
  RunOperation("Read gain control.", &gen1::CKelboFMRFunction::ReadGain,
               &gen1::CKelboFMRFunction::ReadGain);
}

void TKelboFMRGUI::Btn_readallClick() {
  for (ui::Button* read : {BtnRefresh, BtnReadFrequency, BtnReadAudio, Btn_gain_read, BtnReadRSSI,
                           BtnReadRDS, BtnReadReg}) {
    read->Click();
  }
  uint32_t pmu = 0;
  if (fmr_.ReadPmuRegister(pmu)) le_pmu->SetText((pmu & kPmuPwmBit) != 0 ? "PWM" : "PFM");
}

void TKelboFMRGUI::btn_set_outputClick() {
  const int index = CBOutput->item_index();
  Log(std::string("Configure destination to: ") + (index == 0 ? "headset" : "backspeaker"));
  fmr_.SetAudioOutput(static_cast<uint8_t>(index));
}

void TKelboFMRGUI::CBPilotClick() {
  UpdateFreqDeviation();
}

}  // namespace gen1_panel
