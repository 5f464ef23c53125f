// The panel's controls. Edits, selectors, check boxes and radio groups are
// created in the order in which the settings file stores them; buttons,
// labels, group boxes and timers go wherever the layout wants them. Every
// control sits in a group box; a control that starts a row says so.
#include <string>
#include <vector>

#include "gen1_panel/kelbo_fmr_gui.h"

namespace {

using Items = std::vector<std::string>;
enum Row : bool { kSameRow = false, kNewRow = true };

template <typename T>
T* Placed(T& control, Row row) {
  control.set_new_row(row == kNewRow);
  return &control;
}

Items GainItems(int first_db, int step_db) {
  Items items;
  for (int i = 0; i < 16; ++i) items.push_back(std::to_string(first_db + i * step_db) + "dB");
  return items;
}

}  // namespace

void TKelboFMRGUI::CreateControls() {
  auto group = [this](const char* name, ui::Control* parent, const char* caption) {
    return Placed(Add<ui::GroupBox>(name, parent, caption), kNewRow);
  };
  auto edit = [this](const char* name, ui::Control* parent, const char* label, const char* text,
                     Row row = kNewRow) {
    return Placed(Add<ui::LabeledEdit>(name, parent, label, text), row);
  };
  auto display = [&edit](const char* name, ui::Control* parent, const char* label,
                         Row row = kNewRow) {
    ui::LabeledEdit* e = edit(name, parent, label, "", row);
    e->set_read_only(true);
    return e;
  };
  auto check = [this](const char* name, ui::Control* parent, const char* caption, bool checked,
                      Row row = kNewRow) {
    return Placed(Add<ui::CheckBox>(name, parent, caption, checked), row);
  };
  // A selector with a caption label in front of it.
  auto selector = [this](const char* name, ui::Control* parent, const char* caption, Items items,
                         int index, Row row = kNewRow,
                         ui::ComboBox::Style style = ui::ComboBox::Style::kDropDownList) {
    Placed(Add<ui::Label>(std::string("Lbl") + name, parent, caption), row);
    return Placed(Add<ui::ComboBox>(name, parent, style, std::move(items), index), kSameRow);
  };
  auto button = [this](const char* name, ui::Control* parent, const char* caption,
                       Row row = kSameRow) {
    return Placed(Add<ui::Button>(name, parent, caption), row);
  };
  auto label = [this](const char* name, ui::Control* parent, const char* caption,
                      Row row = kSameRow) {
    return Placed(Add<ui::Label>(name, parent, caption), row);
  };

  GBPowerTuning = group("GBPowerTuning", this, "Power and Tuning");
  GBAudio = group("GBAudio", this, "Audio Control");
  GBRSSI = group("GBRSSI", this, "RSSI Control");
  GBRDS = group("GBRDS", this, "RDS Control");
  GBGain = group("GBGain", this, "Gain Control");
  GBRegister = group("GBRegister", this, "Register Control");
  GBAudioOutput = group("GBAudioOutput", this, "Audio Output");
  GBTestFunctions = group("GBTestFunctions", this, "Test Functions");
  GBTxSettings = group("GBTxSettings", this, "Transmit Settings");

  // Audio Control, first part.
  LEVolume = edit("LEVolume", GBAudio, "Volume Level:", "32767");
  CBMute = check("CBMute", GBAudio, "Mute", false, kSameRow);
  CBSNC = check("CBSNC", GBAudio, "Stereo Noise Cancellation: ", true);
  LESNCStep = edit("LESNCStep", GBAudio, "Step (dB):", "400", kSameRow);
  LESNCHighThreshold = edit("LESNCHighThreshold", GBAudio, "High (dBuV):", "50", kSameRow);
  CBOutputPath = selector("CBOutputPath", GBAudio, "Output Path:", {"DAC", "SRC"}, 0);
  CBSoftMute = check("CBSoftMute", GBAudio, "Soft Mute", true);
  LESMSS = edit("LESMSS", GBAudio, "Step (dB):", "818", kSameRow);
  LESMThreshold = edit("LESMThreshold", GBAudio, "Threshold (dBuV):", "10", kSameRow);

  // Transmit audio settings.
  CBAudioOutput = selector("CBAudioOutput", GBTxSettings, "TX Audio:", {"Mono", "Stereo"}, 1);
  CBModulation = check("CBModulation", GBTxSettings, "Modulation", true, kSameRow);

  RGDeEmphasis = Placed(
      Add<ui::RadioGroup>("RGDeEmphasis", GBAudio, "De-emphasis", Items{"50us", "75us"}, 0, 2),
      kNewRow);
  RGPreEmphasis = Placed(Add<ui::RadioGroup>("RGPreEmphasis", GBTxSettings, "Pre-emphasis",
                                             Items{"50us", "75us"}, 1, 2),
                         kNewRow);
  LESNCLowThreshold = edit("LESNCLowThreshold", GBAudio, "SNC Low (dBuV):", "25", kSameRow);

  // Test tone.
  btn_chirp = button("btn_chirp", GBTestFunctions, "Chirp On", kNewRow);
  btn_test_tone = button("btn_test_tone", GBTestFunctions, "Tone On");
  LELFreq = edit("LELFreq", GBTestFunctions, "Left Freq (Hz):", "1000");
  LELLevel = edit("LELLevel", GBTestFunctions, "Left Level:", "0x2000", kSameRow);
  LELPhase = edit("LELPhase", GBTestFunctions, "Left Phase:", "0", kSameRow);
  LERFreq = edit("LERFreq", GBTestFunctions, "Right Freq (Hz):", "1000");
  LERLevel = edit("LERLevel", GBTestFunctions, "Right Level:", "0x2000", kSameRow);
  LERPhase = edit("LERPhase", GBTestFunctions, "Right Phase:", "0", kSameRow);

  // Audio Control, read-outs and buttons.
  le_db = display("le_db", GBAudio, "Volume (dB):");
  label("LblStereo", GBAudio, "Stereo:");
  LStereo = label("LStereo", GBAudio, "Yes");
  BtnReadAudio = button("BtnReadAudio", GBAudio, "Read", kNewRow);
  BtnWriteAudio = button("BtnWriteAudio", GBAudio, "Write");

  // RSSI Control.
  LERSSIOffset = edit("LERSSIOffset", GBRSSI, "RSSI Offset (dBuV):", "0");
  LELowRSSI = edit("LELowRSSI", GBRSSI, "Low RSSI (dBuV):", "20");
  LEPilotFreq = display("LEPilotFreq", GBRSSI, "Pilot Freq (Hz):");
  LERSSI = display("LERSSI", GBRSSI, "RSSI (dBuV):", kSameRow);
  LEHighRSSI = edit("LEHighRSSI", GBRSSI, "High RSSI (dBuV):", "50");
  btn_rssi = button("btn_rssi", GBRSSI, "RSSI On", kNewRow);
  BtnReadRSSI = button("BtnReadRSSI", GBRSSI, "Read");
  BtnWriteRSSI = button("BtnWriteRSSI", GBRSSI, "Write");

  cb_rssi_logging = check("cb_rssi_logging", GBTestFunctions, "RSSI Scan Logging", false);
  btn_readcp = button("btn_readcp", GBTestFunctions, "Read CP");
  btn_selftest = button("btn_selftest", GBTestFunctions, "Self Test");

  // RDS Control.
  btn_rds = button("btn_rds", GBRDS, "RDS On", kNewRow);
  CBDecode = selector("CBDecode", GBRDS, "Decoder:", {"RDS", "R(B)DS"}, 0, kSameRow);
  LERXError = display("LERXError", GBRDS, "RX Errors:", kSameRow);
  LData = label("LData", GBRDS, "", kNewRow);
  LStatus = label("LStatus", GBRDS, "");
  LData2 = label("LData2", GBRDS, "", kNewRow);
  LStatus2 = label("LStatus2", GBRDS, "");
  BtnReadRDS = button("BtnReadRDS", GBRDS, "Read", kNewRow);
  BtnWriteRDS = button("BtnWriteRDS", GBRDS, "Write");

  // Transmit RDS settings.
  LERDSDeviation = edit("LERDSDeviation", GBTxSettings, "RDS Deviation (Hz):", "2000");
  gb_feature = group("gb_feature", GBTxSettings, "RDS Features");
  LEPI = edit("LEPI", gb_feature, "PI:", "4660");
  LEPSN = edit("LEPSN", gb_feature, "PS Name:", "SONVIO");
  LEPSN->set_max_length(64);
  LERT = edit("LERT", gb_feature, "Radio Text:", "FM radio test transmission");
  LERT->set_max_length(64);
  LERTP = edit("LERTP", gb_feature, "RT+:", "");
  LERTP->set_max_length(8);
  CBPSMode = selector("CBPSMode", GBTxSettings, "PS Mode:", {"Static", "Scroll", "Page"}, 0);
  LEPSRate = edit("LEPSRate", GBTxSettings, "PS Rate:", "1", kSameRow);
  LEAFList = display("LEAFList", gb_feature, "Alternative Freq:");
  BtnLoad = button("BtnLoad", gb_feature, "Load");
  cb_ptc = selector("cb_ptc", gb_feature, "Programme Type:", {}, -1);
  cbx_rds_stack = check("cbx_rds_stack", GBTxSettings, "RDS Stack", true);
  cbx_AF = check("cbx_AF", gb_feature, "AF", false);
  cbx_PI = check("cbx_PI", gb_feature, "PI", true, kSameRow);
  cbx_PS = check("cbx_PS", gb_feature, "PS", true, kSameRow);
  cbx_RT = check("cbx_RT", gb_feature, "RT", true, kSameRow);
  cbx_RTP = check("cbx_RTP", gb_feature, "RT+", false, kSameRow);
  cbx_PTC = check("cbx_PTC", gb_feature, "PTY", false, kSameRow);

  // Power and tuning, mode and antenna.
  CBTMode = selector("CBTMode", GBPowerTuning, "Mode:", {"Receive", "Transmit"}, 0);
  CBAntenna =
      selector("CBAntenna", GBPowerTuning, "Antenna:", {"Internal", "External"}, 1, kSameRow);
  BtnFMREnable = button("BtnFMREnable", GBPowerTuning, "FMR ON", kNewRow);
  BtnFMRDisable = button("BtnFMRDisable", GBPowerTuning, "FMR OFF");
  BtnRefresh = button("BtnRefresh", GBPowerTuning, "Refresh");
  label("LblReady", GBPowerTuning, "Ready:");
  LReady = label("LReady", GBPowerTuning, "Yes");
  LReady->SetColor(ui::Label::Color::kGreen);

  // Gain Control.
  CBAGCOn = check("CBAGCOn", GBGain, "AGC", true);
  CBExternalLNAOn = check("CBExternalLNAOn", GBGain, "External LNA", false, kSameRow);
  CBFMRSupply =
      selector("CBFMRSupply", GBGain,
               "Supply:", {"1.15V", "1.2V", "1.25V", "1.3V", "1.35V", "1.4V", "1.45V", "1.8V"}, 3);
  CBLNAGain = selector("CBLNAGain", GBGain, "LNA Gain:", GainItems(0, 1), 15);
  CBPPFGain = selector("CBPPFGain", GBGain, "PPF Gain:", GainItems(10, 2), 15, kSameRow);
  LEOffset = edit("LEOffset", GBGain, "Offset (dB):", "0");
  CBIntLNA = selector("CBIntLNA", GBGain, "Int LNA:", {"0dB", "3dB", "6dB", "9dB"}, 0, kSameRow);
  LEOutputPower = edit("LEOutputPower", GBGain, "TX Output Power: ", "120");
  Btn_gain_read = button("Btn_gain_read", GBGain, "Read", kNewRow);
  btn_gain_write = button("btn_gain_write", GBGain, "Write");

  le_pmu = display("le_pmu", GBRegister, "Mode:  ");

  // Power and tuning, band and frequency.
  LEFrequency = edit("LEFrequency", GBPowerTuning, "Frequency (Hz):", "76000000");
  LEFrequency->set_max_length(9);
  CBMono = check("CBMono", GBPowerTuning, "Force mono", false, kSameRow);
  LEMAXFreq = edit("LEMAXFreq", GBPowerTuning, "Max Freq (Hz):", "108000000");
  LEMAXFreq->set_max_length(9);
  LEMINFreq = edit("LEMINFreq", GBPowerTuning, "Min Freq (Hz):", "76000000", kSameRow);
  LEMINFreq->set_max_length(9);
  LEMASRSSI = edit("LEMASRSSI", GBPowerTuning, "Min RSSI (dBuV):", "25");
  CBChannelSpacing = selector("CBChannelSpacing", GBPowerTuning,
                              "Spacing:", {"50kHz", "100kHz", "200kHz"}, 1, kSameRow);
  CBBandSelection =
      selector("CBBandSelection", GBPowerTuning,
               "Band:", {"US Band 87.5MHz ~ 108MHz", "Japanese Band 76MHz ~ 90MHz", "Manual"}, 2);

  // Transmit deviation and mute.
  LEFreqDeviation = display("LEFreqDeviation", GBTxSettings, "Freq Deviation:");
  LEFreqDeviation->SetText("75000");
  CBFreqMute = check("CBFreqMute", GBTxSettings, "RF Mute", false, kSameRow);
  CBFreqMute->SetVisible(false);

  CBSideband =
      selector("CBSideband", GBPowerTuning, "Sideband:", {"Low", "High", "Auto"}, 2, kSameRow);
  BtnTuneUp = button("BtnTuneUp", GBPowerTuning, "Tune Up", kNewRow);
  BtnTuneDown = button("BtnTuneDown", GBPowerTuning, "Tune Down");
  BtnSeekDown = button("BtnSeekDown", GBPowerTuning, "<< Seek Downwards");
  BtnSeekUp = button("BtnSeekUp", GBPowerTuning, "Seek Upwards >>");
  label("LblStation", GBPowerTuning, "Station:", kNewRow);
  BtnReadFrequency = button("BtnReadFrequency", GBPowerTuning, "Read");
  BtnWriteFrequency = button("BtnWriteFrequency", GBPowerTuning, "Write");
  btn_save = button("btn_save", GBPowerTuning, "Save", kNewRow);
  btn_load = button("btn_load", GBPowerTuning, "Load");

  CBPilot = check("CBPilot", GBTxSettings, "Pilot", true);
  LEPilotDeviation =
      edit("LEPilotDeviation", GBTxSettings, "Pilot Deviation (Hz):", "6750", kSameRow);

  // Transmit scan.
  gb_tx_scan = group("gb_tx_scan", GBTestFunctions, "TX Scan");
  le_start_freq = edit("le_start_freq", gb_tx_scan, "Start (Hz):", "87500000");
  le_stop_freq = edit("le_stop_freq", gb_tx_scan, "Stop (Hz):", "108000000", kSameRow);
  le_scan_freq = display("le_scan_freq", gb_tx_scan, "Found (Hz):");
  le_scan_rssi = display("le_scan_rssi", gb_tx_scan, "RSSI (dBuV):", kSameRow);
  LEMASRSSI2 = edit("LEMASRSSI2", gb_tx_scan, "Min RSSI (dBuV):", "25");
  btnTxScan = button("btnTxScan", gb_tx_scan, "Scan");

  // Register Control and Audio Output.
  LERegAddress = selector("LERegAddress", GBRegister, "Address (Hex): ", {}, -1, kNewRow,
                          ui::ComboBox::Style::kDropDown);
  LERegData = selector("LERegData", GBRegister, "Data (Hex):", {}, -1, kSameRow,
                       ui::ComboBox::Style::kDropDown);
  BtnReadReg = button("BtnReadReg", GBRegister, "Read", kNewRow);
  BtnWriteReg = button("BtnWriteReg", GBRegister, "Write");
  Btn_readall = button("Btn_readall", GBRegister, "Read All");
  Btn_readall->SetVisible(false);
  Btn_readall->SetEnabled(false);

  CBOutput = selector("CBOutput", GBAudioOutput,
                      "Destination:", {"Earpiece", "Headset", "Loudspeaker"}, -1);
  btn_set_output = button("btn_set_output", GBAudioOutput, "Set");

  TRxRDS = &Add<ui::Timer>("TRxRDS", 1400u, false);
  TTxRDS1 = &Add<ui::Timer>("TTxRDS1", 1400u, false);
  TTxRDS2 = &Add<ui::Timer>("TTxRDS2", 1400u, false);
  TRSSI = &Add<ui::Timer>("TRSSI", 1000u, false);
  OpenDialog1 = &Add<ui::OpenDialog>("OpenDialog1");
}
