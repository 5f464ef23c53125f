#include "gen1_panel/kelbo_fmr_gui.h"

namespace gen1_panel {

TKelboFMRGUI::TKelboFMRGUI(ui::Application& app, const common::ModuleContext& context)
    : ui::Form(app, "TKelboFMRGUI"), context_(context), fmr_(context) {
  SetCaption("FM Radio");
  set_maximized(true);
  CreateControls();
  BindHandlers();
}

void TKelboFMRGUI::BindHandlers() {
  OnShow = [this] { FormShow(); };
  BtnFMREnable->OnClick = [this] { BtnFMREnableClick(); };
  BtnFMRDisable->OnClick = [this] { BtnFMRDisableClick(); };
  BtnRefresh->OnClick = [this] { BtnRefreshClick(); };
  CBTMode->OnChange = [this] { CBTModeChange(); };
  CBAntenna->OnChange = [this] { CBAntennaChange(); };
  CBBandSelection->OnChange = [this] { CBBandSelectionChange(); };
  LEFrequency->OnExit = [this] { LEFrequencyChange(); };
  LEMASRSSI->OnExit = [this] { LEMASRSSIExit(); };
  LEMASRSSI2->OnExit = [this] { LEMASRSSIExit(); };
  BtnTuneUp->OnClick = [this] { BtnTuneUpClick(); };
  BtnTuneDown->OnClick = [this] { BtnTuneDownClick(); };
  BtnSeekUp->OnClick = [this] { BtnSeekUpClick(); };
  BtnSeekDown->OnClick = [this] { BtnSeekDownClick(); };
  BtnReadFrequency->OnClick = [this] { BtnReadFrequencyClick(); };
  BtnWriteFrequency->OnClick = [this] { BtnWriteFrequencyClick(); };
  CBDecode->OnChange = [this] { CBDecodeChange(); };

  LEVolume->OnExit = [this] { LEVolumeExit(); };
  LESNCStep->OnExit = [this] { LESNCStepExit(); };
  LESNCLowThreshold->OnExit = [this] { LESNCLowThresholdExit(); };
  LESNCHighThreshold->OnExit = [this] { LESNCHighThresholdExit(); };
  LESMSS->OnExit = [this] { LESMSSExit(); };
  LESMThreshold->OnExit = [this] { LESMThresholdExit(); };
  BtnReadAudio->OnClick = [this] { BtnReadAudioClick(); };
  BtnWriteAudio->OnClick = [this] { BtnWriteAudioClick(); };
  BtnReadRSSI->OnClick = [this] { BtnReadRSSIClick(); };
  BtnWriteRSSI->OnClick = [this] { BtnWriteRSSIClick(); };
  BtnReadRDS->OnClick = [this] { BtnReadRDSClick(); };
  BtnWriteRDS->OnClick = [this] { BtnWriteRDSClick(); };
  BtnReadReg->OnClick = [this] { BtnReadRegClick(); };
  BtnWriteReg->OnClick = [this] { BtnWriteRegClick(); };
  btn_gain_write->OnClick = [this] { btn_gain_writeClick(); };
  Btn_gain_read->OnClick = [this] { Btn_gain_readClick(); };
  Btn_readall->OnClick = [this] { Btn_readallClick(); };
  btn_set_output->OnClick = [this] { btn_set_outputClick(); };
  CBPilot->OnClick = [this] { CBPilotClick(); };

  btn_save->OnClick = [this] { btn_saveClick(); };
  btn_load->OnClick = [this] { btn_loadClick(); };
  BtnLoad->OnClick = [this] { BtnLoadClick(); };
  OnClose = [this] { FormClose(); };

  btn_rds->OnClick = [this] { btn_rdsClick(); };
  TRxRDS->OnTimer = [this] { TRxRDSTimer(); };
  TTxRDS1->OnTimer = [this] { TTxRDS1Timer(); };
  TTxRDS2->OnTimer = [this] { TTxRDS2Timer(); };
  cb_ptc->OnDropDown = [this] { cb_ptcDropDown(); };
  btn_chirp->OnClick = [this] { btn_chirpClick(); };
  btn_test_tone->OnClick = [this] { btn_test_toneClick(); };
  LELFreq->OnExit = [this] { LELFreqExit(); };
  LERFreq->OnExit = [this] { LERFreqExit(); };
  btn_rssi->OnClick = [this] { btn_rssiClick(); };
  TRSSI->OnTimer = [this] { TRSSITimer(); };
  btnTxScan->OnClick = [this] { btnTxScanClick(); };
  btn_readcp->OnClick = [this] { btn_readcpClick(); };
  cb_rssi_logging->OnClick = [this] { cb_rssi_loggingClick(); };
  btn_selftest->OnClick = [this] { btn_selftestClick(); };
}

bool TKelboFMRGUI::TransmitMode() const {
  return CBTMode->item_index() != 0;
}

bool TKelboFMRGUI::RunOperation(const char* log_line, Operation receive, Operation transmit,
                                const std::function<void(gen1::FmrParameters&)>& adjust) {
  Log(log_line);
  SyncParameters(true);
  if (adjust) adjust(fmr_.parameters());
  const bool ok = (fmr_.*(TransmitMode() ? transmit : receive))();
  SyncParameters(false);
  return ok;
}

}  // namespace gen1_panel
