// The exchange between controls and the parameter block: the conversions of
// the table in both directions, and the derived displays.
#include <algorithm>
#include <cstring>

#include "panel_fixture.h"
#include "test_folder.h"

namespace {

struct StoreRow {
  const char* controls;  // "NAME=VALUE" words
  int64_t (*field)(const FmrParameters&);
  int64_t expected;
};

void PrintTo(const StoreRow& row, std::ostream* out) {
  *out << row.controls;
}

#define FIELD(name) [](const FmrParameters& p) -> int64_t { return p.name; }

// A row per control; more where a field narrows or a control has a rule of its own.
const StoreRow kStoreRows[] = {
    {"LEFrequency=98500000", FIELD(frequencyHz), 98500000},
    {"LEFrequency=98.5", FIELD(frequencyHz), 0},
    {"LEMASRSSI=-20", FIELD(scanMinRssi), -20},
    {"LEMASRSSI=40000", FIELD(scanMinRssi), 40000 - 65536},
    {"CBMono=1", FIELD(forceMono), 1},
    {"LEMAXFreq=90000000", FIELD(bandMaxHz), 90000000},
    {"CBChannelSpacing=2", FIELD(channelSpacing), 200000},
    {"CBChannelSpacing=-1", FIELD(channelSpacing), 50000},
    {"CBSideband=-1", FIELD(sideband), 0xFF},
    {"LEVolume=0x4000", FIELD(volume), 0x4000},
    {"LEVolume=0x12345", FIELD(volume), 0x1234},  // four hex digits at most
    {"LEVolume=$100", FIELD(volume), 0x100},
    {"LESNCStep=70000", FIELD(sncStep), 70000 - 65536},
    {"LESNCLowThreshold=-100", FIELD(sncLowThreshold), -100},
    {"RGDeEmphasis=1", FIELD(deEmphasis), 1},
    {"LESMThreshold=-3", FIELD(softMuteThreshold), -3},
    {"LEHighRSSI=77", FIELD(rssiHighAlert), 77},
    {"LERegAddress=0x8778", FIELD(regAddress), 0x8778},
    {"LERegAddress=100", FIELD(regAddress), 100},
    {"LERegData=0x12345678", FIELD(regData), 0x12345678},
    {"LERegData=0x1234ABCD9", FIELD(regData), 0x234ABCD9},  // the last eight digits
    {"LEOffset=200", FIELD(externalLnaOffset), 200 - 256},
    {"CBIntLNA=-1", FIELD(intLnaReduction), 0xFF},
    {"CBAntenna=0", FIELD(antenna), 0},
    {"CBTMode=1", FIELD(mode), 1},
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
    {"cbx_rds_stack=0", FIELD(rdsStackOn), 0},
    {"cbx_AF=1 cbx_PI=1 cbx_PS=1 cbx_RT=1 cbx_RTP=1 cbx_PTC=1", FIELD(rdsFeatures), 0xBE},
    {"cbx_AF=0 cbx_PI=0 cbx_PS=0 cbx_RT=0 cbx_RTP=0 cbx_PTC=1", FIELD(rdsFeatures), 0x80},
};

class StoreRowTest : public PanelTest, public ::testing::WithParamInterface<StoreRow> {};

TEST_P(StoreRowTest, StoresTheControlIntoItsField) {
  SetControls(GetParam().controls);
  panel.SyncParameters(true);
  EXPECT_EQ(GetParam().field(params()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Exchange, StoreRowTest, ::testing::ValuesIn(kStoreRows));

struct ShowRow {
  void (*set)(FmrParameters&);
  const char* control;
  std::string shown;
};

void PrintTo(const ShowRow& row, std::ostream* out) {
  *out << row.control << " " << row.shown;
}

#define SET(assignment) [](FmrParameters& p) { p.assignment; }

const ShowRow kShowRows[] = {
    {SET(frequencyHz = 0xFFFFFFFF), "LEFrequency", "4294967295"},
    {SET(scanMinRssi = -5), "LEMASRSSI", "-5"},
    {SET(channelSpacing = 200000), "CBChannelSpacing", "2"},
    {SET(channelSpacing = 25000), "CBChannelSpacing", "-1"},
    {SET(volume = 0), "LEVolume", "1"},
    {SET(volume = 0xFFFF), "LEVolume", "65535"},
    {SET(sncHighThreshold = -1), "LESNCHighThreshold", "-1"},
    {SET(stereo = 0), "LStereo", "No"},
    {SET(pilotFrequencyHz = 19000), "LEPilotFreq", "19000"},
    {SET(rssi = -12), "LERSSI", "-12"},
    {SET(rdsRxErrors = 65535), "LERXError", "65535"},
    {SET(rdsState = 1), "btn_rds", "RDS Off"},
    {SET(rdsState = 7), "btn_rds", "RDS On"},
    {SET(rdsDecoderMode = 1), "CBDecode", "1"},
    {SET(regAddress = 0x8A), "LERegAddress", "0x008A"},
    {SET(regData = 0xABC), "LERegData", "0x00000ABC"},
    {SET(externalLnaOffset = -7), "LEOffset", "-7"},
    {SET(intLnaReduction = 0xFF), "CBIntLNA", "-1"},
    {SET(txOutputPower = -120), "LEOutputPower", "-120"},
    {SET(toneLeftAmplitude = 0x12345), "LELLevel", "0x2345"},
    {SET(toneRightFreqHz = 20000), "LERFreq", "20000"},
    {SET(preEmphasis = 0), "RGPreEmphasis", "0"},
    {SET(rdsDeviationHz = 1500), "LERDSDeviation", "1500"},
    {SET(rdsPi = 0xC201), "LEPI", "49665"},
    {[](FmrParameters& p) { std::memcpy(p.rdsRadioText.data(), "Hello\0X", 7); }, "LERT", "Hello"},
    {SET(rdsPsName.fill('P')), "LEPSN", std::string(64, 'P')},
    {[](FmrParameters& p) { std::memcpy(p.rdsRtPlus.data(), "RTPLUS12", 8); }, "LERTP", "RTPLUS12"},
    {SET(rdsPsRate = 200), "LEPSRate", "200"},
    {SET(txScanResultHz = 88100000), "le_scan_freq", "88100000"},
    {SET(txScanResultRssi = -30), "le_scan_rssi", "-30"},
};

class ShowRowTest : public PanelTest, public ::testing::WithParamInterface<ShowRow> {};

TEST_P(ShowRowTest, ShowsTheFieldInItsControl) {
  panel.SyncParameters(true);
  GetParam().set(params());
  panel.SyncParameters(false);
  EXPECT_EQ(Shown(GetParam().control), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Exchange, ShowRowTest, ::testing::ValuesIn(kShowRows));

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
  EXPECT_EQ(Shown("CBChannelSpacing"), "2");
  EXPECT_EQ(Shown("CBDecode"), "1");  // the block said "no change"
}

TEST_F(PanelTest, RdsReadoutShowsTheGroupsInRowsOfFour) {
  panel.SyncParameters(true);
  FmrParameters& p = params();
  p.rdsGroupCount = 5;
  for (size_t i = 0; i < p.rdsBlocks.size(); ++i)
    p.rdsBlocks[i] = static_cast<uint16_t>(0x1000 + i);
  for (size_t g = 0; g < 16; ++g) p.rdsGroupStatus[g] = static_cast<uint16_t>(0xA0B0 + g);
  panel.SyncParameters(false);
  EXPECT_EQ(panel.LData->caption(), "0x1000 0x1001 0x1002 0x1003 ");
  EXPECT_EQ(panel.LStatus->caption(), "0xA 0x0 0xB 0x0");
  const std::vector<std::string> data = panel.LData2->Lines();
  ASSERT_GE(data.size(), 6u);
  EXPECT_EQ(data[3], "0x100C 0x100D 0x100E 0x100F ");
  EXPECT_EQ(data[4], "");  // a blank line after every fourth group
  EXPECT_EQ(data[5], "0x1010 0x1011 0x1012 0x1013 ");
  EXPECT_EQ(panel.LStatus2->Lines()[5], "0xA 0x0 0xB 0x4");

  p.rdsGroupCount = 40;  // more than the block holds: 16 groups
  panel.SyncParameters(false);
  const std::string all = panel.LData2->caption();
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 16 + 4);

  p.rdsGroupCount = 0;  // nothing received: the read-out stays
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

TEST_F(PanelTest, DeviationIsRecomputedLastAndReadCpNeedsTheInternalAntenna) {
  panel.SyncParameters(true);
  params().freqDeviationHz = 12345;
  params().rdsState = 1;  // shown as RDS on
  panel.SyncParameters(false);
  EXPECT_EQ(Shown("LEFreqDeviation"), "66250");
  SetControls("CBPilot=0");
  panel.SyncParameters(true);
  params().rdsState = 0;
  panel.SyncParameters(false);
  EXPECT_EQ(Shown("LEFreqDeviation"), "75000");

  const std::pair<const char*, bool> read_cp[] = {{"CBTMode=0 CBAntenna=1", false},
                                                  {"CBTMode=1 CBAntenna=1", true},
                                                  {"CBTMode=0 CBAntenna=0", true}};
  for (const auto& [controls, enabled] : read_cp) {
    SetControls(controls);
    panel.SyncParameters(false);
    EXPECT_EQ(panel.btn_readcp->enabled(), enabled) << controls;
  }
}

}  // namespace
