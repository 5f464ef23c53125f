// The first-generation FM radio panel. One window class spread over files
// by concern:
//   kelbo_fmr_gui.cpp               construction, handler binding
//   kelbo_fmr_gui_controls.cpp      the controls, their groups and rows
//   kelbo_fmr_gui_exchange.cpp      controls <-> parameter block
//   kelbo_fmr_gui_enabling.cpp      enabling by power state and mode
//   kelbo_fmr_gui_power_tuning.cpp  show, power, status, mode, band, tuning
//   kelbo_fmr_gui_audio_registers.cpp  audio, RSSI, gain, register, output
//   kelbo_fmr_gui_settings.cpp      save, load, register histories, AF file
//   kelbo_fmr_gui_rds.cpp           RDS on and off, decode log, replay, timers
//   kelbo_fmr_gui_test_functions.cpp  chirp, tone, RSSI, scans, CP, self test
// Every handler that talks to the radio logs a line, stores the controls
// into the parameter block, adjusts the bytes its action needs, calls one
// back-end operation chosen by the mode selector and shows the block again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/host_link.h"
#include "gen1/kelbo_fmr_function.h"
#include "gen1_panel/decode_log.h"
#include "gen1_panel/rds_data_file.h"
#include "ui/builder.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace gen1_panel {

class TKelboFMRGUI : public ui::Form {
 public:
  TKelboFMRGUI(ui::Application& app, const common::ModuleContext& context);

  gen1::CKelboFMRFunction& radio() { return fmr_; }

  // Set while the radio is believed to be powered (receive or transmit).
  bool radioOn = false;

  // Exchange between the controls and the parameter block: true stores the
  // controls into it, false shows it in the controls.
  void SyncParameters(bool store);
  void StoreControls();
  void ShowParameters();
  // Enables the controls for the power state and the mode.
  void EnableControls(bool transmit);

  // Handlers of showing, power, status, mode, antenna, band and tuning.
  void FormShow();
  void BtnFMREnableClick();
  void BtnFMRDisableClick();
  void BtnRefreshClick();
  void CBTModeChange();
  void CBAntennaChange();
  void CBBandSelectionChange();
  void LEFrequencyChange();
  void LEMASRSSIExit();
  void BtnTuneUpClick();
  void BtnTuneDownClick();
  void BtnSeekUpClick();
  void BtnSeekDownClick();
  void BtnReadFrequencyClick();
  void BtnWriteFrequencyClick();
  void CBDecodeChange();

  // Handlers of the audio, RSSI, gain, register and output groups.
  void LEVolumeExit();
  void LESNCStepExit();
  void LESNCLowThresholdExit();
  void LESNCHighThresholdExit();
  void LESMSSExit();
  void LESMThresholdExit();
  void BtnReadAudioClick();
  void BtnWriteAudioClick();
  void BtnReadRSSIClick();
  void BtnWriteRSSIClick();
  void BtnReadRDSClick();
  void BtnWriteRDSClick();
  void BtnReadRegClick();
  void BtnWriteRegClick();
  void btn_gain_writeClick();
  void Btn_gain_readClick();
  void Btn_readallClick();
  void btn_set_outputClick();
  void CBPilotClick();

  // Handlers of the settings file and the alternative-frequency list.
  void btn_saveClick();
  void btn_loadClick();
  void LoadRegisterHistories();
  void FormClose();
  void BtnLoadClick();

  // RDS handlers and timers.
  void btn_rdsClick();
  void TRxRDSTimer();
  void TTxRDS1Timer();
  void TTxRDS2Timer();
  void cb_ptcDropDown();

  // Test functions.
  void btn_chirpClick();
  void btn_test_toneClick();
  void LELFreqExit();
  void LERFreqExit();
  void btn_rssiClick();
  void TRSSITimer();
  void btnTxScanClick();
  void btn_readcpClick();
  void cb_rssi_loggingClick();
  void btn_selftestClick();

  // Power and tuning.
  ui::GroupBox* GBPowerTuning = nullptr;
  ui::ComboBox* CBTMode = nullptr;
  ui::ComboBox* CBAntenna = nullptr;
  ui::Button* BtnFMREnable = nullptr;
  ui::Button* BtnFMRDisable = nullptr;
  ui::Button* BtnRefresh = nullptr;
  ui::Label* LReady = nullptr;
  ui::LabeledEdit* LEFrequency = nullptr;
  ui::CheckBox* CBMono = nullptr;
  ui::LabeledEdit* LEMAXFreq = nullptr;
  ui::LabeledEdit* LEMINFreq = nullptr;
  ui::LabeledEdit* LEMASRSSI = nullptr;
  ui::ComboBox* CBChannelSpacing = nullptr;
  ui::ComboBox* CBBandSelection = nullptr;
  ui::ComboBox* CBSideband = nullptr;
  ui::Button* BtnTuneUp = nullptr;
  ui::Button* BtnTuneDown = nullptr;
  ui::Button* BtnSeekUp = nullptr;
  ui::Button* BtnSeekDown = nullptr;
  ui::Button* BtnReadFrequency = nullptr;
  ui::Button* BtnWriteFrequency = nullptr;
  ui::Button* btn_save = nullptr;
  ui::Button* btn_load = nullptr;

  // Audio Control.
  ui::GroupBox* GBAudio = nullptr;
  ui::LabeledEdit* LEVolume = nullptr;
  ui::LabeledEdit* le_db = nullptr;
  ui::CheckBox* CBMute = nullptr;
  ui::CheckBox* CBSNC = nullptr;
  ui::LabeledEdit* LESNCStep = nullptr;
  ui::LabeledEdit* LESNCLowThreshold = nullptr;
  ui::LabeledEdit* LESNCHighThreshold = nullptr;
  ui::ComboBox* CBOutputPath = nullptr;
  ui::CheckBox* CBSoftMute = nullptr;
  ui::LabeledEdit* LESMSS = nullptr;
  ui::LabeledEdit* LESMThreshold = nullptr;
  ui::RadioGroup* RGDeEmphasis = nullptr;
  ui::Label* LStereo = nullptr;
  ui::Button* BtnReadAudio = nullptr;
  ui::Button* BtnWriteAudio = nullptr;

  // RSSI Control.
  ui::GroupBox* GBRSSI = nullptr;
  ui::LabeledEdit* LERSSIOffset = nullptr;
  ui::LabeledEdit* LELowRSSI = nullptr;
  ui::LabeledEdit* LEHighRSSI = nullptr;
  ui::LabeledEdit* LEPilotFreq = nullptr;
  ui::LabeledEdit* LERSSI = nullptr;
  ui::Button* btn_rssi = nullptr;
  ui::Button* BtnReadRSSI = nullptr;
  ui::Button* BtnWriteRSSI = nullptr;

  // RDS Control.
  ui::GroupBox* GBRDS = nullptr;
  ui::Button* btn_rds = nullptr;
  ui::ComboBox* CBDecode = nullptr;
  ui::LabeledEdit* LERXError = nullptr;
  ui::Label* LData = nullptr;
  ui::Label* LStatus = nullptr;
  ui::Label* LData2 = nullptr;
  ui::Label* LStatus2 = nullptr;
  ui::Button* BtnReadRDS = nullptr;
  ui::Button* BtnWriteRDS = nullptr;

  // Gain Control.
  ui::GroupBox* GBGain = nullptr;
  ui::CheckBox* CBAGCOn = nullptr;
  ui::CheckBox* CBExternalLNAOn = nullptr;
  ui::ComboBox* CBFMRSupply = nullptr;
  ui::ComboBox* CBLNAGain = nullptr;
  ui::ComboBox* CBPPFGain = nullptr;
  ui::LabeledEdit* LEOffset = nullptr;
  ui::ComboBox* CBIntLNA = nullptr;
  ui::LabeledEdit* LEOutputPower = nullptr;
  ui::Button* Btn_gain_read = nullptr;
  ui::Button* btn_gain_write = nullptr;

  // Register Control.
  ui::GroupBox* GBRegister = nullptr;
  ui::ComboBox* LERegAddress = nullptr;
  ui::ComboBox* LERegData = nullptr;
  ui::Button* BtnReadReg = nullptr;
  ui::Button* BtnWriteReg = nullptr;
  ui::LabeledEdit* le_pmu = nullptr;
  ui::Button* Btn_readall = nullptr;

  // Audio Output.
  ui::GroupBox* GBAudioOutput = nullptr;
  ui::ComboBox* CBOutput = nullptr;
  ui::Button* btn_set_output = nullptr;

  // Test functions.
  ui::GroupBox* GBTestFunctions = nullptr;
  ui::Button* btn_chirp = nullptr;
  ui::Button* btn_test_tone = nullptr;
  ui::LabeledEdit* LELFreq = nullptr;
  ui::LabeledEdit* LELLevel = nullptr;
  ui::LabeledEdit* LELPhase = nullptr;
  ui::LabeledEdit* LERFreq = nullptr;
  ui::LabeledEdit* LERLevel = nullptr;
  ui::LabeledEdit* LERPhase = nullptr;
  ui::CheckBox* cb_rssi_logging = nullptr;
  ui::Button* btn_readcp = nullptr;
  ui::Button* btn_selftest = nullptr;
  ui::GroupBox* gb_tx_scan = nullptr;
  ui::LabeledEdit* le_start_freq = nullptr;
  ui::LabeledEdit* le_stop_freq = nullptr;
  ui::LabeledEdit* LEMASRSSI2 = nullptr;
  ui::LabeledEdit* le_scan_freq = nullptr;
  ui::LabeledEdit* le_scan_rssi = nullptr;
  ui::Button* btnTxScan = nullptr;

  // Transmit settings.
  ui::GroupBox* GBTxSettings = nullptr;
  ui::CheckBox* CBFreqMute = nullptr;
  ui::CheckBox* CBPilot = nullptr;
  ui::LabeledEdit* LEPilotDeviation = nullptr;
  ui::LabeledEdit* LERDSDeviation = nullptr;
  ui::LabeledEdit* LEFreqDeviation = nullptr;
  ui::RadioGroup* RGPreEmphasis = nullptr;
  ui::ComboBox* CBAudioOutput = nullptr;
  ui::CheckBox* CBModulation = nullptr;
  ui::CheckBox* cbx_rds_stack = nullptr;
  ui::ComboBox* CBPSMode = nullptr;
  ui::LabeledEdit* LEPSRate = nullptr;
  ui::GroupBox* gb_feature = nullptr;
  ui::LabeledEdit* LEPI = nullptr;
  ui::LabeledEdit* LEPSN = nullptr;
  ui::LabeledEdit* LERT = nullptr;
  ui::LabeledEdit* LERTP = nullptr;
  ui::ComboBox* cb_ptc = nullptr;
  ui::LabeledEdit* LEAFList = nullptr;
  ui::Button* BtnLoad = nullptr;
  ui::CheckBox* cbx_AF = nullptr;
  ui::CheckBox* cbx_PI = nullptr;
  ui::CheckBox* cbx_PS = nullptr;
  ui::CheckBox* cbx_RT = nullptr;
  ui::CheckBox* cbx_RTP = nullptr;
  ui::CheckBox* cbx_PTC = nullptr;

  // Timers and the RDS data file dialog.
  ui::Timer* TRxRDS = nullptr;
  ui::Timer* TTxRDS1 = nullptr;
  ui::Timer* TTxRDS2 = nullptr;
  ui::Timer* TRSSI = nullptr;
  ui::OpenDialog* OpenDialog1 = nullptr;

 private:
  void CreateControls();
  void CreatePowerTuning(ui::Builder g);
  void CreateAudio(ui::Builder g);
  void CreateRssi(ui::Builder g);
  void CreateRds(ui::Builder g);
  void CreateGain(ui::Builder g);
  void CreateRegister(ui::Builder g);
  void CreateAudioOutput(ui::Builder g);
  void CreateTestFunctions(ui::Builder g);
  void CreateTxSettings(ui::Builder g);
  void CreateRdsFeatures(ui::Builder g);
  void BindHandlers();
  // The mode selector chooses the transmit operations for any index but 0.
  bool TransmitMode() const;
  // Tune up or down by one channel, clamped to the band edge.
  void TuneStep(bool up);
  using Operation = bool (gen1::CKelboFMRFunction::*)();
  // The five-step pattern: log line, store, `adjust` the block, the receive
  // or transmit operation by the mode, show. Returns the operation's result.
  bool RunOperation(const char* log_line, Operation receive, Operation transmit,
                    const std::function<void(gen1::FmrParameters&)>& adjust = nullptr);
  // The register read or write: address check, histories, the operation.
  void AccessRegister(const char* log_line, bool write);
  void ShowRdsReadout();
  // Appends a record to the decode log while it is open.
  void AppendDecodeLogRecord();
  // The paths of the RDS button.
  void StartRdsReception();
  void StopRdsReception();
  void StartRdsStack();
  void StartRdsReplay();
  void StopRdsTransmission();
  // The next up to 20 replay lines into the transmit groups; their text.
  std::string FillTransmitGroups();
  // Sends the transmit groups; the position moves on by what was taken.
  void SendReplayGroups();
  // Reads the CP code from the register the chip keeps it in.
  uint32_t ReadCp();
  void ShowRdsFeatures();
  // LEFreqDeviation := 75000 minus the pilot and (while RDS is on) the RDS
  // deviation.
  void UpdateFreqDeviation();

  // Writes one progress line to the host's log.
  void Log(const char* line) const { context_.host.Log(line, common::LogFlag::kProgress); }
  void Log(const std::string& line) const { context_.host.Log(line, common::LogFlag::kProgress); }

  common::ModuleContext context_;
  gen1::CKelboFMRFunction fmr_;
  DecodeLog decode_log_;
  // The RDS data file being replayed and the next line to send (8 bits,
  // wrapping).
  std::vector<std::string> replay_lines_;
  uint8_t replay_position_ = 0;
  // The volume's dB read-out and the volume text it was worked out for.
  std::string volume_db_text_for_;
  std::string volume_db_text_;
};

}  // namespace gen1_panel
