// Which controls a user can work with, by power state and mode.
#include "gen1_panel/control_bindings.h"
#include "gen1_panel/kelbo_fmr_gui.h"

namespace gen1_panel {

namespace {

// The band selector's item for band limits entered by hand.
constexpr int kManualBand = 2;

}  // namespace

void TKelboFMRGUI::EnableControls(bool transmit) {
  const bool on = radioOn;
  const bool rx = on && !transmit;
  const bool tx = on && transmit;
  const bool manual_band = on && CBBandSelection->item_index() == kManualBand;

  for (const ControlBinding& row : PanelBindings()) {
    bool enabled = false;
    switch (row.enabled_in) {
      case EnabledIn::kAlways:
        continue;
      case EnabledIn::kOff:
        enabled = !on;
        break;
      case EnabledIn::kOn:
        enabled = on;
        break;
      case EnabledIn::kOnManualBand:
        enabled = manual_band;
        break;
      case EnabledIn::kReceive:
        enabled = rx;
        break;
      case EnabledIn::kTransmit:
        enabled = tx;
        break;
    }
    row.control(*this)->SetEnabled(enabled);
  }
  LEFreqDeviation->SetEnabled(false);
  LEFreqDeviation->SetVisible(tx);
  // After the loop: the gain selectors look at BtnFMREnable and CBAGCOn, the
  // external LNA's settings at CBExternalLNAOn.
  const bool gains_free = !CBAGCOn->checked() && !BtnFMREnable->enabled();
  CBLNAGain->SetEnabled(gains_free);
  CBPPFGain->SetEnabled(gains_free);
  LEOffset->SetEnabled(CBExternalLNAOn->enabled());
  CBIntLNA->SetEnabled(CBExternalLNAOn->enabled());
}

}  // namespace gen1_panel
