// The exchange between controls and the parameter block: every row of
// the table in both directions, and the derived displays.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "panel_fixture.h"

namespace {

using Panel = TKelboFMRGUI;

struct StoreRow {
  const char* name;
  void (*set)(Panel&);
  int64_t (*get)(const FmrParameters&);
  int64_t expected;
};

void PrintTo(const StoreRow& row, std::ostream* out) {
  *out << row.name;
}

const StoreRow kStoreRows[] = {
    {"FrequencyDecimal", [](Panel& f) { f.LEFrequency->SetText("98500000"); },
     [](const FmrParameters& p) -> int64_t { return p.frequencyHz; }, 98500000},
    {"FrequencyDollarHex", [](Panel& f) { f.LEFrequency->SetText("$5F5E100"); },
     [](const FmrParameters& p) -> int64_t { return p.frequencyHz; }, 100000000},
    {"FrequencyNotANumber", [](Panel& f) { f.LEFrequency->SetText("98.5"); },
     [](const FmrParameters& p) -> int64_t { return p.frequencyHz; }, 0},
    {"MinRssiNegative", [](Panel& f) { f.LEMASRSSI->SetText("-20"); },
     [](const FmrParameters& p) -> int64_t { return p.scanMinRssi; }, -20},
    {"MinRssiTruncatedToS16", [](Panel& f) { f.LEMASRSSI->SetText("40000"); },
     [](const FmrParameters& p) -> int64_t { return p.scanMinRssi; }, 40000 - 65536},
    {"MinRssiZeroXHex", [](Panel& f) { f.LEMASRSSI->SetText("0x10"); },
     [](const FmrParameters& p) -> int64_t { return p.scanMinRssi; }, 16},
    {"Mono", [](Panel& f) { f.CBMono->SetChecked(true); },
     [](const FmrParameters& p) -> int64_t { return p.forceMono; }, 1},
    {"BandMax", [](Panel& f) { f.LEMAXFreq->SetText("90000000"); },
     [](const FmrParameters& p) -> int64_t { return p.bandMaxHz; }, 90000000},
    {"Spacing200k", [](Panel& f) { f.CBChannelSpacing->SetItemIndex(2); },
     [](const FmrParameters& p) -> int64_t { return p.channelSpacing; }, 200000},
    {"SpacingNoneIs50k", [](Panel& f) { f.CBChannelSpacing->SetItemIndex(-1); },
     [](const FmrParameters& p) -> int64_t { return p.channelSpacing; }, 50000},
    {"SidebandNoneIsFF", [](Panel& f) { f.CBSideband->SetItemIndex(-1); },
     [](const FmrParameters& p) -> int64_t { return p.sideband; }, 0xFF},
    {"VolumeHex", [](Panel& f) { f.LEVolume->SetText("0x4000"); },
     [](const FmrParameters& p) -> int64_t { return p.volume; }, 0x4000},
    {"VolumeHexFourDigits", [](Panel& f) { f.LEVolume->SetText("0x12345"); },
     [](const FmrParameters& p) -> int64_t { return p.volume; }, 0x1234},
    {"VolumeDollarIsDecimalRule", [](Panel& f) { f.LEVolume->SetText("$100"); },
     [](const FmrParameters& p) -> int64_t { return p.volume; }, 0x100},
    {"SncStepTruncatedToU16", [](Panel& f) { f.LESNCStep->SetText("70000"); },
     [](const FmrParameters& p) -> int64_t { return p.sncStep; }, 70000 - 65536},
    {"SncLow", [](Panel& f) { f.LESNCLowThreshold->SetText("-100"); },
     [](const FmrParameters& p) -> int64_t { return p.sncLowThreshold; }, -100},
    {"DeEmphasis", [](Panel& f) { f.RGDeEmphasis->SetItemIndex(1); },
     [](const FmrParameters& p) -> int64_t { return p.deEmphasis; }, 1},
    {"SoftMuteThreshold", [](Panel& f) { f.LESMThreshold->SetText("-3"); },
     [](const FmrParameters& p) -> int64_t { return p.softMuteThreshold; }, -3},
    {"RssiHighAlert", [](Panel& f) { f.LEHighRSSI->SetText("77"); },
     [](const FmrParameters& p) -> int64_t { return p.rssiHighAlert; }, 77},
    {"RegisterAddressHex", [](Panel& f) { f.LERegAddress->SetText("0x8778"); },
     [](const FmrParameters& p) -> int64_t { return p.regAddress; }, 0x8778},
    {"RegisterAddressDecimal", [](Panel& f) { f.LERegAddress->SetText("100"); },
     [](const FmrParameters& p) -> int64_t { return p.regAddress; }, 100},
    {"RegisterDataAllDigits", [](Panel& f) { f.LERegData->SetText("0x12345678"); },
     [](const FmrParameters& p) -> int64_t { return p.regData; }, 0x12345678},
    {"RegisterDataHighDigitsDropped", [](Panel& f) { f.LERegData->SetText("0x1234ABCD9"); },
     [](const FmrParameters& p) -> int64_t { return p.regData; }, 0x234ABCD9},
    {"ExternalLnaOffsetS8", [](Panel& f) { f.LEOffset->SetText("200"); },
     [](const FmrParameters& p) -> int64_t { return p.externalLnaOffset; }, 200 - 256},
    {"IntLnaNoneIsFF", [](Panel& f) { f.CBIntLNA->SetItemIndex(-1); },
     [](const FmrParameters& p) -> int64_t { return p.intLnaReduction; }, 0xFF},
    {"AntennaInternal", [](Panel& f) { f.CBAntenna->SetItemIndex(0); },
     [](const FmrParameters& p) -> int64_t { return p.antenna; }, 0},
    {"ModeTransmit", [](Panel& f) { f.CBTMode->SetItemIndex(1); },
     [](const FmrParameters& p) -> int64_t { return p.mode; }, 1},
    {"ToneLevelHex", [](Panel& f) { f.LERLevel->SetText("0x1dB0"); },
     [](const FmrParameters& p) -> int64_t { return p.toneRightAmplitude; }, 0x1DB0},
    {"TonePhaseDecimal", [](Panel& f) { f.LELPhase->SetText("90"); },
     [](const FmrParameters& p) -> int64_t { return p.toneLeftPhase; }, 90},
    {"PreEmphasis", [](Panel& f) { f.RGPreEmphasis->SetItemIndex(0); },
     [](const FmrParameters& p) -> int64_t { return p.preEmphasis; }, 0},
    {"TxAudioMono", [](Panel& f) { f.CBAudioOutput->SetItemIndex(0); },
     [](const FmrParameters& p) -> int64_t { return p.txAudioMode; }, 0},
    {"PilotOff", [](Panel& f) { f.CBPilot->SetChecked(false); },
     [](const FmrParameters& p) -> int64_t { return p.pilotOn; }, 0},
    {"ProgrammeIdHex", [](Panel& f) { f.LEPI->SetText("0xC201"); },
     [](const FmrParameters& p) -> int64_t { return p.rdsPi; }, 0xC201},
    {"PsRateU8", [](Panel& f) { f.LEPSRate->SetText("300"); },
     [](const FmrParameters& p) -> int64_t { return p.rdsPsRate; }, 300 - 256},
    {"ProgrammeTypeNoneIsFF", [](Panel& f) { f.cb_ptc->SetItemIndex(-1); },
     [](const FmrParameters& p) -> int64_t { return p.rdsPty; }, 0xFF},
    {"ScanStop", [](Panel& f) { f.le_stop_freq->SetText("99000000"); },
     [](const FmrParameters& p) -> int64_t { return p.txScanStopHz; }, 99000000},
    {"ScanMinRssi", [](Panel& f) { f.LEMASRSSI2->SetText("-1"); },
     [](const FmrParameters& p) -> int64_t { return p.txScanMinRssi; }, -1},
    {"StackOff", [](Panel& f) { f.cbx_rds_stack->SetChecked(false); },
     [](const FmrParameters& p) -> int64_t { return p.rdsStackOn; }, 0},
    {"AllFeatures",
     [](Panel& f) {
       for (ui::CheckBox* box : {f.cbx_AF, f.cbx_PI, f.cbx_PS, f.cbx_RT, f.cbx_RTP, f.cbx_PTC})
         box->SetChecked(true);
     },
     [](const FmrParameters& p) -> int64_t { return p.rdsFeatures; }, 0xBE},
    {"ProgrammeTypeFeatureAlone",
     [](Panel& f) {
       for (ui::CheckBox* box : {f.cbx_AF, f.cbx_PI, f.cbx_PS, f.cbx_RT, f.cbx_RTP})
         box->SetChecked(false);
       f.cbx_PTC->SetChecked(true);
     },
     [](const FmrParameters& p) -> int64_t { return p.rdsFeatures; }, 0x80},
};

class StoreRowTest : public PanelTest, public ::testing::WithParamInterface<StoreRow> {};

TEST_P(StoreRowTest, StoresTheControlIntoItsField) {
  GetParam().set(panel);
  panel.SyncParameters(true);
  EXPECT_EQ(GetParam().get(params()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Exchange, StoreRowTest, ::testing::ValuesIn(kStoreRows),
                         [](const auto& test) { return std::string(test.param.name); });

struct ShowRow {
  const char* name;
  void (*set)(FmrParameters&);
  std::string (*shown)(const Panel&);
  std::string expected;
};

void PrintTo(const ShowRow& row, std::ostream* out) {
  *out << row.name;
}

std::string Index(const ui::ComboBox* box) {
  return std::to_string(box->item_index());
}

const ShowRow kShowRows[] = {
    {"FrequencyUnsigned32", [](FmrParameters& p) { p.frequencyHz = 0xFFFFFFFF; },
     [](const Panel& f) { return f.LEFrequency->text(); }, "4294967295"},
    {"MinRssiSigned", [](FmrParameters& p) { p.scanMinRssi = -5; },
     [](const Panel& f) { return f.LEMASRSSI->text(); }, "-5"},
    {"Spacing200k", [](FmrParameters& p) { p.channelSpacing = 200000; },
     [](const Panel& f) { return Index(f.CBChannelSpacing); }, "2"},
    {"SpacingUnknownClears", [](FmrParameters& p) { p.channelSpacing = 25000; },
     [](const Panel& f) { return Index(f.CBChannelSpacing); }, "-1"},
    {"VolumeZeroShownAsOne", [](FmrParameters& p) { p.volume = 0; },
     [](const Panel& f) { return f.LEVolume->text(); }, "1"},
    {"VolumeUnsigned16", [](FmrParameters& p) { p.volume = 0xFFFF; },
     [](const Panel& f) { return f.LEVolume->text(); }, "65535"},
    {"SncHighSigned", [](FmrParameters& p) { p.sncHighThreshold = -1; },
     [](const Panel& f) { return f.LESNCHighThreshold->text(); }, "-1"},
    {"StereoNo", [](FmrParameters& p) { p.stereo = 0; },
     [](const Panel& f) { return f.LStereo->caption(); }, "No"},
    {"PilotFrequency", [](FmrParameters& p) { p.pilotFrequencyHz = 19000; },
     [](const Panel& f) { return f.LEPilotFreq->text(); }, "19000"},
    {"Rssi", [](FmrParameters& p) { p.rssi = -12; },
     [](const Panel& f) { return f.LERSSI->text(); }, "-12"},
    {"RxErrors", [](FmrParameters& p) { p.rdsRxErrors = 65535; },
     [](const Panel& f) { return f.LERXError->text(); }, "65535"},
    {"RdsOnCaption", [](FmrParameters& p) { p.rdsState = 1; },
     [](const Panel& f) { return f.btn_rds->caption(); }, "RDS Off"},
    {"RdsStateOtherKeepsCaption", [](FmrParameters& p) { p.rdsState = 7; },
     [](const Panel& f) { return f.btn_rds->caption(); }, "RDS On"},
    {"DecoderRbds", [](FmrParameters& p) { p.rdsDecoderMode = 1; },
     [](const Panel& f) { return Index(f.CBDecode); }, "1"},
    {"RegisterAddressHex4", [](FmrParameters& p) { p.regAddress = 0x8A; },
     [](const Panel& f) { return f.LERegAddress->text(); }, "0x008A"},
    {"RegisterDataHex8", [](FmrParameters& p) { p.regData = 0xABC; },
     [](const Panel& f) { return f.LERegData->text(); }, "0x00000ABC"},
    {"LnaOffsetSigned8", [](FmrParameters& p) { p.externalLnaOffset = -7; },
     [](const Panel& f) { return f.LEOffset->text(); }, "-7"},
    {"IntLnaFFClears", [](FmrParameters& p) { p.intLnaReduction = 0xFF; },
     [](const Panel& f) { return Index(f.CBIntLNA); }, "-1"},
    {"OutputPowerSigned", [](FmrParameters& p) { p.txOutputPower = -120; },
     [](const Panel& f) { return f.LEOutputPower->text(); }, "-120"},
    {"ToneLevelHex4", [](FmrParameters& p) { p.toneLeftAmplitude = 0x12345; },
     [](const Panel& f) { return f.LELLevel->text(); }, "0x2345"},
    {"ToneRightFrequency", [](FmrParameters& p) { p.toneRightFreqHz = 20000; },
     [](const Panel& f) { return f.LERFreq->text(); }, "20000"},
    {"PreEmphasisIndex", [](FmrParameters& p) { p.preEmphasis = 0; },
     [](const Panel& f) { return std::to_string(f.RGPreEmphasis->item_index()); }, "0"},
    {"RdsDeviation", [](FmrParameters& p) { p.rdsDeviationHz = 1500; },
     [](const Panel& f) { return f.LERDSDeviation->text(); }, "1500"},
    {"ProgrammeId", [](FmrParameters& p) { p.rdsPi = 0xC201; },
     [](const Panel& f) { return f.LEPI->text(); }, "49665"},
    {"RadioTextUpToZero",
     [](FmrParameters& p) { std::memcpy(p.rdsRadioText.data(), "Hello\0X", 7); },
     [](const Panel& f) { return f.LERT->text(); }, "Hello"},
    {"PsNameWholeField", [](FmrParameters& p) { p.rdsPsName.fill('P'); },
     [](const Panel& f) { return f.LEPSN->text(); }, std::string(64, 'P')},
    {"RtPlus", [](FmrParameters& p) { std::memcpy(p.rdsRtPlus.data(), "RTPLUS12", 8); },
     [](const Panel& f) { return f.LERTP->text(); }, "RTPLUS12"},
    {"PsRate", [](FmrParameters& p) { p.rdsPsRate = 200; },
     [](const Panel& f) { return f.LEPSRate->text(); }, "200"},
    {"ScanResultFrequency", [](FmrParameters& p) { p.txScanResultHz = 88100000; },
     [](const Panel& f) { return f.le_scan_freq->text(); }, "88100000"},
    {"ScanResultRssi", [](FmrParameters& p) { p.txScanResultRssi = -30; },
     [](const Panel& f) { return f.le_scan_rssi->text(); }, "-30"},
};

class ShowRowTest : public PanelTest, public ::testing::WithParamInterface<ShowRow> {};

TEST_P(ShowRowTest, ShowsTheFieldInItsControl) {
  panel.SyncParameters(true);
  GetParam().set(params());
  panel.SyncParameters(false);
  EXPECT_EQ(GetParam().shown(panel), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Exchange, ShowRowTest, ::testing::ValuesIn(kShowRows),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(PanelTest, StoreResetsTheNoChangeBytesEveryTime) {
  params().rdsState = 1;
  params().rdsDecoderMode = 1;
  params().rssiState = 0;
  params().tuneAction = 2;
  panel.SyncParameters(true);
  EXPECT_EQ(params().rdsState, 0xFF);
  EXPECT_EQ(params().rdsDecoderMode, 0xFF);
  EXPECT_EQ(params().rssiState, 0xFF);
  EXPECT_EQ(params().tuneAction, 0);
}

TEST_F(PanelTest, StoredTextKeepsTheBytesBehindItsZero) {
  panel.LERT->SetText("ABCDEFG");
  panel.SyncParameters(true);
  panel.LERT->SetText("AB");
  panel.SyncParameters(true);
  EXPECT_EQ(std::string(params().rdsRadioText.data(), 7), std::string("AB\0DEFG", 7));
  panel.LERTP->SetText("0123456789");  // longer than the field: cut, no zero byte
  panel.SyncParameters(true);
  EXPECT_EQ(std::string(params().rdsRtPlus.data(), 8), "01234567");
}

TEST_F(PanelTest, AlternativeFrequenciesComeFromTheListFile) {
  const auto path =
      std::filesystem::temp_directory_path() /
      ("sonvio_af_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".ini");
  std::ofstream(path) << "[AlternativeFreq]\nAF0=875\nAF1=70000\nAF24=-1\nAF3=x\n";
  params().rdsAfList.fill(7);
  panel.SyncParameters(true);  // no file named: the list stays
  EXPECT_EQ(params().rdsAfList[0], 7);

  panel.LEAFList->SetText(path.string());
  panel.SyncParameters(true);
  EXPECT_EQ(params().rdsAfList[0], 875);
  EXPECT_EQ(params().rdsAfList[1], 70000 - 65536);
  EXPECT_EQ(params().rdsAfList[2], 0);
  EXPECT_EQ(params().rdsAfList[3], 0);
  EXPECT_EQ(params().rdsAfList[24], 0xFFFF);
  std::filesystem::remove(path);
}

TEST_F(PanelTest, ChannelSpacingAndDecoderSurviveAnOperation) {
  panel.CBChannelSpacing->SetItemIndex(2);
  panel.CBDecode->SetItemIndex(1);
  panel.BtnWriteFrequency->Click();
  EXPECT_EQ(panel.CBChannelSpacing->item_index(), 2);
  EXPECT_EQ(panel.CBDecode->item_index(), 1);  // the block said "no change"
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
  EXPECT_TRUE(panel.gb_feature->enabled());
  EXPECT_TRUE(panel.LEPI->enabled());
  EXPECT_TRUE(panel.cb_ptc->enabled());
  EXPECT_FALSE(panel.LERT->enabled());
  EXPECT_FALSE(panel.LEAFList->enabled());
  EXPECT_TRUE(panel.cbx_PI->checked());
  EXPECT_TRUE(panel.cbx_PTC->checked());
  EXPECT_FALSE(panel.cbx_RT->checked());

  params().rdsStackOn = 0;
  panel.SyncParameters(false);
  EXPECT_FALSE(panel.gb_feature->enabled());
  EXPECT_FALSE(panel.LEPI->enabled());
  EXPECT_FALSE(panel.cbx_PI->checked());
}

TEST_F(PanelTest, DeviationIsRecomputedLast) {
  panel.SyncParameters(true);
  params().freqDeviationHz = 12345;
  params().rdsState = 1;  // shown as RDS on
  panel.SyncParameters(false);
  EXPECT_EQ(panel.LEFreqDeviation->text(), "66250");
  panel.CBPilot->SetChecked(false);
  panel.SyncParameters(true);
  params().rdsState = 0;
  panel.SyncParameters(false);
  EXPECT_EQ(panel.LEFreqDeviation->text(), "75000");
}

TEST_F(PanelTest, ReadCpNeedsInternalAntennaWhileReceiving) {
  panel.CBAntenna->SetItemIndex(1);
  panel.SyncParameters(false);
  EXPECT_FALSE(panel.btn_readcp->enabled());
  panel.CBTMode->SetItemIndex(1);
  panel.SyncParameters(false);
  EXPECT_TRUE(panel.btn_readcp->enabled());
  panel.CBTMode->SetItemIndex(0);
  panel.CBAntenna->SetItemIndex(0);
  panel.SyncParameters(false);
  EXPECT_TRUE(panel.btn_readcp->enabled());
}

}  // namespace
