// The simulated handset's AT command interpreter and its fault rules: what it
// refuses (commands the panel sends are run in the gen2 tour).
#include <gtest/gtest.h>

#include <string>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace {

using namespace fmrsim;

TEST(AtCommandsTest, MalformedCommandsAndOutOfRangeArgumentsAnswerError) {
  RadioModel radio;
  AtCommands at{radio};
  EXPECT_TRUE(at.Execute("at@audapp:fmrx_enable()").ok);
  for (const char* command : {"at@audapp:fmrx_bogus()", "fmrx_enable()", "at@audapp:fmrx_enable(",
                              "at@audapp:fmrx_enable(1)", "at@audapp:fmrx_set_volume(1)",
                              "at@audapp:fmrx_set_volume(1,300)",   // level is u8
                              "at@audapp:fmrx_set_volume(1,0x10)",  // decimal only
                              "at@audapp:fmrx_set_snc(40000,1,1)",  // s16
                              "at@audapp:fmrx_set_band(87500000,108000000,100000,0)",  // swapped
                              "at@audapp:fmrx_set_band(108000000,87500000,1,0)"}) {    // < 50 kHz
    EXPECT_FALSE(at.Execute(command).ok) << command;
  }
}

TEST(FaultPlanTest, RulesParseAndApplyToTheirCommandForTheirCount) {
  std::string error;
  for (const char* text : {"", "slow", "delay=-5", "delay=1s", "error,count=", "error,times=2"}) {
    EXPECT_FALSE(ParseFaultRule(text, error).has_value()) << text;
  }
  FaultPlan plan;
  plan.Add(FaultRule{FaultKind::kError, 0, "fmrx_enable", 2});
  plan.Add(FaultRule{FaultKind::kDelay, 50, "", -1});
  EXPECT_FALSE(plan.Take("fmr_disable").outcome.has_value());
  EXPECT_EQ(plan.Take("at@audapp:fmrx_enable").outcome, FaultKind::kError);
  EXPECT_EQ(plan.Take("fmrx_enable").outcome, FaultKind::kError);
  const FaultAction spent = plan.Take("fmrx_enable");
  EXPECT_FALSE(spent.outcome.has_value());
  EXPECT_EQ(spent.delay_ms, 50u);
}

}  // namespace
