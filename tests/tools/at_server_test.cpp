// The simulated handset's AT command interpreter and its fault rules.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace {

using namespace fmrsim;

class AtCommandsTest : public ::testing::Test {
 protected:
  void Expect(bool ok, const std::string& command) {
    EXPECT_EQ(at.Execute(command).ok, ok) << command;
  }

  RadioModel radio;
  AtCommands at{radio};
};

TEST_F(AtCommandsTest, WriteCommandsAnswerOkWithoutLinesAndCheckTheirArgumentCount) {
  Expect(true, "at@audapp:fmrx_enable()");
  std::istringstream commands(
      "fmr_configure_audio_dst(2) fmrx_set_band(108000000,87500000,100000,0) "
      "fmrx_set_station(0,95400000,-10,0) fmrx_set_sideband(1) fmrx_set_output_mode(1) "
      "fmrx_forcemono(1) fmrx_set_antenna(1) fmrx_set_snc(-5,30,1) fmrx_set_sm(-5,3,1) "
      "fmrx_set_volume(1,112) fmrx_set_rds(1,0,1000) fmrx_set_rssi(1,-20,70) "
      "fmrx_set_gain_control(0,7) fmr_disable()");
  for (std::string command; commands >> command;) {
    const AtReply reply = at.Execute("at@audapp:" + command);
    EXPECT_TRUE(reply.ok) << command;
    EXPECT_TRUE(reply.lines.empty()) << command;
    // One argument more, or one fewer, is refused.
    const size_t open = command.find('(');
    const size_t close = command.size() - 1;
    const bool no_args = close == open + 1;
    Expect(false, "at@audapp:" + command.substr(0, close) + (no_args ? "1)" : ",1)"));
    if (!no_args) {
      const size_t last_comma = command.rfind(',');
      Expect(false, "at@audapp:" +
                        command.substr(0, last_comma == std::string::npos ? open + 1 : last_comma) +
                        ")");
    }
  }
}

TEST_F(AtCommandsTest, UnknownOrMalformedCommandsAndOutOfRangeArgumentsAnswerError) {
  Expect(true, "at@audapp:fmrx_enable()");
  for (const char* command : {"at@audapp:fmrx_bogus()", "fmrx_enable()", "at@audapp:fmrx_enable(",
                              "at@audapp:fmrx_enable", "at@other:fmrx_enable()", "",
                              "at@audapp:fmrx_set_volume(1,300)",     // level is u8
                              "at@audapp:fmrx_set_volume(1,x)",       // not a number
                              "at@audapp:fmrx_set_volume(1,0x10)",    // decimal only
                              "at@audapp:fmrx_set_volume(3,10)",      // no such channel
                              "at@audapp:fmrx_set_snc(40000,1,1)",    // s16
                              "at@audapp:fmrx_set_station(6,0,0,0)",  // no such mode
                              "at@audapp:fmrx_set_station(0,50000000,0,0)",
                              "at@audapp:fmrx_set_band(87500000,108000000,100000,0)",  // swapped
                              "at@audapp:fmrx_set_band(108000000,87500000,1,0)",  // below 50 kHz
                              "at@audapp:fmrx_set_gain_control(1,16)"}) {
    Expect(false, command);
  }
}

TEST_F(AtCommandsTest, SeekModesMoveToTheNextStationOrReportFailure) {
  Expect(true, "at@audapp:fmrx_enable()");
  Expect(true, "at@audapp:fmrx_set_station(0,90000000,0,0)");
  struct Case {
    int mode;
    int min_rssi;
    uint32_t frequency;
    SeekStatus status;
  };
  const Case cases[] = {
      {3, 40, 91700000, SeekStatus::kSuccess},  // up, strong stations only
      {4, 0, 89300000, SeekStatus::kSuccess},   // down from 91.7
      {1, 100, 89300000, SeekStatus::kFailed},  // nothing that strong: stays
  };
  for (const Case& c : cases) {
    Expect(true, "at@audapp:fmrx_set_station(" + std::to_string(c.mode) + ",0," +
                     std::to_string(c.min_rssi) + ",0)");
    EXPECT_EQ(radio.frequency_hz(), c.frequency) << c.mode;
    EXPECT_EQ(at.seek_status(), c.status) << c.mode;
  }
  Expect(true, "at@audapp:fmr_disable()");
  Expect(false, "at@audapp:fmrx_set_station(1,0,0,0)");  // receiver off
}

// Rules that parse are run with the plug-in's command set
// (aud_app_at_server_test).
TEST(FaultRuleTest, RejectsUnknownKindsOptionsAndBadNumbers) {
  for (const char* text : {"", "slow", "delay", "delay=-5", "delay=1s", "drop=3",
                           "error,count=", "error,on=", "error,times=2", "error,count=x"}) {
    std::string error;
    EXPECT_FALSE(ParseFaultRule(text, error).has_value()) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(FaultPlanTest, RulesApplyToTheirCommandForTheirCount) {
  FaultPlan plan;
  plan.Add(FaultRule{FaultKind::kError, 0, "fmrx_enable", 2});
  plan.Add(FaultRule{FaultKind::kDelay, 100, "", 1});
  plan.Add(FaultRule{FaultKind::kDelay, 50, "fmrx_enable", -1});
  FaultAction a = plan.Take("fmr_disable");
  EXPECT_EQ(a.delay_ms, 100u);
  EXPECT_FALSE(a.outcome.has_value());
  a = plan.Take("at@audapp:fmrx_enable");
  EXPECT_EQ(a.delay_ms, 50u);
  EXPECT_EQ(a.outcome, FaultKind::kError);
  EXPECT_EQ(plan.Take("fmrx_enable").outcome, FaultKind::kError);
  a = plan.Take("fmrx_enable");
  EXPECT_FALSE(a.outcome.has_value());
  EXPECT_EQ(a.delay_ms, 50u);
}

}  // namespace
