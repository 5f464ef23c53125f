// The "FM RX" page: what opening the window does, the handlers' command
// texts, log lines and follow-ups, and the handlers that only change other
// controls.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

// One command of a row: the action line and the command text without
// "at@audapp:"; each is logged as action, command text, "OK".
struct Command {
  const char* action;
  const char* text;
};

struct Row {
  const char* name;
  std::vector<std::string> user;  // automation commands
  std::vector<Command> commands;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

// The tour pins switching on and off and the values it sends; these rows are
// the other commands, other values and the conversions of what is typed.
class CommandRowTest : public DruskPanelTest, public ::testing::WithParamInterface<Row> {};

TEST_P(CommandRowTest, SendsItsCommandAndLogsActionAndOutcome) {
  const Row& row = GetParam();
  Do(row.user);
  std::vector<std::string> sent, log;
  for (const Command& c : row.commands) {
    sent.push_back(std::string("at@audapp:") + c.text);
    log.insert(log.end(), {c.action, sent.back(), "OK"});
  }
  EXPECT_EQ(Sent(), sent);
  EXPECT_EQ(LogTexts(), log);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandRowTest,
    ::testing::Values(
        Row{"Snc",
            {"type le_snc_low -20", "type le_snc_high 0x23", "check cb_snc 1"},
            {{"Set FM RX SNC", "fmrx_set_snc(-20,35,1)"}}},
        Row{"SoftMuteNarrowsAndZeroes",
            {"type le_softmute_threshold 65535", "type le_softmute_stepsize abc",
             "check cb_softmute 1"},
            {{"Set FM RX soft mute", "fmrx_set_sm(-1,0,1)"}}},
        Row{"BandTypedSpacingNoDeemphasis",
            {"select cb_band 0", "type le_minfreq 76000000", "type le_maxfreq 0x55D4A80",
             "type cb_stepsize 75000", "click btn_setband"},
            {{"Set FM RX band", "fmrx_set_band(90000000,76000000,75000,4294967295)"}}},
        Row{"CoupledVolumeTruncatedToOneByte",
            {"check cb_volume 1", "type e_lvol 300", "click btn_volume"},
            {{"set FM RX volume", "fmrx_set_volume(0,44)"}}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// The tour pins that switching on needs an audio path.
TEST_F(DruskPanelTest, AFailedCommandLeavesTheControlsAsTheUserSetThem) {
  Do({"select cb_audiooutput 0", "click btn_onoff"});
  Fail("fmr_disable");
  Fail("fmrx_set_snc");
  ClearRecords();
  Do({"click btn_onoff", "check cb_snc 1"});
  EXPECT_EQ(Showing("btn_onoff cb_snc"), "btn_onoff=Off cb_snc=1");
  EXPECT_EQ(log_.Transcript(),
            "Turn Off FMR RX|at@audapp:fmr_disable()|!Error|"
            "Set FM RX SNC|at@audapp:fmrx_set_snc(0,0,1)|!Error");
}

TEST_F(DruskPanelTest, SplitVolumeSendsLeftThenRightASecondApartEvenWhenLeftFails) {
  Reply("fmrx_set_volume(1", "", -2);
  Do({"type e_lvol 10", "type e_rvol 20"});
  const uint64_t before = services_.NowMs();
  Do({"click btn_volume"});
  EXPECT_EQ(services_.NowMs() - before, 1000u);
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "set FM RX left volume", "at@audapp:fmrx_set_volume(1,10)", "Error",
                            "set FM RX right volume", "at@audapp:fmrx_set_volume(2,20)", "OK"}));
}

TEST_F(DruskPanelTest, TheCommandSetOutlivesItsWindow) {
  MANAGED_IF::aud_app* command_set = &panel_->command_set();
  panel_.reset();
  EXPECT_EQ(double_->CallCount("TESSIC_SessionClose"), 0);
  EXPECT_EQ(command_set->session().session_id(), 7);  // still open
}

}  // namespace
}  // namespace gen2_panel_test
