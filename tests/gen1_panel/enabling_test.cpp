// A fresh window, and EnableControls in its three states: off, receiving,
// transmitting.
#include <algorithm>

#include "panel_fixture.h"

namespace {

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
  EXPECT_EQ(Showing(initial), initial);
}

constexpr char kWhenOff[] = "BtnFMREnable CBTMode";
constexpr char kWhenOn[] =
    "BtnFMRDisable BtnRefresh LEFrequency CBBandSelection CBChannelSpacing LReady BtnTuneUp "
    "BtnTuneDown BtnReadFrequency BtnWriteFrequency LEVolume CBMute BtnReadAudio BtnWriteAudio "
    "btn_test_tone LELFreq LERFreq LELLevel LERLevel LELPhase LERPhase btn_rds CBDecode LData "
    "LStatus LData2 LStatus2 BtnReadRDS BtnWriteRDS LERegAddress LERegData BtnReadReg BtnWriteReg "
    "CBFMRSupply Btn_gain_read btn_gain_write";
constexpr char kWhenReceiving[] =
    "CBAntenna CBOutput btn_set_output LEMASRSSI CBMono CBSideband BtnSeekUp BtnSeekDown "
    "RGDeEmphasis CBSNC LESNCStep LESNCLowThreshold LESNCHighThreshold CBSoftMute LESMSS "
    "LESMThreshold CBOutputPath LStereo LERXError LERSSIOffset btn_rssi LELowRSSI LEHighRSSI "
    "LEPilotFreq LERSSI BtnReadRSSI BtnWriteRSSI cb_rssi_logging le_pmu CBAGCOn CBExternalLNAOn "
    "LEOffset CBIntLNA";
constexpr char kWhenTransmitting[] =
    "CBFreqMute CBPilot LEPilotDeviation RGPreEmphasis CBAudioOutput CBModulation btn_chirp "
    "LERDSDeviation LEPI LEPSN CBPSMode LEPSRate LERT LERTP cb_ptc LEAFList BtnLoad LEOutputPower "
    "gb_tx_scan le_start_freq le_stop_freq LEMASRSSI2 btnTxScan";
// Controls that follow the band preset, AGC and the external LNA as well.
constexpr char kDependent[] = "LEMAXFreq LEMINFreq CBLNAGain CBPPFGain LEOffset CBIntLNA";

// `flag` once for each control of `names`.
std::string All(const std::string& names, char flag) {
  return std::string(static_cast<size_t>(std::count(names.begin(), names.end(), ' ') + 1), flag);
}

TEST_F(PanelTest, EnablingFollowsPowerModeBandAndGainSettings) {
  struct Case {
    const char* name;
    bool on;
    const char* controls;
    bool transmit;
    char off, receiving, transmitting;  // '1': that group is enabled
    const char* dependent;
    bool deviation_visible;
  };
  const Case cases[] = {
      {"Off", false, "", false, '1', '0', '0', "000000", false},
      // A manual band and manual gain.
      {"Receiving", true, "CBAGCOn=0", false, '0', '1', '0', "111111", false},
      // A preset band, the gain following AGC, the external LNA off while transmitting.
      {"Transmitting", true, "CBAGCOn=1 CBBandSelection=0", true, '0', '0', '1', "000000", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel.radioOn = c.on;
    SetControls(c.controls);
    panel.EnableControls(c.transmit);
    EXPECT_EQ(Enabled(kWhenOff), All(kWhenOff, c.off));
    EXPECT_EQ(Enabled(kWhenOn), All(kWhenOn, c.on ? '1' : '0'));
    EXPECT_EQ(Enabled(kWhenReceiving), All(kWhenReceiving, c.receiving));
    EXPECT_EQ(Enabled(kWhenTransmitting), All(kWhenTransmitting, c.transmitting));
    EXPECT_EQ(Enabled(kDependent), c.dependent);
    EXPECT_EQ(panel.LEFreqDeviation->visible(), c.deviation_visible);
    EXPECT_FALSE(panel.LEFreqDeviation->enabled());
  }
}

TEST_F(PanelTest, ReadCpNeedsTransmitOrTheInternalAntenna) {
  const std::pair<const char*, bool> cases[] = {{"CBTMode=0 CBAntenna=1", false},
                                                {"CBTMode=1 CBAntenna=1", true},
                                                {"CBTMode=0 CBAntenna=0", true}};
  for (const auto& [controls, enabled] : cases) {
    SetControls(controls);
    panel.SyncParameters(false);
    EXPECT_EQ(panel.btn_readcp->enabled(), enabled) << controls;
  }
}

}  // namespace
