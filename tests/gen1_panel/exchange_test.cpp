// The exchange between controls and the parameter block: the conversions of
// the table in both directions, and the derived displays.
#include <algorithm>
#include <type_traits>

#include "gen1_panel/field_text.h"
#include "panel_fixture.h"
#include "test_folder.h"

namespace {

// A member of the parameter block as text (an integer in decimal, a text
// field up to its zero byte); `set` gives it a new value first.
template <typename T>
std::string Access(T& member, const std::string* set) {
  if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    if (set != nullptr) member = static_cast<T>(std::stoll(*set));
    return std::to_string(static_cast<int64_t>(member));
  } else {
    if (set != nullptr) gen1_panel::StoreFieldText(member, *set);
    return std::string(gen1_panel::FieldText(member));
  }
}

enum Way { kStore = 1, kShow = 2, kBoth = 3 };
struct Exchange {
  const char* control;
  const char* text;  // what the control holds or shows
  const char* field;
  std::string (*access)(gen1::FmrParameters& p, const std::string* set);
  const char* value = nullptr;  // the field's value for that text; nullptr: the text itself
  Way way = kBoth;
};
#define M(name) \
#name, [](gen1::FmrParameters & p, const std::string* set) { return Access(p.name, set); }

// Every control of the exchange with the field it fills or shows: values
// that only the right width and sign carry, so a field filled from the wrong
// control, or shown in the wrong one, or narrowed, shows.
// clang-format off
const Exchange kExchange[] = {
    {"LEFrequency", "98700000", M(frequencyHz)}, {"LEMASRSSI", "-300", M(scanMinRssi)}, {"CBMono", "1", M(forceMono)},
    {"LEMAXFreq", "107900000", M(bandMaxHz)}, {"LEMINFreq", "87600000", M(bandMinHz)},
    {"CBChannelSpacing", "2", M(channelSpacing), "200000", kBoth}, {"CBSideband", "2", M(sideband)}, {"LEVolume", "4660", M(volume)},
    {"CBMute", "1", M(mute)}, {"CBOutputPath", "1", M(outputPath)}, {"RGDeEmphasis", "1", M(deEmphasis)}, {"CBSNC", "1", M(sncOn)},
    {"LESNCStep", "40000", M(sncStep)}, {"LESNCLowThreshold", "-301", M(sncLowThreshold)},
    {"LESNCHighThreshold", "-302", M(sncHighThreshold)}, {"CBSoftMute", "1", M(softMuteOn)}, {"LESMSS", "40001", M(softMuteStep)},
    {"LESMThreshold", "-303", M(softMuteThreshold)}, {"btn_rds", "RDS Off", M(rdsState), "1", kShow},
    {"CBDecode", "1", M(rdsDecoderMode), nullptr, kShow}, {"LERSSIOffset", "-304", M(rssiOffset)}, {"LELowRSSI", "-305", M(rssiLowAlert)},
    {"LEHighRSSI", "-306", M(rssiHighAlert)}, {"LStereo", "Yes", M(stereo), "1", kShow},
    {"LEPilotFreq", "98765432", M(pilotFrequencyHz), nullptr, kShow}, {"LERSSI", "-307", M(rssi), nullptr, kShow},
    {"LERXError", "40002", M(rdsRxErrors), nullptr, kShow}, {"LERegAddress", "0x8A5C", M(regAddress), "35420", kBoth},
    {"LERegData", "0x89ABCDEF", M(regData), "2309737967", kBoth}, {"CBAGCOn", "1", M(agcOn)}, {"CBLNAGain", "13", M(lnaGain)},
    {"CBPPFGain", "14", M(ppfGain)}, {"CBExternalLNAOn", "1", M(externalLnaOn)}, {"LEOffset", "-7", M(externalLnaOffset)},
    {"CBFMRSupply", "6", M(supplyVoltage)}, {"LEOutputPower", "-308", M(txOutputPower)}, {"CBIntLNA", "3", M(intLnaReduction)},
    {"CBAntenna", "1", M(antenna), nullptr, kStore}, {"CBTMode", "1", M(mode), nullptr, kStore}, {"LELFreq", "40003", M(toneLeftFreqHz)},
    {"LELLevel", "0x9ABC", M(toneLeftAmplitude), "39612", kBoth}, {"LELPhase", "0x1357", M(toneLeftPhase), "4951", kBoth},
    {"LERFreq", "40004", M(toneRightFreqHz)}, {"LERLevel", "0x2468", M(toneRightAmplitude), "9320", kBoth},
    {"LERPhase", "0x0F0E", M(toneRightPhase), "3854", kBoth}, {"RGPreEmphasis", "1", M(preEmphasis)},
    {"CBAudioOutput", "1", M(txAudioMode)}, {"CBPilot", "1", M(pilotOn)},  // its click sets LEFreqDeviation
    {"LEFreqDeviation", "74000", M(freqDeviationHz), nullptr, kStore}, {"LEPilotDeviation", "40005", M(pilotDeviationHz)},
    {"LERDSDeviation", "40006", M(rdsDeviationHz)}, {"CBFreqMute", "1", M(rfMute)}, {"CBModulation", "1", M(modulationOn)},
    {"LEPI", "40007", M(rdsPi)}, {"LERT", "Radio_text", M(rdsRadioText)}, {"LEPSN", "PS_name", M(rdsPsName)},
    {"CBPSMode", "2", M(rdsPsMode)}, {"LEPSRate", "200", M(rdsPsRate)}, {"LERTP", "RT_plus", M(rdsRtPlus)}, {"cb_ptc", "29", M(rdsPty)},
    {"le_scan_freq", "98765433", M(txScanResultHz), nullptr, kShow}, {"le_scan_rssi", "-309", M(txScanResultRssi), nullptr, kShow},
    {"le_start_freq", "88100000", M(txScanStartHz), nullptr, kStore}, {"le_stop_freq", "107700000", M(txScanStopHz), nullptr, kStore},
    {"LEMASRSSI2", "-310", M(txScanMinRssi), nullptr, kStore}, {"cbx_rds_stack", "1", M(rdsStackOn), nullptr, kStore},
    {"cbx_AF", "1", M(rdsFeatures), "2", kStore}, {"cbx_PI", "1", M(rdsFeatures), "4", kStore},
    {"cbx_PS", "1", M(rdsFeatures), "8", kStore}, {"cbx_RT", "1", M(rdsFeatures), "16", kStore},
    {"cbx_RTP", "1", M(rdsFeatures), "32", kStore}, {"cbx_PTC", "1", M(rdsFeatures), "128", kStore},
    // Where a field narrows or is wider than its display, or a rule of its own.
    {"LEFrequency", "98.5", M(frequencyHz), "0", kStore}, {"LEMASRSSI", "40000", M(scanMinRssi), "-25536", kStore},
    {"CBChannelSpacing", "-1", M(channelSpacing), "50000", kStore}, {"CBSideband", "-1", M(sideband), "255", kStore},
    {"LEVolume", "0x12345", M(volume), "4660", kStore},  // four hex digits at most
    {"LEVolume", "$100", M(volume), "256", kStore}, {"LERegData", "0x1234ABCD9", M(regData), "592100569", kStore},  // the last eight digits
    {"LEOffset", "200", M(externalLnaOffset), "-56", kStore}, {"LEFrequency", "4294967295", M(frequencyHz), nullptr, kShow},
    {"CBChannelSpacing", "-1", M(channelSpacing), "25000", kShow}, {"btn_rds", "RDS On", M(rdsState), "7", kShow},  // neither on nor off: left alone
    {"CBIntLNA", "-1", M(intLnaReduction), "255", kShow}, {"LELLevel", "0x2345", M(toneLeftAmplitude), "74565", kShow},
    {"LEPSN", "PPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPPP", M(rdsPsName), nullptr, kShow},
};
// clang-format on

// "field=value" of every field `way` reaches, in table order.
std::string Fields(gen1::FmrParameters p, Way way, const Exchange* with = nullptr) {
  std::string out;
  for (const Exchange& e : kExchange) {
    if ((e.way & way) == 0 || out.find(std::string(e.field) + "=") != std::string::npos) continue;
    const bool mine = with != nullptr && std::string(with->field) == e.field;
    out += std::string(e.field) + "=" +
           (mine ? (with->value ? with->value : with->text) : e.access(p, nullptr)) + " ";
  }
  return out;
}

// One control at a time away from zero: only its own field changes, to the
// row's value; the "no change" bytes are set whatever the block held.
TEST_F(PanelTest, StoreFillsEachFieldFromItsOwnControlOnly) {
  panel.cb_ptcDropDown();
  const auto assign = [](const Exchange* changed) {
    std::string words;
    for (const Exchange& e : kExchange) {
      const bool other = changed != nullptr && &e != changed && e.control == changed->control;
      if ((e.way & kStore) != 0 && !other)
        words += std::string(e.control) + "=" + (&e == changed ? e.text : "0") + " ";
    }
    return words;
  };
  SetControls(assign(nullptr));
  panel.SyncParameters(true);
  const gen1::FmrParameters zero = params();
  EXPECT_NE(Fields(zero, kStore).find(" channelSpacing=50000 "), std::string::npos);
  for (const Exchange& e : kExchange) {
    if ((e.way & kStore) == 0) continue;
    SCOPED_TRACE(e.control);
    params().rdsState = params().rssiState = gen1::FmrSwitch::kOn;
    params().rdsDecoderMode = gen1::RdsDecoderMode::kRbds;
    params().tuneAction = gen1::TuneAction::kSeekUp;
    SetControls(assign(&e));
    panel.SyncParameters(true);
    EXPECT_EQ(Fields(params(), kStore), Fields(zero, kStore, &e));
    const gen1::FmrParameters& p = params();
    EXPECT_EQ(std::vector<int>({gen1::WireValue(p.rdsState), gen1::WireValue(p.rdsDecoderMode),
                                gen1::WireValue(p.rssiState), gen1::WireValue(p.tuneAction)}),
              std::vector<int>({0xFF, 0xFF, 0xFF, 0}));
  }
}

// One field at a time away from zero: only its own control changes.
TEST_F(PanelTest, ShowPutsEachFieldIntoItsOwnControlOnly) {
  panel.cb_ptcDropDown();
  const auto shown = [this] {
    std::vector<std::string> out;
    for (const Exchange& e : kExchange) {
      if ((e.way & kShow) != 0) out.push_back(std::string(e.control) + "=" + Shown(e.control));
    }
    return out;
  };
  params() = gen1::FmrParameters{};
  panel.SyncParameters(false);
  const std::vector<std::string> zero = shown();
  EXPECT_EQ(std::count(zero.begin(), zero.end(), "LEVolume=1"), 1) << "0 is shown as 1";
  for (const Exchange& e : kExchange) {
    if ((e.way & kShow) == 0) continue;
    params() = gen1::FmrParameters{};
    const std::string value = e.value != nullptr ? e.value : e.text;
    e.access(params(), &value);
    panel.SyncParameters(false);
    std::vector<std::string> expected = zero;
    const std::string key = std::string(e.control) + "=";
    for (std::string& entry : expected) {
      if (entry.rfind(key, 0) == 0) entry = key + e.text;
    }
    EXPECT_EQ(shown(), expected);
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

// What the showing of the block works out besides the fields: the RDS
// feature edits and their boxes, the frequency deviation, the CP button and
// the gain selectors.
TEST_F(PanelTest, ShowDerivesFeaturesDeviationAndWhatMayBeUsed) {
  // Stack, feature bits: the six edits and the group enabled, their boxes alike.
  // clang-format off
  const struct { uint8_t stack; uint32_t bits; const char* enabled; } rows[] = {
      {1, 0x04, "1000001"}, {1, 0x20, "0100001"}, {1, 0x10, "0010001"}, {1, 0x08, "0001001"},
      {1, 0x40, "0000101"}, {1, 0x02, "0000011"}, {1, 0x81, "0000001"}, {0, 0xFF, "0000000"}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bits);
    params().rdsStackOn = row.stack;
    params().rdsFeatures = row.bits;
    panel.SyncParameters(false);
    EXPECT_EQ(testing_form::Enabled(panel, "LEPI LERTP LERT LEPSN cb_ptc LEAFList gb_feature"),
              row.enabled);
    std::string checked;
    for (const char* box : {"cbx_PI", "cbx_RTP", "cbx_RT", "cbx_PS", "cbx_PTC", "cbx_AF"})
      checked += Shown(box);
    EXPECT_EQ(checked + row.enabled[6], std::string(row.enabled));
  }

  // 75000 less the pilot's deviation while the pilot is on, less the RDS
  // deviation while RDS is on (pilot on, its deviation, RDS's, RDS state).
  // clang-format off
  const struct { uint32_t pilot_on; uint16_t pilot; uint16_t rds; uint8_t rds_state; const char* deviation; } deviations[] = {
      {1, 6750, 2000, 1, "66250"}, {1, 6750, 2000, 0, "68250"}, {0, 6750, 2000, 1, "73000"},
      {0, 6750, 2000, 0, "75000"}, {1, 40000, 40000, 1, "-5000"}};
  // clang-format on
  for (const auto& d : deviations) {
    params().pilotOn = d.pilot_on;
    params().pilotDeviationHz = d.pilot;
    params().rdsDeviationHz = d.rds;
    params().rdsState = static_cast<gen1::FmrSwitch>(d.rds_state);
    params().freqDeviationHz = 12345;
    panel.SyncParameters(false);
    EXPECT_EQ(Shown("LEFreqDeviation"), d.deviation);
  }
  SetControls("LERDSDeviation=2000 LEPilotDeviation=x CBPilot=0 CBPilot=1");  // its click
  EXPECT_EQ(Shown("LEFreqDeviation"), "73000");
  SetControls("LEPilotDeviation=6750 CBPilot=0");
  EXPECT_EQ(Shown("LEFreqDeviation"), "73000");
  SetControls("CBPilot=1");
  EXPECT_EQ(Shown("LEFreqDeviation"), "66250");

  // The CP read needs the internal antenna while receiving; the gain
  // selectors are free with the AGC off and the radio on.
  // clang-format off
  const struct { const char* controls; bool radio_on; const char* enabled; } uses[] = {  // btn_readcp CBLNAGain CBPPFGain
      {"CBAntenna=0 CBTMode=0", false, "100"}, {"CBAntenna=1 CBTMode=0", true, "000"},
      {"CBAntenna=1 CBTMode=1", false, "100"}, {"CBAntenna=0 CBTMode=1", true, "100"}};
  // clang-format on
  for (const auto& u : uses) {
    for (const uint32_t agc : {0u, 1u}) {
      SetControls(u.controls);
      panel.BtnFMREnable->SetEnabled(!u.radio_on);
      params().agcOn = agc;
      panel.SyncParameters(false);
      const std::string gains = agc == 0 && u.radio_on ? "11" : "00";
      EXPECT_EQ(testing_form::Enabled(panel, "btn_readcp CBLNAGain CBPPFGain"),
                u.enabled[0] + gains)
          << u.controls << " AGC " << agc;
    }
  }
}

}  // namespace
