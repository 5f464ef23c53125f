// The panel's controls: the order the settings file relies on and the
// contents a fresh window shows.
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace {

bool IsSavedKind(ui::Kind kind) {
  return kind == ui::Kind::kEdit || kind == ui::Kind::kComboBox || kind == ui::Kind::kLabeledEdit ||
         kind == ui::Kind::kCheckBox || kind == ui::Kind::kRadioGroup;
}

TEST_F(PanelTest, SavedControlsAreCreatedInSettingsOrder) {
  std::string saved;
  for (const auto& component : panel.components()) {
    if (IsSavedKind(component->kind())) saved += (saved.empty() ? "" : " ") + component->name();
  }
  EXPECT_EQ(
      saved,
      "LEVolume CBMute CBSNC LESNCStep LESNCHighThreshold CBOutputPath CBSoftMute LESMSS "
      "LESMThreshold CBAudioOutput CBModulation RGDeEmphasis RGPreEmphasis LESNCLowThreshold "
      "LELFreq LELLevel LELPhase LERFreq LERLevel LERPhase le_db LERSSIOffset LELowRSSI "
      "LEPilotFreq LERSSI LEHighRSSI cb_rssi_logging CBDecode LERXError LERDSDeviation LEPI "
      "LEPSN LERT LERTP CBPSMode LEPSRate LEAFList cb_ptc cbx_rds_stack cbx_AF cbx_PI cbx_PS "
      "cbx_RT cbx_RTP cbx_PTC CBTMode CBAntenna CBAGCOn CBExternalLNAOn CBFMRSupply CBLNAGain "
      "CBPPFGain LEOffset CBIntLNA LEOutputPower le_pmu LEFrequency CBMono LEMAXFreq LEMINFreq "
      "LEMASRSSI CBChannelSpacing CBBandSelection LEFreqDeviation CBFreqMute CBSideband CBPilot "
      "LEPilotDeviation le_start_freq le_stop_freq le_scan_freq le_scan_rssi LEMASRSSI2 "
      "LERegAddress LERegData CBOutput");
}

TEST_F(PanelTest, FreshWindowShowsItsInitialContents) {
  EXPECT_EQ(panel.caption(), "FM Radio");
  EXPECT_TRUE(panel.maximized());
  EXPECT_FALSE(panel.radioOn);
  const std::string initial =
      "LEFrequency=76000000 LEMAXFreq=108000000 LEMINFreq=76000000 LEMASRSSI=25 LEVolume=32767 "
      "LEFreqDeviation=75000 LEPilotDeviation=6750 LERDSDeviation=2000 LELLevel=0x2000 "
      "LEOutputPower=120 le_start_freq=87500000 LEMASRSSI2=25 CBTMode=0 CBAntenna=1 "
      "CBBandSelection=2 CBChannelSpacing=1 CBSideband=2 CBDecode=0 CBFMRSupply=3 CBLNAGain=15 "
      "CBPPFGain=15 CBOutput=-1 CBAudioOutput=1 LReady=Yes";
  EXPECT_EQ(Showing(initial), initial);  // the tours' poll counts pin the timers' intervals
}

}  // namespace
