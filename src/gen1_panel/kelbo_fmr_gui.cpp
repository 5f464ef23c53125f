#include "gen1_panel/kelbo_fmr_gui.h"

TKelboFMRGUI::TKelboFMRGUI(ui::Application& app, const ModuleContext& context)
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
}

bool TKelboFMRGUI::TransmitMode() const {
  return CBTMode->item_index() != 0;
}

bool TKelboFMRGUI::RunOperation(const char* log_line, Operation receive, Operation transmit,
                                const std::function<void(FmrParameters&)>& adjust) {
  Log(log_line);
  SyncParameters(true);
  if (adjust) adjust(fmr_.parameters());
  const bool ok = (fmr_.*(TransmitMode() ? transmit : receive))();
  SyncParameters(false);
  return ok;
}
