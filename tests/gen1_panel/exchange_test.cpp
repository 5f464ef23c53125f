// The exchange between controls and the parameter block: the conversions of
// the table in both directions, and the derived displays.
#include <algorithm>
#include <cstring>

#include "panel_fixture.h"
#include "test_folder.h"

namespace {

#define FIELD(name) [](const FmrParameters& p) -> int64_t { return p.name; }
#define SET(assignment) [](FmrParameters& p) { p.assignment; }

// A row per control the tour does not carry to the radio and back; more
// where a field narrows or a control has a rule of its own.
TEST_F(PanelTest, StoreCopiesEachControlIntoItsField) {
  const struct {
    const char* controls;  // "NAME=VALUE" words
    int64_t (*field)(const FmrParameters&);
    int64_t expected;
  } rows[] = {
      {"LEFrequency=98.5", FIELD(frequencyHz), 0},
      {"LEMASRSSI=40000", FIELD(scanMinRssi), 40000 - 65536},
      {"CBChannelSpacing=2", FIELD(channelSpacing), 200000},
      {"CBChannelSpacing=-1", FIELD(channelSpacing), 50000},
      {"CBSideband=-1", FIELD(sideband), 0xFF},
      {"LEVolume=0x12345", FIELD(volume), 0x1234},  // four hex digits at most
      {"LEVolume=$100", FIELD(volume), 0x100},
      {"LESNCStep=70000", FIELD(sncStep), 70000 - 65536},
      {"LESNCLowThreshold=-100", FIELD(sncLowThreshold), -100},
      {"RGDeEmphasis=1", FIELD(deEmphasis), 1},
      {"LESMThreshold=-3", FIELD(softMuteThreshold), -3},
      {"LEHighRSSI=77", FIELD(rssiHighAlert), 77},
      {"LERegAddress=100", FIELD(regAddress), 100},
      {"LERegData=0x1234ABCD9", FIELD(regData), 0x234ABCD9},  // the last eight digits
      {"LEOffset=200", FIELD(externalLnaOffset), 200 - 256},
      {"CBIntLNA=-1", FIELD(intLnaReduction), 0xFF},
      {"LERLevel=0x1dB0", FIELD(toneRightAmplitude), 0x1DB0},
      {"LELPhase=90", FIELD(toneLeftPhase), 90},
      {"RGPreEmphasis=0", FIELD(preEmphasis), 0},
      {"CBAudioOutput=0", FIELD(txAudioMode), 0},
      {"CBPilot=0", FIELD(pilotOn), 0},
      {"LEPI=0xC201", FIELD(rdsPi), 0xC201},
      {"LEPSRate=300", FIELD(rdsPsRate), 300 - 256},
      {"cb_ptc=-1", FIELD(rdsPty), 0xFF},
      {"le_stop_freq=99000000", FIELD(txScanStopHz), 99000000},
      {"LEMASRSSI2=-1", FIELD(txScanMinRssi), -1},
      {"cbx_AF=1 cbx_PI=1 cbx_PS=1 cbx_RT=1 cbx_RTP=1 cbx_PTC=1", FIELD(rdsFeatures), 0xBE},
      {"cbx_AF=0 cbx_PI=0 cbx_PS=0 cbx_RT=0 cbx_RTP=0 cbx_PTC=1", FIELD(rdsFeatures), 0x80},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.controls);
    SetControls(row.controls);
    panel.SyncParameters(true);
    EXPECT_EQ(row.field(params()), row.expected);
  }
}

TEST_F(PanelTest, ShowPutsEachFieldIntoItsControl) {
  const struct {
    void (*set)(FmrParameters&);
    const char* control;
    std::string shown;
  } rows[] = {
      {SET(frequencyHz = 0xFFFFFFFF), "LEFrequency", "4294967295"},
      {SET(scanMinRssi = -5), "LEMASRSSI", "-5"},
      {SET(channelSpacing = 200000), "CBChannelSpacing", "2"},
      {SET(channelSpacing = 25000), "CBChannelSpacing", "-1"},
      {SET(sncHighThreshold = -1), "LESNCHighThreshold", "-1"},
      {SET(stereo = 0), "LStereo", "No"},
      {SET(pilotFrequencyHz = 19000), "LEPilotFreq", "19000"},
      {SET(rssi = -12), "LERSSI", "-12"},
      {SET(rdsRxErrors = 65535), "LERXError", "65535"},
      {SET(rdsState = 7), "btn_rds", "RDS On"},  // neither on nor off: left alone
      {SET(rdsState = 1), "btn_rds", "RDS Off"},
      {SET(rdsDecoderMode = 1), "CBDecode", "1"},
      {SET(externalLnaOffset = -7), "LEOffset", "-7"},
      {SET(intLnaReduction = 0xFF), "CBIntLNA", "-1"},
      {SET(txOutputPower = -120), "LEOutputPower", "-120"},
      {SET(toneLeftAmplitude = 0x12345), "LELLevel", "0x2345"},
      {SET(toneRightFreqHz = 20000), "LERFreq", "20000"},
      {SET(preEmphasis = 0), "RGPreEmphasis", "0"},
      {SET(rdsDeviationHz = 1500), "LERDSDeviation", "1500"},
      {SET(rdsPi = 0xC201), "LEPI", "49665"},
      {[](FmrParameters& p) { std::memcpy(p.rdsRadioText.data(), "Hello\0X", 7); }, "LERT",
       "Hello"},
      {SET(rdsPsName.fill('P')), "LEPSN", std::string(64, 'P')},
      {[](FmrParameters& p) { std::memcpy(p.rdsRtPlus.data(), "RTPLUS12", 8); }, "LERTP",
       "RTPLUS12"},
      {SET(rdsPsRate = 200), "LEPSRate", "200"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control + (" " + row.shown));
    panel.SyncParameters(true);
    row.set(params());
    panel.SyncParameters(false);
    EXPECT_EQ(Shown(row.control), row.shown);
  }
}

TEST_F(PanelTest, StoreResetsTheNoChangeBytesAndKeepsTextBytesBehindTheZero) {
  params().rdsState = params().rdsDecoderMode = 1;
  params().rssiState = 0;
  params().tuneAction = 2;
  SetControls("LERT=ABCDEFG");
  panel.SyncParameters(true);
  EXPECT_EQ(params().rdsState, 0xFF);
  EXPECT_EQ(params().rdsDecoderMode, 0xFF);
  EXPECT_EQ(params().rssiState, 0xFF);
  EXPECT_EQ(params().tuneAction, 0);

  SetControls("LERT=AB LERTP=0123456789");  // the second longer than its field: cut, no zero
  panel.SyncParameters(true);
  EXPECT_EQ(std::string(params().rdsRadioText.data(), 7), std::string("AB\0DEFG", 7));
  EXPECT_EQ(std::string(params().rdsRtPlus.data(), 8), "01234567");
}

TEST_F(PanelTest, AlternativeFrequenciesComeFromTheListFile) {
  const testing_files::TestFolder folder;
  folder.Write("af.ini", "[AlternativeFreq]\nAF0=875\nAF1=70000\nAF24=-1\nAF3=x\n");
  params().rdsAfList.fill(7);
  panel.SyncParameters(true);  // no file named: the list stays
  EXPECT_EQ(params().rdsAfList[0], 7);

  panel.LEAFList->SetText((folder.path() / "af.ini").string());
  panel.SyncParameters(true);
  const std::vector<uint16_t> list(params().rdsAfList.begin(), params().rdsAfList.begin() + 4);
  EXPECT_EQ(list, (std::vector<uint16_t>{875, 70000 - 65536, 0, 0}));
  EXPECT_EQ(params().rdsAfList[24], 0xFFFF);
}

TEST_F(PanelTest, ChannelSpacingAndDecoderSurviveAnOperation) {
  SetControls("CBChannelSpacing=2 CBDecode=1");
  panel.BtnWriteFrequency->Click();
  EXPECT_EQ(Showing("CBChannelSpacing CBDecode"), "CBChannelSpacing=2 CBDecode=1");
}

// The tour pins the rows of four groups and their status nibbles; here a
// count beyond what the block holds, and a read without groups.
TEST_F(PanelTest, RdsReadoutShowsAtMostSixteenGroupsAndStaysWhenNoneCame) {
  panel.SyncParameters(true);
  for (size_t i = 0; i < params().rdsBlocks.size(); ++i)
    params().rdsBlocks[i] = static_cast<uint16_t>(0x1000 + i);
  params().rdsGroupCount = 40;
  panel.SyncParameters(false);
  const std::string all = panel.LData2->caption();
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 16 + 4);  // a blank line after every fourth
  EXPECT_EQ(panel.LData2->Lines().at(18), "0x103C 0x103D 0x103E 0x103F ");
  params().rdsGroupCount = 0;
  panel.SyncParameters(false);
  EXPECT_EQ(panel.LData2->caption(), all);
}

TEST_F(PanelTest, RdsFeaturesFollowTheStackAndTheirBits) {
  panel.SyncParameters(true);
  params().rdsStackOn = 1;
  params().rdsFeatures = 0x04 | 0x40 | 0x80;
  panel.SyncParameters(false);
  EXPECT_EQ(Enabled("gb_feature LEPI cb_ptc LERT LEAFList"), "11100");
  EXPECT_EQ(Shown("cbx_PI") + Shown("cbx_PTC") + Shown("cbx_RT"), "110");

  params().rdsStackOn = 0;
  panel.SyncParameters(false);
  EXPECT_EQ(Enabled("gb_feature LEPI"), "00");
  EXPECT_EQ(Shown("cbx_PI"), "0");
}

// The deviation shown is computed from the pilot and RDS settings, last,
// never taken from the block; checking the pilot sends nothing.
TEST_F(PanelTest, FrequencyDeviationFollowsPilotAndRdsWithoutSending) {
  PowerOn(true);
  EXPECT_EQ(Run("type LEPilotDeviation 6750; type LERDSDeviation 2000; check CBPilot 0"),
            "ok; ok; ok");
  EXPECT_EQ(Shown("LEFreqDeviation"), "75000");
  Run("check CBPilot 1");
  EXPECT_EQ(Shown("LEFreqDeviation"), "68250");
  panel.btn_rds->SetCaption("RDS Off");
  Run("check CBPilot 0; check CBPilot 1");
  EXPECT_EQ(Shown("LEFreqDeviation"), "66250");
  EXPECT_TRUE(host.calls.empty());

  panel.SyncParameters(true);
  params().freqDeviationHz = 12345;
  params().rdsState = 0;  // shown as RDS off
  panel.SyncParameters(false);
  EXPECT_EQ(Shown("LEFreqDeviation"), "68250");
}

}  // namespace
