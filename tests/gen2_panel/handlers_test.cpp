// The "FM RX" page handlers: command texts, log lines, follow-ups, and the
// handlers that only change other controls.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

using gen2_test::LogLine;

struct Row {
  const char* name;
  std::vector<std::string> commands;  // user actions
  std::vector<std::string> sent;      // without "at@audapp:"
  std::vector<std::string> log;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

class CommandRowTest : public DruskPanelTest, public ::testing::WithParamInterface<Row> {};

TEST_P(CommandRowTest, SendsItsCommandAndLogsActionAndOutcome) {
  const Row& row = GetParam();
  Do(row.commands);
  std::vector<std::string> expected;
  for (const std::string& s : row.sent) expected.push_back("at@audapp:" + s);
  EXPECT_EQ(Sent(), expected);
  EXPECT_EQ(LogTexts(), row.log);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandRowTest,
    ::testing::Values(
        Row{"AudioHeadset",
            {"select cb_audiooutput 0"},
            {"fmr_configure_audio_dst(0)"},
            {"Set audio destination to Headset", "at@audapp:fmr_configure_audio_dst(0)", "OK"}},
        Row{"AudioUnset",
            {"select cb_audiooutput 1", "select cb_audiooutput 2", "select cb_audiooutput 3"},
            {"fmr_configure_audio_dst(1)", "fmr_configure_audio_dst(2)",
             "fmr_configure_audio_dst(3)"},
            {"Set audio destination to Earpiece", "at@audapp:fmr_configure_audio_dst(1)", "OK",
             "Set audio destination to Loudspeaker", "at@audapp:fmr_configure_audio_dst(2)", "OK",
             "unset audio destination", "at@audapp:fmr_configure_audio_dst(3)", "OK"}},
        Row{"Antenna",
            {"select cb_antenna 1", "select cb_antenna 0"},
            {"fmrx_set_antenna(1)", "fmrx_set_antenna(0)"},
            {"Set FMR antenna to External", "at@audapp:fmrx_set_antenna(1)", "OK",
             "Set FMR antenna to Internal", "at@audapp:fmrx_set_antenna(0)", "OK"}},
        Row{"Sideband",
            {"select cb_sideband 1"},
            {"fmrx_set_sideband(1)"},
            {"Set FM RX sideband", "at@audapp:fmrx_set_sideband(1)", "OK"}},
        Row{"OutputMode",
            {"check cb_dspmode 1", "check cb_dspmode 0"},
            {"fmrx_set_output_mode(1)", "fmrx_set_output_mode(0)"},
            {"Set output mode to DSP", "at@audapp:fmrx_set_output_mode(1)", "OK",
             "Set output mode to DAC", "at@audapp:fmrx_set_output_mode(0)", "OK"}},
        Row{"ForceMono",
            {"check cb_forcemono 1"},
            {"fmrx_forcemono(1)"},
            {"Set FM RX force mono", "at@audapp:fmrx_forcemono(1)", "OK"}},
        Row{"Snc",
            {"type le_snc_low -20", "type le_snc_high 0x23", "check cb_snc 1"},
            {"fmrx_set_snc(-20,35,1)"},
            {"Set FM RX SNC", "at@audapp:fmrx_set_snc(-20,35,1)", "OK"}},
        Row{"SoftMuteNarrowsAndZeroes",
            {"type le_softmute_threshold 65535", "type le_softmute_stepsize abc",
             "check cb_softmute 1"},
            {"fmrx_set_sm(-1,0,1)"},
            {"Set FM RX soft mute", "at@audapp:fmrx_set_sm(-1,0,1)", "OK"}},
        Row{"GainControl",
            {"select cb_gaincontrol 5", "check cb_agc 1"},
            {"fmrx_set_gain_control(0,5)", "fmrx_set_gain_control(1,5)"},
            {"Set FM RX gain control", "at@audapp:fmrx_set_gain_control(0,5)", "OK",
             "Set FM RX gain control", "at@audapp:fmrx_set_gain_control(1,5)", "OK"}},
        Row{"BandFromPresetAndItems",
            {"select cb_band 2", "select cb_stepsize 1", "select rg_deemphasis 1",
             "click btn_setband"},
            {"fmrx_set_band(108000000,87500000,100000,1)"},
            {"Set FM RX band", "at@audapp:fmrx_set_band(108000000,87500000,100000,1)", "OK"}},
        Row{"BandTypedSpacingNoDeemphasis",
            {"select cb_band 0", "type le_minfreq 76000000", "type le_maxfreq 0x55D4A80",
             "type cb_stepsize 75000", "click btn_setband"},
            {"fmrx_set_band(90000000,76000000,75000,4294967295)"},
            {"Set FM RX band", "at@audapp:fmrx_set_band(90000000,76000000,75000,4294967295)",
             "OK"}},
        Row{"Tune",
            {"type le_frequency 98100000", "type le_rssi 65535", "click btn_set_station"},
            {"fmrx_set_station(0,98100000,-1,0)"},
            {"Set FM RX station", "at@audapp:fmrx_set_station(0,98100000,-1,0)", "OK"}},
        Row{"SeekUpWithoutWrap",
            {"type le_frequency 98100000", "click btn_seekup"},
            {"fmrx_set_station(3,98100000,0,0)"},
            {"FM RX tune up to the next valid station",
             "at@audapp:fmrx_set_station(3,98100000,0,0)", "OK"}},
        Row{"SeekDownWithWrap",
            {"check cb_wrap 1", "click btn_seekdown"},
            {"fmrx_set_station(2,0,0,0)"},
            {"FM RX tune down to the next valid station", "at@audapp:fmrx_set_station(2,0,0,0)",
             "OK"}},
        Row{"SeekUpWrapSeekDownNoWrap",
            {"check cb_wrap 1", "click btn_seekup", "check cb_wrap 0", "click btn_seekdown"},
            {"fmrx_set_station(1,0,0,0)", "fmrx_set_station(4,0,0,0)"},
            {"FM RX tune up to the next valid station", "at@audapp:fmrx_set_station(1,0,0,0)", "OK",
             "FM RX tune down to the next valid station", "at@audapp:fmrx_set_station(4,0,0,0)",
             "OK"}},
        Row{"RssiAlert",
            {"type le_rssi_low -3", "type le_rssi_high 40", "check cb_rssi 1"},
            {"fmrx_set_rssi(1,-3,40)"},
            {"Set FM RX RSSI", "at@audapp:fmrx_set_rssi(1,-3,40)", "OK"}},
        Row{"CoupledVolumeTruncatedToOneByte",
            {"check cb_volume 1", "type e_lvol 300", "click btn_volume"},
            {"fmrx_set_volume(0,44)"},
            {"set FM RX volume", "at@audapp:fmrx_set_volume(0,44)", "OK"}},
        Row{"PowerOnAndOff",
            {"select cb_audiooutput 0", "click btn_onoff", "click btn_onoff"},
            {"fmr_configure_audio_dst(0)", "fmrx_enable()", "fmr_disable()"},
            {"Set audio destination to Headset", "at@audapp:fmr_configure_audio_dst(0)", "OK",
             "Turn On FMR RX", "at@audapp:fmrx_enable()", "OK", "Turn Off FMR RX",
             "at@audapp:fmr_disable()", "OK"}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(DruskPanelTest, PowerButtonCaptionFlipsOnlyOnSuccess) {
  Do({"select cb_audiooutput 0", "click btn_onoff"});
  EXPECT_EQ(panel_->btn_onoff->caption(), "Off");

  Fail("fmr_disable");
  log_.Clear();
  Do({"click btn_onoff"});
  EXPECT_EQ(panel_->btn_onoff->caption(), "Off");
  EXPECT_EQ(
      log_.lines(),
      (std::vector<LogLine>{{"Turn Off FMR RX", 1}, {"at@audapp:fmr_disable()", 1}, {"Error", 0}}));
}

TEST_F(DruskPanelTest, PowerOnNeedsAnAudioPath) {
  Do({"click btn_onoff"});
  EXPECT_EQ(log_.lines(),
            (std::vector<LogLine>{{"Configure audio path before switching on FMR", 0}}));
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(panel_->btn_onoff->caption(), "On");
}

TEST_F(DruskPanelTest, AFailedCommandLeavesTheControlAsTheUserSetIt) {
  Fail("fmrx_set_snc");
  Do({"check cb_snc 1"});
  EXPECT_TRUE(panel_->cb_snc->checked());
  EXPECT_EQ(log_.lines().back(), (LogLine{"Error", 0}));
}

TEST_F(DruskPanelTest, AgcEnablesTheGainIndexBeforeSending) {
  Do({"check cb_agc 1"});
  EXPECT_TRUE(panel_->cb_gaincontrol->enabled());
  Do({"check cb_agc 0"});
  EXPECT_FALSE(panel_->cb_gaincontrol->enabled());
  EXPECT_EQ(Sent().back(), "at@audapp:fmrx_set_gain_control(0,0)");
}

TEST_F(DruskPanelTest, BandPresetsFillAndLockTheLimitsManualUnlocksThem) {
  Do({"select cb_band 1"});
  EXPECT_EQ(panel_->le_minfreq->text(), "76000000");
  EXPECT_EQ(panel_->le_maxfreq->text(), "90000000");
  EXPECT_FALSE(panel_->le_minfreq->enabled());
  EXPECT_FALSE(panel_->le_maxfreq->enabled());
  Do({"select cb_band 3"});
  EXPECT_EQ(panel_->le_minfreq->text(), "87500000");
  EXPECT_EQ(panel_->le_maxfreq->text(), "108000000");
  Do({"select cb_band 0"});
  EXPECT_TRUE(panel_->le_minfreq->enabled());
  EXPECT_TRUE(panel_->le_maxfreq->enabled());
  EXPECT_EQ(panel_->le_minfreq->text(), "87500000");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DruskPanelTest, SplitVolumeSendsLeftThenRightASecondApartEvenWhenLeftFails) {
  Reply("fmrx_set_volume(1", "", -2);
  Do({"type e_lvol 10", "type e_rvol 20"});
  const uint64_t before = services_.NowMs();
  Do({"click btn_volume"});
  EXPECT_EQ(services_.NowMs() - before, 1000u);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"at@audapp:fmrx_set_volume(1,10)",
                                              "at@audapp:fmrx_set_volume(2,20)"}));
  EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                            "set FM RX left volume", "at@audapp:fmrx_set_volume(1,10)", "Error",
                            "set FM RX right volume", "at@audapp:fmrx_set_volume(2,20)", "OK"}));
}

TEST_F(DruskPanelTest, CoupledVolumeEditsFollowEachOtherAndMuteZeroesThem) {
  Do({"type e_lvol 33", "check cb_volume 1"});
  EXPECT_EQ(panel_->e_rvol->text(), "33");
  Do({"type e_rvol 50"});
  EXPECT_EQ(panel_->e_lvol->text(), "50");
  Do({"check cb_volume 0", "type e_lvol 7"});
  EXPECT_EQ(panel_->e_rvol->text(), "50");

  Do({"check cb_mute 1"});
  EXPECT_EQ(panel_->e_lvol->text(), "0");
  EXPECT_EQ(panel_->e_rvol->text(), "0");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DruskPanelTest, VolumeArrowsStepFromTheTypedValue) {
  Do({"type e_lvol 111"});
  ASSERT_TRUE(panel_->ud_lvol->UserClick(true));
  ASSERT_TRUE(panel_->ud_lvol->UserClick(true));
  EXPECT_EQ(panel_->e_lvol->text(), "112");
}

TEST_F(DruskPanelTest, ChoosingAFoundStationTunesToIt) {
  panel_->cb_station->SetItems({"88100000", "101700000"});
  Do({"select cb_station 1"});
  EXPECT_EQ(panel_->le_frequency->text(), "101700000");
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_set_station(0,101700000,0,0)"});
  EXPECT_EQ(LogTexts().front(), "Set FM RX station");
}

TEST_F(DruskPanelTest, TheCommandSetOutlivesItsWindow) {
  MANAGED_IF::aud_app* command_set = &panel_->command_set();
  panel_.reset();
  EXPECT_EQ(double_.CallCount("TESSIC_SessionClose"), 0);
  // Still usable: its session is open.
  EXPECT_EQ(command_set->session().session_id(), 7);
}

}  // namespace
}  // namespace gen2_panel_test
