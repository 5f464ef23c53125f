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
      {"LERegData=0x1234ABCD9", FIELD(regData), 0x234ABCD9},  // the last eight digits
      {"LEOffset=200", FIELD(externalLnaOffset), 200 - 256},
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
      {SET(channelSpacing = 200000), "CBChannelSpacing", "2"},
      {SET(channelSpacing = 25000), "CBChannelSpacing", "-1"},
      {SET(stereo = 0), "LStereo", "No"},
      {SET(rdsState = 7), "btn_rds", "RDS On"},  // neither on nor off: left alone
      {SET(rdsState = 1), "btn_rds", "RDS Off"},
      {SET(intLnaReduction = 0xFF), "CBIntLNA", "-1"},
      {SET(toneLeftAmplitude = 0x12345), "LELLevel", "0x2345"},
      {[](FmrParameters& p) { std::memcpy(p.rdsRadioText.data(), "Hello\0X", 7); }, "LERT",
       "Hello"},
      {SET(rdsPsName.fill('P')), "LEPSN", std::string(64, 'P')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control + (" " + row.shown));
    panel.SyncParameters(true);
    row.set(params());
    panel.SyncParameters(false);
    EXPECT_EQ(Shown(row.control), row.shown);
  }
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

}  // namespace
