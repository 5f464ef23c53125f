// Adopting a radio that is on when shown, what can be used in each power
// state, and the range checks of the edits.
#include <sstream>

#include "panel_fixture.h"

namespace {

TEST_F(PanelTest, ShowAdoptsARadioThatIsOnAndLeavesOneThatIsOffOrSilent) {
  // clang-format off
  const struct { uint32_t power_state; uint16_t info_status; Ids sent; const char* shown; } cases[] = {
      {1, 1, {0x23, 0x3A, 0x03}, "CBTMode=0 LEFrequency=98100000"}, {2, 1, {0x23, 0x3A, 0x18}, "CBTMode=1 LEFrequency=98100000"},
      {0, 1, {0x23, 0x3A}, "CBTMode=0 LEFrequency=76000000"}, {1, 0, {0x23, 0x3A}, "CBTMode=0 LEFrequency=76000000"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    radio.power_state = c.power_state;
    radio.frequency_hz = 98100000;
    radio.status[0x3A] = c.info_status;
    gen1_panel::TKelboFMRGUI fresh(app, host.Context(services));
    host.Clear();
    fresh.Show();
    const bool on = c.power_state != 0 && c.info_status == 1;
    EXPECT_EQ(fresh.radioOn, on);
    EXPECT_EQ(SentIds(), c.sent);
    EXPECT_EQ(testing_form::Showing(fresh, c.shown), c.shown);
    EXPECT_EQ(testing_form::Enabled(fresh, "BtnFMREnable BtnFMRDisable"), on ? "01" : "10");
    EXPECT_EQ(fresh.LEFreqDeviation->visible(), c.power_state == 2);
  }
}

// Which controls can be used, by group: off, receiving, transmitting, off
// after a mode change. The three RDS feature edits the default boxes select
// stay usable whatever the power (showing the block decides them) until a
// mode change, the other three never; the gain selectors need the AGC off.
// clang-format off
const struct { const char* names; const char* off_rx_tx_mode; } kEnabling[] = {
    {"BtnFMREnable CBTMode", "1001"},
    {"BtnFMRDisable BtnRefresh LEFrequency CBBandSelection CBChannelSpacing LReady BtnTuneUp BtnTuneDown "
     "BtnReadFrequency BtnWriteFrequency LEVolume CBMute BtnReadAudio BtnWriteAudio btn_test_tone LELFreq "
     "LERFreq LELLevel LERLevel LELPhase LERPhase btn_rds CBDecode LData LStatus LData2 LStatus2 BtnReadRDS "
     "BtnWriteRDS LERegAddress LERegData BtnReadReg BtnWriteReg CBFMRSupply Btn_gain_read btn_gain_write "
     "LEMAXFreq LEMINFreq", "0110"},
    {"CBAntenna CBOutput btn_set_output LEMASRSSI CBMono CBSideband BtnSeekUp BtnSeekDown RGDeEmphasis CBSNC "
     "LESNCStep LESNCLowThreshold LESNCHighThreshold CBSoftMute LESMSS LESMThreshold CBOutputPath LStereo "
     "LERXError LERSSIOffset btn_rssi LELowRSSI LEHighRSSI LEPilotFreq LERSSI BtnReadRSSI BtnWriteRSSI "
     "cb_rssi_logging le_pmu CBAGCOn CBExternalLNAOn LEOffset CBIntLNA", "0100"},
    {"CBFreqMute CBPilot LEPilotDeviation RGPreEmphasis CBAudioOutput CBModulation btn_chirp LERDSDeviation "
     "CBPSMode LEPSRate BtnLoad LEOutputPower gb_tx_scan le_start_freq le_stop_freq LEMASRSSI2 btnTxScan", "0010"},
    {"LEPI LERT LEPSN", "1110"}, {"LERTP cb_ptc LEAFList LEFreqDeviation", "0000"}, {"CBLNAGain CBPPFGain", "0110"}};
// clang-format on

// Each control as "NAME=1" (enabled) or "NAME=0"; a `column` of the table
// gives the expected state instead.
std::string EnablingText(const ui::Form& form, int column) {
  std::string out;
  for (const auto& group : kEnabling) {
    std::istringstream names(group.names);
    for (std::string name; names >> name;)
      out += name + "=" +
             (column < 0 ? testing_form::Enabled(form, name)
                         : std::string(1, group.off_rx_tx_mode[column])) +
             " ";
  }
  return out;
}

// Power on and off, refused or not, in both modes: what can be used after,
// what the status read-outs say.
TEST_F(PanelTest, ControlsFollowThePowerStateThroughFailedOperations) {
  // Name, transmit chosen, status word per message id, the power buttons
  // clicked ("on", "off") and a refresh, the column of the table, and what
  // shows: LReady, its colour, LEFrequency, radioOn, deviation visible.
  // clang-format off
  const struct { const char* name; bool transmit; std::vector<std::pair<uint16_t, uint16_t>> statuses;
                 const char* commands; int column; const char* shown; } rows[] = {
      {"off", false, {}, "", 0, "Yes 1 76000000 0 0"}, {"off, tx chosen", true, {}, "", 3, "Yes 1 88000000 0 0"},
      {"rx", false, {}, "on", 1, "Yes 1 87500000 1 0"}, {"tx", true, {}, "on", 2, "Yes 1 87500000 1 1"},
      {"rx on refused", false, {{0x01, 0}}, "on", 0, "Yes 1 87500000 0 0"}, {"tx on refused", true, {{0x11, 0}}, "on", 0, "Yes 1 87500000 0 0"},
      {"rx off refused", false, {{0x02, 0}}, "on off", 1, "Yes 1 87500000 1 0"},
      {"tx off refused", true, {{0x12, 2}}, "on off", 2, "Yes 1 87500000 1 1"}, {"tx off", true, {}, "on off", 0, "Yes 1 87500000 0 0"},
      {"rx status refused", false, {{0x03, 0}}, "on refresh", 1, "No 2 98.5 1 0"},
      {"tx status refused", true, {{0x18, 0}}, "on refresh", 2, "No 2 98.5 1 1"},
      {"rx status read", false, {}, "on refresh", 1, "Yes 1 87500000 1 0"}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    radio.status.clear();
    for (const auto& [id, status] : row.statuses) radio.status[id] = status;
    gen1_panel::TKelboFMRGUI p(app, host.Context(services));
    testing_form::SetControls(p, "CBAGCOn=0");
    p.Show();
    if (row.transmit) p.CBTMode->UserSelect(1);
    if (std::string(row.commands).find("on") == 0) p.BtnFMREnable->UserClick();
    if (std::string(row.commands).find("off") != std::string::npos) p.BtnFMRDisable->UserClick();
    if (std::string(row.commands).find("refresh") != std::string::npos) {
      testing_form::SetControls(p, "LEFrequency=98.5");  // a failed read shows nothing
      p.BtnRefresh->UserClick();
    }
    EXPECT_EQ(EnablingText(p, -1), EnablingText(p, row.column));
    const std::string shown = p.LReady->caption() + " " +
                              std::to_string(static_cast<int>(p.LReady->color())) + " " +
                              p.LEFrequency->text() + " " + std::to_string(p.radioOn) + " " +
                              std::to_string(p.LEFreqDeviation->visible());
    EXPECT_EQ(shown, row.shown);
  }
}

// Each checked edit takes its limits and refuses one beyond either (a band's
// limits as they are now): the warning, the focus back on the edit, the text
// kept, nothing sent.
TEST_F(PanelTest, RangeChecksTakeTheLimitsAndWarnBeyondThem) {
  PowerOn(false);
  SetControls("LEMINFreq=87500000");
  // clang-format off
  const struct { const char* edit; int32_t min; int32_t max; } edits[] = {
      {"LEFrequency", 87500000, 108000000}, {"LEMASRSSI", -100, 200}, {"LESNCStep", 0, 32767},
      {"LESNCLowThreshold", -100, 200}, {"LESNCHighThreshold", -100, 200}, {"LESMSS", 0, 32767},
      {"LESMThreshold", -100, 200}, {"LEVolume", 1, 32767}, {"LELFreq", 1, 20000}, {"LERFreq", 1, 20000}};
  // clang-format on
  for (const auto& e : edits) {
    const std::string edit = e.edit;
    const std::string warning = "Warning\tInput Value Out Of Range(" + std::to_string(e.min) +
                                " ~ " + std::to_string(e.max) + ")";
    for (const int64_t value :
         {int64_t{e.min}, int64_t{e.max}, e.min - int64_t{1}, e.max + int64_t{1}}) {
      SCOPED_TRACE(edit + " " + std::to_string(value));
      services.SetFocus(nullptr);
      ASSERT_EQ(Run("type " + edit + " " + std::to_string(value) + "; leave " + edit), "ok; ok");
      const bool inside = value >= e.min && value <= e.max;
      EXPECT_EQ(Dialogs(), inside ? "" : warning);
      EXPECT_EQ(services.Focused(), inside ? nullptr : panel.FindComponent(edit));
      EXPECT_EQ(Shown(edit), std::to_string(value));
    }
  }
  // The second minimum-RSSI edit (for transmitting, so left from code)
  // checks the first.
  SetControls("LEMASRSSI=25 LEMASRSSI2=500");
  panel.LEMASRSSI2->UserLeave();
  EXPECT_EQ(Dialogs(), "");
  SetControls("LEMASRSSI=-101");
  panel.LEMASRSSI2->UserLeave();
  EXPECT_EQ(Dialogs(), "Warning\tInput Value Out Of Range(-100 ~ 200)");
  EXPECT_EQ(services.Focused(), panel.LEMASRSSI);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
