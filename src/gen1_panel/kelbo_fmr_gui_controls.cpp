// The panel's controls, one function per group box in reading order. The
// settings file stores the edits, selectors, check boxes and radio groups in
// a fixed order, which the component list follows (kSavedControls).
#include <initializer_list>
#include <string>
#include <vector>

#include "gen1_panel/kelbo_fmr_gui.h"
#include "ui/builder.h"

namespace gen1_panel {

namespace {

using ui::Row;
using Items = std::vector<std::string>;

// The controls the settings file saves, in the order it saves them.
const std::vector<std::string_view> kSavedControls = {
    "LEVolume",
    "CBMute",
    "CBSNC",
    "LESNCStep",
    "LESNCHighThreshold",
    "CBOutputPath",
    "CBSoftMute",
    "LESMSS",
    "LESMThreshold",
    "CBAudioOutput",
    "CBModulation",
    "RGDeEmphasis",
    "RGPreEmphasis",
    "LESNCLowThreshold",
    "LELFreq",
    "LELLevel",
    "LELPhase",
    "LERFreq",
    "LERLevel",
    "LERPhase",
    "le_db",
    "LERSSIOffset",
    "LELowRSSI",
    "LEPilotFreq",
    "LERSSI",
    "LEHighRSSI",
    "cb_rssi_logging",
    "CBDecode",
    "LERXError",
    "LERDSDeviation",
    "LEPI",
    "LEPSN",
    "LERT",
    "LERTP",
    "CBPSMode",
    "LEPSRate",
    "LEAFList",
    "cb_ptc",
    "cbx_rds_stack",
    "cbx_AF",
    "cbx_PI",
    "cbx_PS",
    "cbx_RT",
    "cbx_RTP",
    "cbx_PTC",
    "CBTMode",
    "CBAntenna",
    "CBAGCOn",
    "CBExternalLNAOn",
    "CBFMRSupply",
    "CBLNAGain",
    "CBPPFGain",
    "LEOffset",
    "CBIntLNA",
    "LEOutputPower",
    "le_pmu",
    "LEFrequency",
    "CBMono",
    "LEMAXFreq",
    "LEMINFreq",
    "LEMASRSSI",
    "CBChannelSpacing",
    "CBBandSelection",
    "LEFreqDeviation",
    "CBFreqMute",
    "CBSideband",
    "CBPilot",
    "LEPilotDeviation",
    "le_start_freq",
    "le_stop_freq",
    "le_scan_freq",
    "le_scan_rssi",
    "LEMASRSSI2",
    "LERegAddress",
    "LERegData",
    "CBOutput",
};

// Width hints, in average characters: nine-digit frequencies in hertz,
// levels and settings of a few digits, the four blocks of an RDS group and
// their status (any status, and blocks with up to 14 of their 16 digits
// among the widest, A to D), a programme service name, a radio text and a
// list of alternative frequencies (the last two scroll).
constexpr int kFrequencyChars = 11;
constexpr int kLevelChars = 5;
constexpr int kRdsBlocksChars = 33;
constexpr int kRdsStatusChars = 17;
constexpr int kPsNameChars = 10;
constexpr int kRadioTextChars = 40;
constexpr int kFrequencyListChars = 30;

template <typename T>
void SetWidths(std::initializer_list<T*> controls, int chars) {
  for (T* control : controls) control->set_width_chars(chars);
}

// Sixteen gain steps: "0dB" to "15dB", or "10dB" to "40dB".
Items GainItems(int first_db, int step_db) {
  Items items;
  for (int i = 0; i < 16; ++i) items.push_back(std::to_string(first_db + i * step_db) + "dB");
  return items;
}

}  // namespace

void TKelboFMRGUI::CreateControls() {
  // Four columns across a bench screen, read top to bottom: tuning, the
  // signal level and where the sound goes; what is heard and the test
  // signals; the front end's gain and RDS; transmitting and the registers.
  // Each column fits the height of a bench screen. The list of RDS groups,
  // the one read-out that grows downwards (to 20 lines), ends its column,
  // so it moves nothing and its column stays on the screen at its fullest.
  ui::Builder form(*this, *this);
  GBPowerTuning = &form.AddGroup("GBPowerTuning", "Power and Tuning");
  CreatePowerTuning(form.In(*GBPowerTuning));
  GBRSSI = &form.AddGroup("GBRSSI", "RSSI Control");
  CreateRssi(form.In(*GBRSSI));
  GBAudioOutput = &form.AddGroup("GBAudioOutput", "Audio Output");
  CreateAudioOutput(form.In(*GBAudioOutput));
  GBAudio = &form.AddGroup("GBAudio", "Audio Control", Row::kNewColumn);
  CreateAudio(form.In(*GBAudio));
  GBTestFunctions = &form.AddGroup("GBTestFunctions", "Test Functions");
  CreateTestFunctions(form.In(*GBTestFunctions));
  GBGain = &form.AddGroup("GBGain", "Gain Control", Row::kNewColumn);
  CreateGain(form.In(*GBGain));
  GBRDS = &form.AddGroup("GBRDS", "RDS Control");
  CreateRds(form.In(*GBRDS));
  GBTxSettings = &form.AddGroup("GBTxSettings", "Transmit Settings", Row::kNewColumn);
  CreateTxSettings(form.In(*GBTxSettings));
  GBRegister = &form.AddGroup("GBRegister", "Register Control");
  CreateRegister(form.In(*GBRegister));

  TRxRDS = &Add<ui::Timer>("TRxRDS", 1400u, false);
  TTxRDS1 = &Add<ui::Timer>("TTxRDS1", 1400u, false);
  TTxRDS2 = &Add<ui::Timer>("TTxRDS2", 1400u, false);
  TRSSI = &Add<ui::Timer>("TRSSI", 1000u, false);
  OpenDialog1 = &Add<ui::OpenDialog>("OpenDialog1");
  OrderComponents(kSavedControls);
}

void TKelboFMRGUI::CreatePowerTuning(ui::Builder g) {
  CBTMode = &g.AddChoice("LblCBTMode", "Mode:", "CBTMode", {"Receive", "Transmit"}, 0);
  CBAntenna = &g.AddChoice("LblCBAntenna", "Antenna:", "CBAntenna", {"Internal", "External"}, 1,
                           Row::kSame);
  BtnFMREnable = &g.AddButton("BtnFMREnable", "FMR ON", Row::kNew);
  BtnFMRDisable = &g.AddButton("BtnFMRDisable", "FMR OFF");
  BtnRefresh = &g.AddButton("BtnRefresh", "Refresh");
  LEFrequency = &g.AddEdit("LEFrequency", "Frequency (Hz):", "76000000");
  LEFrequency->set_max_length(9);
  CBMono = &g.AddCheck("CBMono", "Force mono", false, Row::kSame);
  g.AddLabel("LblReady", "Ready:");
  LReady = &g.AddLabel("LReady", "Yes");
  LReady->SetColor(ui::Label::Color::kGreen);
  LEMAXFreq = &g.AddEdit("LEMAXFreq", "Max Freq (Hz):", "108000000");
  LEMAXFreq->set_max_length(9);
  LEMINFreq = &g.AddEdit("LEMINFreq", "Min Freq (Hz):", "76000000", Row::kSame);
  LEMINFreq->set_max_length(9);
  LEMASRSSI = &g.AddEdit("LEMASRSSI", "Min RSSI (dBuV):", "25", Row::kSame);
  CBBandSelection =
      &g.AddChoice("LblCBBandSelection", "Band:", "CBBandSelection",
                   {"US Band 87.5MHz ~ 108MHz", "Japanese Band 76MHz ~ 90MHz", "Manual"}, 2);
  CBChannelSpacing = &g.AddChoice("LblCBChannelSpacing", "Spacing:", "CBChannelSpacing",
                                  {"50kHz", "100kHz", "200kHz"}, 1);
  CBSideband = &g.AddChoice("LblCBSideband", "Sideband:", "CBSideband", {"Low", "High", "Auto"}, 2,
                            Row::kSame);
  BtnTuneUp = &g.AddButton("BtnTuneUp", "Tune Up", Row::kNew);
  BtnTuneDown = &g.AddButton("BtnTuneDown", "Tune Down");
  BtnSeekDown = &g.AddButton("BtnSeekDown", "<< Seek Downwards", Row::kNew);
  BtnSeekUp = &g.AddButton("BtnSeekUp", "Seek Upwards >>");
  g.AddLabel("LblStation", "Station:", Row::kNew);
  BtnReadFrequency = &g.AddButton("BtnReadFrequency", "Read");
  BtnWriteFrequency = &g.AddButton("BtnWriteFrequency", "Write");
  btn_save = &g.AddButton("btn_save", "Save", Row::kNew);
  btn_load = &g.AddButton("btn_load", "Load");
  SetWidths({LEFrequency, LEMAXFreq, LEMINFreq}, kFrequencyChars);
  SetWidths({LEMASRSSI}, kLevelChars);
}

void TKelboFMRGUI::CreateAudio(ui::Builder g) {
  LEVolume = &g.AddEdit("LEVolume", "Volume Level:", "32767");
  le_db = &g.AddDisplay("le_db", "Volume (dB):", Row::kSame);
  CBMute = &g.AddCheck("CBMute", "Mute", false, Row::kSame);
  // The stereo read-out starts the next row, which keeps the group as
  // narrow as the test functions below it.
  g.AddLabel("LblStereo", "Stereo:", Row::kNew);
  LStereo = &g.AddLabel("LStereo", "Yes");
  CBSNC = &g.AddCheck("CBSNC", "Stereo Noise Cancellation: ", true, Row::kSame);
  LESNCStep = &g.AddEdit("LESNCStep", "Step (dB):", "400");
  LESNCHighThreshold = &g.AddEdit("LESNCHighThreshold", "High (dBuV):", "50", Row::kSame);
  LESNCLowThreshold = &g.AddEdit("LESNCLowThreshold", "SNC Low (dBuV):", "25", Row::kSame);
  CBSoftMute = &g.AddCheck("CBSoftMute", "Soft Mute", true);
  LESMSS = &g.AddEdit("LESMSS", "Step (dB):", "818", Row::kSame);
  LESMThreshold = &g.AddEdit("LESMThreshold", "Threshold (dBuV):", "10", Row::kSame);
  CBOutputPath = &g.AddChoice("LblCBOutputPath", "Output Path:", "CBOutputPath", {"DAC", "SRC"}, 0);
  RGDeEmphasis = &g.Add<ui::RadioGroup>(Row::kSame, "RGDeEmphasis", "De-emphasis",
                                        Items{"50us", "75us"}, 0, 2);
  BtnReadAudio = &g.AddButton("BtnReadAudio", "Read", Row::kNew);
  BtnWriteAudio = &g.AddButton("BtnWriteAudio", "Write");
  SetWidths(
      {LEVolume, le_db, LESNCStep, LESNCHighThreshold, LESNCLowThreshold, LESMSS, LESMThreshold},
      kLevelChars);
}

void TKelboFMRGUI::CreateRssi(ui::Builder g) {
  LERSSIOffset = &g.AddEdit("LERSSIOffset", "RSSI Offset (dBuV):", "0");
  LELowRSSI = &g.AddEdit("LELowRSSI", "Low RSSI (dBuV):", "20", Row::kSame);
  LEHighRSSI = &g.AddEdit("LEHighRSSI", "High RSSI (dBuV):", "50");
  LERSSI = &g.AddDisplay("LERSSI", "RSSI (dBuV):", Row::kSame);
  LEPilotFreq = &g.AddDisplay("LEPilotFreq", "Pilot Freq (Hz):", Row::kSame);
  btn_rssi = &g.AddButton("btn_rssi", "RSSI On", Row::kNew);
  BtnReadRSSI = &g.AddButton("BtnReadRSSI", "Read");
  BtnWriteRSSI = &g.AddButton("BtnWriteRSSI", "Write");
  SetWidths({LERSSIOffset, LELowRSSI, LEHighRSSI, LERSSI}, kLevelChars);
  SetWidths({LEPilotFreq}, kFrequencyChars);
}

void TKelboFMRGUI::CreateRds(ui::Builder g) {
  btn_rds = &g.AddButton("btn_rds", "RDS On", Row::kNew);
  CBDecode = &g.AddChoice("LblCBDecode", "Decoder:", "CBDecode", {"RDS", "R(B)DS"}, 0, Row::kSame);
  LERXError = &g.AddDisplay("LERXError", "RX Errors:", Row::kSame);
  LERXError->set_width_chars(kLevelChars);
  // The blocks of the groups received, each beside its status.
  LData = &g.AddLabel("LData", "", Row::kNew);
  LStatus = &g.AddLabel("LStatus", "");
  LData2 = &g.AddLabel("LData2", "", Row::kNew);
  LStatus2 = &g.AddLabel("LStatus2", "");
  for (ui::Label* blocks : {LData, LData2}) blocks->set_width_chars(kRdsBlocksChars);
  for (ui::Label* status : {LStatus, LStatus2}) status->set_width_chars(kRdsStatusChars);
  BtnReadRDS = &g.AddButton("BtnReadRDS", "Read", Row::kNew);
  BtnWriteRDS = &g.AddButton("BtnWriteRDS", "Write");
}

void TKelboFMRGUI::CreateGain(ui::Builder g) {
  CBAGCOn = &g.AddCheck("CBAGCOn", "AGC", true);
  CBExternalLNAOn = &g.AddCheck("CBExternalLNAOn", "External LNA", false, Row::kSame);
  CBFMRSupply = &g.AddChoice("LblCBFMRSupply", "Supply:", "CBFMRSupply",
                             {"1.15V", "1.2V", "1.25V", "1.3V", "1.35V", "1.4V", "1.45V", "1.8V"},
                             3, Row::kSame);
  CBLNAGain = &g.AddChoice("LblCBLNAGain", "LNA Gain:", "CBLNAGain", GainItems(0, 1), 15);
  CBPPFGain =
      &g.AddChoice("LblCBPPFGain", "PPF Gain:", "CBPPFGain", GainItems(10, 2), 15, Row::kSame);
  CBIntLNA = &g.AddChoice("LblCBIntLNA", "Int LNA:", "CBIntLNA", {"0dB", "3dB", "6dB", "9dB"}, 0,
                          Row::kNew);
  LEOffset = &g.AddEdit("LEOffset", "Offset (dB):", "0");
  LEOutputPower = &g.AddEdit("LEOutputPower", "TX Output Power: ", "120", Row::kSame);
  SetWidths({LEOffset, LEOutputPower}, kLevelChars);
  Btn_gain_read = &g.AddButton("Btn_gain_read", "Read", Row::kNew);
  btn_gain_write = &g.AddButton("btn_gain_write", "Write");
}

void TKelboFMRGUI::CreateRegister(ui::Builder g) {
  le_pmu = &g.AddDisplay("le_pmu", "Mode:  ");
  // The address beside the mode, so that the group fits below the
  // transmit settings.
  LERegAddress = &g.AddChoice("LblLERegAddress", "Address (Hex): ", "LERegAddress", {}, -1,
                              Row::kSame, ui::ComboBox::Style::kDropDown);
  LERegData = &g.AddChoice("LblLERegData", "Data (Hex):", "LERegData", {}, -1, Row::kNew,
                           ui::ComboBox::Style::kDropDown);
  BtnReadReg = &g.AddButton("BtnReadReg", "Read", Row::kNew);
  BtnWriteReg = &g.AddButton("BtnWriteReg", "Write");
  // Never shown and never enabled.
  Btn_readall = &g.AddButton("Btn_readall", "Read All");
  Btn_readall->SetVisible(false);
  Btn_readall->SetEnabled(false);
}

void TKelboFMRGUI::CreateAudioOutput(ui::Builder g) {
  CBOutput = &g.AddChoice("LblCBOutput", "Destination:", "CBOutput",
                          {"Earpiece", "Headset", "Loudspeaker"}, -1);
  btn_set_output = &g.AddButton("btn_set_output", "Set");
}

void TKelboFMRGUI::CreateTestFunctions(ui::Builder g) {
  btn_chirp = &g.AddButton("btn_chirp", "Chirp On", Row::kNew);
  btn_test_tone = &g.AddButton("btn_test_tone", "Tone On");
  LELFreq = &g.AddEdit("LELFreq", "Left Freq (Hz):", "1000");
  LELLevel = &g.AddEdit("LELLevel", "Left Level:", "0x2000", Row::kSame);
  LELPhase = &g.AddEdit("LELPhase", "Left Phase:", "0", Row::kSame);
  LERFreq = &g.AddEdit("LERFreq", "Right Freq (Hz):", "1000");
  LERLevel = &g.AddEdit("LERLevel", "Right Level:", "0x2000", Row::kSame);
  LERPhase = &g.AddEdit("LERPhase", "Right Phase:", "0", Row::kSame);
  SetWidths({LELFreq, LELLevel, LELPhase, LERFreq, LERLevel, LERPhase}, kLevelChars);
  // The logging box has a row of its own, so that the column is no wider
  // than the scan group.
  cb_rssi_logging = &g.AddCheck("cb_rssi_logging", "RSSI Scan Logging", false);
  btn_readcp = &g.AddButton("btn_readcp", "Read CP", Row::kNew);
  btn_selftest = &g.AddButton("btn_selftest", "Self Test");

  gb_tx_scan = &g.AddGroup("gb_tx_scan", "TX Scan");
  ui::Builder scan = g.In(*gb_tx_scan);
  le_start_freq = &scan.AddEdit("le_start_freq", "Start (Hz):", "87500000");
  le_stop_freq = &scan.AddEdit("le_stop_freq", "Stop (Hz):", "108000000", Row::kSame);
  LEMASRSSI2 = &scan.AddEdit("LEMASRSSI2", "Min RSSI (dBuV):", "25", Row::kSame);
  le_scan_freq = &scan.AddDisplay("le_scan_freq", "Found (Hz):");
  le_scan_rssi = &scan.AddDisplay("le_scan_rssi", "RSSI (dBuV):", Row::kSame);
  btnTxScan = &scan.AddButton("btnTxScan", "Scan");
  SetWidths({le_start_freq, le_stop_freq, le_scan_freq}, kFrequencyChars);
  SetWidths({LEMASRSSI2, le_scan_rssi}, kLevelChars);
}

void TKelboFMRGUI::CreateTxSettings(ui::Builder g) {
  CBAudioOutput =
      &g.AddChoice("LblCBAudioOutput", "TX Audio:", "CBAudioOutput", {"Mono", "Stereo"}, 1);
  CBModulation = &g.AddCheck("CBModulation", "Modulation", true, Row::kSame);
  RGPreEmphasis = &g.Add<ui::RadioGroup>(Row::kNew, "RGPreEmphasis", "Pre-emphasis",
                                         Items{"50us", "75us"}, 1, 2);
  LERDSDeviation = &g.AddEdit("LERDSDeviation", "RDS Deviation (Hz):", "2000", Row::kSame);
  gb_feature = &g.AddGroup("gb_feature", "RDS Features");
  CreateRdsFeatures(g.In(*gb_feature));
  CBPSMode = &g.AddChoice("LblCBPSMode", "PS Mode:", "CBPSMode", {"Static", "Scroll", "Page"}, 0);
  LEPSRate = &g.AddEdit("LEPSRate", "PS Rate:", "1", Row::kSame);
  cbx_rds_stack = &g.AddCheck("cbx_rds_stack", "RDS Stack", true, Row::kSame);
  LEFreqDeviation = &g.AddDisplay("LEFreqDeviation", "Freq Deviation:");
  LEFreqDeviation->SetText("75000");
  CBFreqMute = &g.AddCheck("CBFreqMute", "RF Mute", false, Row::kSame);
  CBFreqMute->SetVisible(false);  // never shown
  CBPilot = &g.AddCheck("CBPilot", "Pilot", true);
  LEPilotDeviation = &g.AddEdit("LEPilotDeviation", "Pilot Deviation (Hz):", "6750", Row::kSame);
  SetWidths({LERDSDeviation, LEPSRate, LEFreqDeviation, LEPilotDeviation}, kLevelChars);
}

void TKelboFMRGUI::CreateRdsFeatures(ui::Builder g) {
  LEPI = &g.AddEdit("LEPI", "PI:", "4660");
  LEPSN = &g.AddEdit("LEPSN", "PS Name:", "SONVIO", Row::kSame);
  LEPSN->set_max_length(64);
  LERTP = &g.AddEdit("LERTP", "RT+:", "", Row::kSame);
  LERTP->set_max_length(8);
  LERT = &g.AddEdit("LERT", "Radio Text:", "FM radio test transmission");
  LERT->set_max_length(64);
  LEAFList = &g.AddDisplay("LEAFList", "Alternative Freq:");
  BtnLoad = &g.AddButton("BtnLoad", "Load");
  // The selector below its caption: the programme type names it lists once
  // it drops down would make the row beside the caption wider than the
  // column.
  g.AddLabel("Lblcb_ptc", "Programme Type:", Row::kNew);
  cb_ptc =
      &g.Add<ui::ComboBox>(Row::kNew, "cb_ptc", ui::ComboBox::Style::kDropDownList, Items{}, -1);
  cbx_AF = &g.AddCheck("cbx_AF", "AF", false);
  cbx_PI = &g.AddCheck("cbx_PI", "PI", true, Row::kSame);
  cbx_PS = &g.AddCheck("cbx_PS", "PS", true, Row::kSame);
  cbx_RT = &g.AddCheck("cbx_RT", "RT", true, Row::kSame);
  cbx_RTP = &g.AddCheck("cbx_RTP", "RT+", false, Row::kSame);
  cbx_PTC = &g.AddCheck("cbx_PTC", "PTY", false, Row::kSame);
  SetWidths({LEPI, LERTP}, kLevelChars);
  LEPSN->set_width_chars(kPsNameChars);
  LERT->set_width_chars(kRadioTextChars);
  LEAFList->set_width_chars(kFrequencyListChars);
}

}  // namespace gen1_panel
