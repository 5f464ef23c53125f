// Which controls a user can work with, by power state and mode.
#include <initializer_list>

#include "gen1_panel/kelbo_fmr_gui.h"

namespace {

void EnableAll(std::initializer_list<ui::Control*> controls, bool enabled) {
  for (ui::Control* control : controls) control->SetEnabled(enabled);
}

}  // namespace

void TKelboFMRGUI::EnableControls(bool transmit) {
  const bool on = radioOn;
  const bool rx = on && !transmit;
  const bool tx = on && transmit;

  // The power buttons first: the gain selectors below look at BtnFMREnable.
  EnableAll({BtnFMREnable, CBTMode}, !on);
  EnableAll({BtnFMRDisable, BtnRefresh}, on);
  EnableAll({LEFrequency,   CBBandSelection, CBChannelSpacing, LReady,
             BtnTuneUp,     BtnTuneDown,     BtnReadFrequency, BtnWriteFrequency,
             LEVolume,      CBMute,          BtnReadAudio,     BtnWriteAudio,
             btn_test_tone, LELFreq,         LERFreq,          LELLevel,
             LERLevel,      LELPhase,        LERPhase,         btn_rds,
             CBDecode,      LData,           LStatus,          LData2,
             LStatus2,      BtnReadRDS,      BtnWriteRDS,      LERegAddress,
             LERegData,     BtnReadReg,      BtnWriteReg,      CBFMRSupply,
             Btn_gain_read, btn_gain_write},
            on);
  EnableAll({LEMAXFreq, LEMINFreq}, on && CBBandSelection->item_index() == 2);
  EnableAll({CBAntenna,
             CBOutput,
             btn_set_output,
             LEMASRSSI,
             CBMono,
             CBSideband,
             BtnSeekUp,
             BtnSeekDown,
             RGDeEmphasis,
             CBSNC,
             LESNCStep,
             LESNCLowThreshold,
             LESNCHighThreshold,
             CBSoftMute,
             LESMSS,
             LESMThreshold,
             CBOutputPath,
             LStereo,
             LERXError,
             LERSSIOffset,
             btn_rssi,
             LELowRSSI,
             LEHighRSSI,
             LEPilotFreq,
             LERSSI,
             BtnReadRSSI,
             BtnWriteRSSI,
             cb_rssi_logging,
             le_pmu,
             CBAGCOn,
             CBExternalLNAOn},
            rx);
  EnableAll({CBFreqMute,    CBPilot,       LEPilotDeviation, RGPreEmphasis,
             CBAudioOutput, CBModulation,  btn_chirp,        LERDSDeviation,
             LEPI,          LEPSN,         CBPSMode,         LEPSRate,
             LERT,          LERTP,         cb_ptc,           LEAFList,
             BtnLoad,       LEOutputPower, gb_tx_scan,       le_start_freq,
             le_stop_freq,  LEMASRSSI2,    btnTxScan},
            tx);
  LEFreqDeviation->SetEnabled(false);
  LEFreqDeviation->SetVisible(tx);
  // After BtnFMREnable and CBAGCOn, and after CBExternalLNAOn.
  EnableAll({CBLNAGain, CBPPFGain}, !CBAGCOn->checked() && !BtnFMREnable->enabled());
  EnableAll({LEOffset, CBIntLNA}, CBExternalLNAOn->enabled());
}
