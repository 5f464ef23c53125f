// Steps that the exchange and the show handler run on behalf of features
// that are not wired up yet: the volume check with its dB read-out, the
// record of the RDS decode log, and the register histories. Until those
// features exist the steps have nothing to check, write or load.
#include "gen1_panel/kelbo_fmr_gui.h"

void TKelboFMRGUI::LEVolumeExit() {}

void TKelboFMRGUI::AppendDecodeLogRecord() {}

void TKelboFMRGUI::LoadRegisterHistories() {}
