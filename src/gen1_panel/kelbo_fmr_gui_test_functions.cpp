// Test functions: chirp, the two-channel test tone, the RSSI subscription,
// the transmit scan, the CP read-out, the RSSI scan with its log file and
// the self test.
#include <cstdint>
#include <fstream>
#include <string>

#include "common/channel_spacing.h"
#include "common/convert.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "platform/platform.h"

namespace gen1_panel {

namespace {

// Taken off both tone amplitudes while the pilot is off.
constexpr uint32_t kToneWithoutPilot = 592;
constexpr int32_t kToneMinHz = 1;
constexpr int32_t kToneMaxHz = 20000;

constexpr char kScanLogName[] = "rssi_logging.log";
constexpr char kScanLineEnd[] = "\r\n";  // the log is a text file of the target platform
constexpr int32_t kScanDefaultMinHz = 76000000;
constexpr int32_t kScanDefaultMaxHz = 108000000;
constexpr uint32_t kLowInjectionBit = 0x40000;

}  // namespace

void TKelboFMRGUI::btn_chirpClick() {
  SyncParameters(true);
  const bool on = btn_chirp->caption() == "Chirp On";
  btn_chirp->SetCaption(on ? "Chirp Off" : "Chirp On");
  Log(on ? "Chirp on." : "Chirp off.");
  fmr_.parameters().chirpOn = on ? gen1::TestSignal::kOn : gen1::TestSignal::kOff;
  fmr_.SetChirp();
  SyncParameters(false);
}

void TKelboFMRGUI::btn_test_toneClick() {
  SyncParameters(true);
  const bool on = btn_test_tone->caption() == "Tone On";
  btn_test_tone->SetCaption(on ? "Tone Off" : "Tone On");
  Log(on ? "Test tone on." : "Test tone off.");
  gen1::FmrParameters& p = fmr_.parameters();
  p.toneOn = on ? gen1::TestSignal::kOn : gen1::TestSignal::kOff;
  // Without the pilot the radio gets amplitudes 592 lower; the block holds
  // the edits' values again afterwards.
  if (!CBPilot->checked()) {
    p.toneLeftAmplitude -= kToneWithoutPilot;
    p.toneRightAmplitude -= kToneWithoutPilot;
  }
  fmr_.SetTestTone();
  if (!CBPilot->checked()) {
    p.toneLeftAmplitude += kToneWithoutPilot;
    p.toneRightAmplitude += kToneWithoutPilot;
  }
  SyncParameters(false);
}

void TKelboFMRGUI::LELFreqExit() {
  fmr_.ValidateRange(*LELFreq, kToneMinHz, kToneMaxHz);
}

void TKelboFMRGUI::LERFreqExit() {
  fmr_.ValidateRange(*LERFreq, kToneMinHz, kToneMaxHz);
}

void TKelboFMRGUI::btn_rssiClick() {
  const bool on = btn_rssi->caption() == "RSSI On";
  btn_rssi->SetCaption(on ? "RSSI Off" : "RSSI On");
  Log(on ? "Turn on RSSI subscribe" : "Turn off RSSI subscribe");
  SyncParameters(true);
  fmr_.parameters().rssiState = on ? gen1::FmrSwitch::kOn : gen1::FmrSwitch::kOff;
  fmr_.AccessRssi();
  // The first tick shows the values.
  TRSSI->SetEnabled(on);
}

void TKelboFMRGUI::TRSSITimer() {
  TRSSI->SetEnabled(false);
  SyncParameters(true);
  fmr_.AccessRssi();
  SyncParameters(false);
  TRSSI->SetEnabled(true);
}

void TKelboFMRGUI::btnTxScanClick() {
  RunOperation("TX Scan.", &gen1::CKelboFMRFunction::TxScan, &gen1::CKelboFMRFunction::TxScan);
}

uint32_t TKelboFMRGUI::ReadCp() {
  // A chip whose version names "358" keeps the code in the upper half of
  // another register.
  const bool wide = fmr_.ReadVersionText(0x32, 0).find("358") != std::string::npos;
  LERegAddress->SetText(wide ? "0x8778" : "0x8740");
  BtnReadReg->Click();
  return fmr_.parameters().regData >> (wide ? 16 : 11);
}

void TKelboFMRGUI::btn_readcpClick() {
  Log("CP value:" + std::to_string(ReadCp()));
}

void TKelboFMRGUI::cb_rssi_loggingClick() {
  // Unchecking the box stops a scan and keeps the log of the last one.
  if (!cb_rssi_logging->checked()) return;
  std::ofstream log(platform::ProgramFolder() + kScanLogName, std::ios::binary | std::ios::trunc);
  if (!log) return;
  log << "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband" << kScanLineEnd;

  gen1::FmrParameters& p = fmr_.parameters();
  // The spacing box's item, or the first spacing when none is chosen.
  const uint32_t spacing = common::ChannelSpacingOfItem(CBChannelSpacing->item_index());
  p.channelSpacing = spacing != 0 ? spacing : common::kChannelSpacingsHz[0];
  // Wide enough that a step past the largest 32-bit limit still ends.
  int64_t f = common::TextToIntDef(LEMINFreq->text(), kScanDefaultMinHz);
  while (f <= common::TextToIntDef(LEMAXFreq->text(), kScanDefaultMaxHz) &&
         cb_rssi_logging->checked()) {
    LEFrequency->SetText(std::to_string(static_cast<int32_t>(f)));
    BtnWriteFrequency->Click();
    BtnReadFrequency->Click();
    BtnReadRSSI->Click();
    btn_readcp->Click();
    std::string line = std::to_string(p.frequencyHz) + "\t  \t" + std::to_string(p.rssi) +
                       "\t\t\t" + std::to_string(p.regData >> 11);
    LERegAddress->SetText("0x8724");
    BtnReadReg->Click();
    line += (p.regData & kLowInjectionBit) == 0 ? "\t\t\tHigh" : "\t\t\tLow";
    log << line << kScanLineEnd;
    if (p.channelSpacing == 0) break;  // a radio reporting no raster: one step only
    f += p.channelSpacing;
  }
}

void TKelboFMRGUI::btn_selftestClick() {
  // With the radio on, the frequency read back is the one tested.
  if (radioOn) BtnReadFrequency->Click();
  fmr_.SelfTest(LEFrequency->text());
}

}  // namespace gen1_panel
