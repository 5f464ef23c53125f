// The "FM RX" page: every handler that sends a command, with the exact
// log it writes when the command succeeds and when it fails, and what it
// changes afterwards; and the handlers that only change other controls.
#include <tuple>

#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

// User actions (automation commands separated by "|") on a panel prepared
// by `setup`, and the log they write, "at@audapp:" left out and each command
// followed by "OK", or by "!Error" when every command fails. `state` is what
// the actions leave behind, "NAME=AFTER_OK/AFTER_ERROR" for each name (a
// control, "pending": the auto-seek flag, "interval": Timer1's, "enabled":
// cb_gaincontrol's, "ms": the time the actions took).
struct Row {
  const char *name, *setup, *actions, *log, *state = "";
  friend void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// clang-format off
const Row kRows[] = {
    {"PowerOnNeedsAnAudioPath", "", "click btn_onoff",
     "!Configure audio path before switching on FMR", "btn_onoff=On/On"},
    {"AudioDestinations", "", "select cb_audiooutput 1|select cb_audiooutput 2|"
     "select cb_audiooutput 3|select cb_audiooutput 0",
     "Set audio destination to Earpiece|fmr_configure_audio_dst(1)|Set audio destination to "
     "Loudspeaker|fmr_configure_audio_dst(2)|unset audio destination|fmr_configure_audio_dst(3)|"
     "Set audio destination to Headset|fmr_configure_audio_dst(0)"},
    {"PowerOn", "select cb_audiooutput 2", "click btn_onoff", "Turn On FMR RX|fmrx_enable()",
     "btn_onoff=Off/On"},
    {"PowerOff", "select cb_audiooutput 1|click btn_onoff", "click btn_onoff",
     "Turn Off FMR RX|fmr_disable()", "btn_onoff=On/Off"},
    {"OutputMode", "", "check cb_dspmode 1|check cb_dspmode 0", "Set output mode to DSP|"
     "fmrx_set_output_mode(1)|Set output mode to DAC|fmrx_set_output_mode(0)"},
    {"Antenna", "", "select cb_antenna 1|select cb_antenna 0", "Set FMR antenna to External|"
     "fmrx_set_antenna(1)|Set FMR antenna to Internal|fmrx_set_antenna(0)"},
    {"Sideband", "", "select cb_sideband 1|select cb_sideband 0|select cb_sideband 2",
     "Set FM RX sideband|fmrx_set_sideband(1)|Set FM RX sideband|fmrx_set_sideband(0)|"
     "Set FM RX sideband|fmrx_set_sideband(2)"},
    {"ForceMono", "", "check cb_forcemono 1|check cb_forcemono 0",
     "Set FM RX force mono|fmrx_forcemono(1)|Set FM RX force mono|fmrx_forcemono(0)"},
    {"BandWithEachStepSizeAndDeemphasis", "type le_minfreq 76100000|type le_maxfreq 0x56057C0",
     "select cb_stepsize 0|select rg_deemphasis 1|click btn_setband|select cb_stepsize 2|"
     "select rg_deemphasis 0|click btn_setband|select cb_stepsize 1|click btn_setband",
     "Set FM RX band|fmrx_set_band(90200000,76100000,50000,1)|Set FM RX band|"
     "fmrx_set_band(90200000,76100000,200000,0)|Set FM RX band|"
     "fmrx_set_band(90200000,76100000,100000,0)"},
    {"BandWithTypedStepSizeAndNoDeemphasis",
     "type le_minfreq 87600000|type le_maxfreq 107900000|select cb_stepsize 2",
     "type cb_stepsize 75000|click btn_setband|type cb_stepsize 1OOKHz|click btn_setband",
     "Set FM RX band|fmrx_set_band(107900000,87600000,75000,4294967295)|"
     "Set FM RX band|fmrx_set_band(107900000,87600000,0,4294967295)"},
    {"TuneAndSeekInEveryMode", "type le_frequency 98300000|type le_rssi 65524|check cb_forcemono 1",
     "click btn_set_station|click btn_seekup|click btn_seekdown|check cb_wrap 1|click btn_seekup|"
     "click btn_seekdown",
     "Set FM RX station|fmrx_set_station(0,98300000,-12,1)|"
     "FM RX tune up to the next valid station|fmrx_set_station(3,98300000,-12,1)|"
     "FM RX tune down to the next valid station|fmrx_set_station(4,98300000,-12,1)|"
     "FM RX tune up to the next valid station|fmrx_set_station(1,98300000,-12,1)|"
     "FM RX tune down to the next valid station|fmrx_set_station(2,98300000,-12,1)"},
    {"FindStations", "type le_frequency 91700000|type le_rssi 25", "click btn_findstation",
     "FM RX auto seek|fmrx_set_station(5,91700000,25,0)", "Timer1=1/0 pending=1/0"},
    // A failed command leaves the box as the user set it.
    {"Snc", "type le_snc_low -21|type le_snc_high 37", "check cb_snc 1|check cb_snc 0|"
     "check cb_snc 1", "Set FM RX SNC|fmrx_set_snc(-21,37,1)|Set FM RX SNC|fmrx_set_snc(-21,37,0)|"
     "Set FM RX SNC|fmrx_set_snc(-21,37,1)", "cb_snc=1/1"},
    {"SoftMute", "type le_softmute_threshold -6|type le_softmute_stepsize 65535",
     "check cb_softmute 1|check cb_softmute 0",
     "Set FM RX soft mute|fmrx_set_sm(-6,65535,1)|Set FM RX soft mute|fmrx_set_sm(-6,65535,0)"},
    {"AgcSendsTheGainIndexAndOpensIt", "select cb_gaincontrol 9", "check cb_agc 1",
     "Set FM RX gain control|fmrx_set_gain_control(1,9)", "enabled=1/1"},
    {"AgcOffClosesTheGainIndex", "select cb_gaincontrol 4|check cb_agc 1", "check cb_agc 0",
     "Set FM RX gain control|fmrx_set_gain_control(0,4)", "enabled=0/0"},
    {"GainIndexAlwaysWithAgcOff", "check cb_agc 1", "select cb_gaincontrol 11|"
     "select cb_gaincontrol 3", "Set FM RX gain control|fmrx_set_gain_control(0,11)|"
     "Set FM RX gain control|fmrx_set_gain_control(0,3)"},
    {"RssiAlert", "type le_rssi_low -14|type le_rssi_high 52", "check cb_rssi 1|check cb_rssi 0",
     "Set FM RX RSSI|fmrx_set_rssi(1,-14,52)|Set FM RX RSSI|fmrx_set_rssi(0,-14,52)"},
    {"RdsSubscriptionStartsTheTimerAtItsInterval", "select cb_rds 2|type le_rds 700",
     "check CheckBox_rds 1", "set FM RX RDS|fmrx_set_rds(1,2,700)", "Timer1=1/0 interval=700/1000"},
    {"RdsIntervalFallsBackTo1000", "select cb_rds 1|type le_rds soon", "check CheckBox_rds 1|"
     "check CheckBox_rds 0", "set FM RX RDS|fmrx_set_rds(1,1,1000)|set FM RX RDS|"
     "fmrx_set_rds(0,1,1000)"},
    {"VolumeCoupledWithoutPause", "type e_rvol 58|check cb_volume 1|type e_lvol 37",
     "click btn_volume", "set FM RX volume|fmrx_set_volume(0,37)", "ms=0/0"},
    {"VolumeSplitLeftThenRightASecondApart", "type e_lvol 37|type e_rvol 300", "click btn_volume",
     "set FM RX left volume|fmrx_set_volume(1,37)|set FM RX right volume|fmrx_set_volume(2,44)",
     "ms=1000/1000"},
};
// clang-format on

class CommandRowTest : public DruskPanelTest,
                       public ::testing::WithParamInterface<std::tuple<Row, bool>> {
 protected:
  std::string Value(const std::string& name) const {
    if (name == "pending") return panel_->auto_seek_pending() ? "1" : "0";
    if (name == "interval") return std::to_string(panel_->Timer1->interval());
    if (name == "enabled") return testing_form::Enabled(*panel_, "cb_gaincontrol");
    if (name == "ms") return std::to_string(services_.NowMs() - start_ms_);
    return Shown(name);
  }
  uint64_t start_ms_ = 0;
};

TEST_P(CommandRowTest, LogsActionCommandAndOutcomeAndFollowsUpOnlyOnSuccess) {
  const auto& [row, fail] = GetParam();
  Do(Split(row.setup, '|'));
  ClearRecords();
  if (fail) Reply("", "refused", -2);  // every command
  start_ms_ = services_.NowMs();
  Do(Split(row.actions, '|'));
  std::string log = log_.Transcript(), expected;
  for (size_t at; (at = log.find("at@audapp:")) != std::string::npos;) log.erase(at, 10);
  for (const std::string& part : Split(row.log, '|')) {
    const char* outcome = !part.ends_with(')') ? "" : fail ? "|!Error" : "|OK";
    expected += (expected.empty() ? "" : "|") + part + outcome;
  }
  EXPECT_EQ(log, expected);
  for (const std::string& word : Split(row.state, ' ')) {
    const size_t equals = word.find('='), slash = word.find('/');
    const std::string name = word.substr(0, equals);
    EXPECT_EQ(Value(name),
              fail ? word.substr(slash + 1) : word.substr(equals + 1, slash - equals - 1))
        << name;
  }
  EXPECT_EQ(services_.CurrentCursor(), ui::Cursor::kDefault);
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandRowTest,
                         ::testing::Combine(::testing::ValuesIn(kRows), ::testing::Bool()),
                         [](const auto& param_info) {
                           return std::string(std::get<0>(param_info.param).name) +
                                  (std::get<1>(param_info.param) ? "Failing" : "");
                         });

// Handlers that change other controls and send nothing; each step shows
// le_minfreq, le_maxfreq, e_lvol, e_rvol and whether the band edits are
// enabled. A chosen station is tuned to at once.
TEST_F(DruskPanelTest, ControlsThatOnlyFillOthers) {
  const char* const steps[][2] = {
      {"type le_minfreq 1", "1||0|0|11"},
      {"select cb_band 1", "76000000|90000000|0|0|00"},
      {"select cb_band 0", "76000000|90000000|0|0|11"},
      {"select cb_band 2", "87500000|108000000|0|0|00"},
      {"type e_lvol 12", "87500000|108000000|12|0|00"},
      {"select cb_band 1", "76000000|90000000|12|0|00"},
      {"select cb_band 3", "87500000|108000000|12|0|00"},
      {"type e_rvol 34", "87500000|108000000|12|34|00"},
      {"check cb_volume 1", "87500000|108000000|12|12|00"},
      {"type e_rvol 56", "87500000|108000000|56|56|00"},
      {"type e_lvol 78", "87500000|108000000|78|78|00"},
      {"check cb_volume 0", "87500000|108000000|78|78|00"},
      {"type e_rvol 5", "87500000|108000000|78|5|00"},
      {"check cb_mute 1", "87500000|108000000|0|0|00"},
      {"type e_lvol 9", "87500000|108000000|9|0|00"},
      {"check cb_mute 0", "87500000|108000000|9|0|00"},
  };
  for (const auto& [action, shown] : steps) {
    Do({action});
    EXPECT_EQ(Values("le_minfreq le_maxfreq e_lvol e_rvol") + "|" +
                  testing_form::Enabled(*panel_, "le_minfreq le_maxfreq"),
              shown)
        << action;
  }
  EXPECT_TRUE(double_->sent.empty());
  panel_->cb_station->SetItems({"88100000", "95400000"});
  Do({"type le_rssi 7", "select cb_station 1"});
  EXPECT_EQ(log_.Transcript(), "Set FM RX station|at@audapp:fmrx_set_station(0,95400000,7,0)|OK");
  EXPECT_EQ(Shown("le_frequency"), "95400000");
}

TEST_F(DruskPanelTest, TheCommandSetOutlivesItsWindow) {
  MANAGED_IF::aud_app* command_set = &panel_->command_set();
  panel_.reset();
  EXPECT_EQ(double_->CallCount("TESSIC_SessionClose"), 0);
  EXPECT_EQ(command_set->session().session_id(), 7);  // still open
}

}  // namespace
}  // namespace gen2_panel_test
