// EnableControls in its three states: off, receiving, transmitting.
#include "panel_fixture.h"

namespace {

const std::vector<std::string> kWhenOff = {"BtnFMREnable", "CBTMode"};
const std::vector<std::string> kWhenOn = {
    "BtnFMRDisable",     "BtnRefresh",       "LEFrequency",
    "CBBandSelection",   "CBChannelSpacing", "LReady",
    "BtnTuneUp",         "BtnTuneDown",      "BtnReadFrequency",
    "BtnWriteFrequency", "LEVolume",         "CBMute",
    "BtnReadAudio",      "BtnWriteAudio",    "btn_test_tone",
    "LELFreq",           "LERFreq",          "LELLevel",
    "LERLevel",          "LELPhase",         "LERPhase",
    "btn_rds",           "CBDecode",         "LData",
    "LStatus",           "LData2",           "LStatus2",
    "BtnReadRDS",        "BtnWriteRDS",      "LERegAddress",
    "LERegData",         "BtnReadReg",       "BtnWriteReg",
    "CBFMRSupply",       "Btn_gain_read",    "btn_gain_write"};
const std::vector<std::string> kWhenReceiving = {"CBAntenna",
                                                 "CBOutput",
                                                 "btn_set_output",
                                                 "LEMASRSSI",
                                                 "CBMono",
                                                 "CBSideband",
                                                 "BtnSeekUp",
                                                 "BtnSeekDown",
                                                 "RGDeEmphasis",
                                                 "CBSNC",
                                                 "LESNCStep",
                                                 "LESNCLowThreshold",
                                                 "LESNCHighThreshold",
                                                 "CBSoftMute",
                                                 "LESMSS",
                                                 "LESMThreshold",
                                                 "CBOutputPath",
                                                 "LStereo",
                                                 "LERXError",
                                                 "LERSSIOffset",
                                                 "btn_rssi",
                                                 "LELowRSSI",
                                                 "LEHighRSSI",
                                                 "LEPilotFreq",
                                                 "LERSSI",
                                                 "BtnReadRSSI",
                                                 "BtnWriteRSSI",
                                                 "cb_rssi_logging",
                                                 "le_pmu",
                                                 "CBAGCOn",
                                                 "CBExternalLNAOn",
                                                 "LEOffset",
                                                 "CBIntLNA"};
const std::vector<std::string> kWhenTransmitting = {
    "CBFreqMute",    "CBPilot",       "LEPilotDeviation", "RGPreEmphasis",
    "CBAudioOutput", "CBModulation",  "btn_chirp",        "LERDSDeviation",
    "LEPI",          "LEPSN",         "CBPSMode",         "LEPSRate",
    "LERT",          "LERTP",         "cb_ptc",           "LEAFList",
    "BtnLoad",       "LEOutputPower", "gb_tx_scan",       "le_start_freq",
    "le_stop_freq",  "LEMASRSSI2",    "btnTxScan"};

class Enabling : public PanelTest {
 protected:
  void ExpectEnabled(const std::vector<std::string>& names, bool enabled) {
    for (const std::string& name : names) {
      auto* control = dynamic_cast<ui::Control*>(panel.FindComponent(name));
      ASSERT_NE(control, nullptr) << name;
      EXPECT_EQ(control->enabled(), enabled) << name;
    }
  }
};

TEST_F(Enabling, RadioOff) {
  panel.EnableControls(false);
  ExpectEnabled(kWhenOff, true);
  ExpectEnabled(kWhenOn, false);
  ExpectEnabled(kWhenReceiving, false);
  ExpectEnabled(kWhenTransmitting, false);
  ExpectEnabled({"LEMAXFreq", "LEMINFreq", "LEFreqDeviation", "CBLNAGain", "CBPPFGain"}, false);
  EXPECT_FALSE(panel.LEFreqDeviation->visible());
}

TEST_F(Enabling, Receiving) {
  panel.radioOn = true;
  panel.CBAGCOn->SetChecked(false);
  panel.EnableControls(false);
  ExpectEnabled(kWhenOff, false);
  ExpectEnabled(kWhenOn, true);
  ExpectEnabled(kWhenReceiving, true);
  ExpectEnabled(kWhenTransmitting, false);
  ExpectEnabled({"LEMAXFreq", "LEMINFreq", "CBLNAGain", "CBPPFGain"}, true);  // manual band
  EXPECT_FALSE(panel.LEFreqDeviation->visible());
  EXPECT_FALSE(panel.LEFreqDeviation->enabled());
}

TEST_F(Enabling, Transmitting) {
  panel.radioOn = true;
  panel.CBBandSelection->SetItemIndex(0);
  panel.EnableControls(true);
  ExpectEnabled(kWhenOff, false);
  ExpectEnabled(kWhenOn, true);
  ExpectEnabled(kWhenReceiving, false);
  ExpectEnabled(kWhenTransmitting, true);
  // A preset band, and the gain selectors follow AGC (on) and external LNA
  // (disabled while transmitting).
  ExpectEnabled({"LEMAXFreq", "LEMINFreq", "CBLNAGain", "CBPPFGain", "LEOffset", "CBIntLNA"},
                false);
  EXPECT_TRUE(panel.LEFreqDeviation->visible());
  EXPECT_FALSE(panel.LEFreqDeviation->enabled());
}

}  // namespace
