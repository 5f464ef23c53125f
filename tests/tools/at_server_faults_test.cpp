#include <gtest/gtest.h>

#include <string>

#include "fmr-sim/gen2/fault_plan.h"

namespace {

using fmrsim::FaultAction;
using fmrsim::FaultKind;
using fmrsim::FaultPlan;
using fmrsim::FaultRule;
using fmrsim::ParseFaultRule;

TEST(FaultRuleTest, ParsesKindValueCommandAndCount) {
  struct Case {
    const char* text;
    FaultKind kind;
    uint32_t value;
    const char* command;
    int count;
  };
  const Case cases[] = {
      {"delay=2000", FaultKind::kDelay, 2000, "", -1},
      {"drop,count=1", FaultKind::kDrop, 0, "", 1},
      {"error,on=fmrx_enable", FaultKind::kError, 0, "fmrx_enable", -1},
      {"malformed,on=at@audapp:fmrx_get_rds_data,count=2", FaultKind::kMalformed, 0,
       "fmrx_get_rds_data", 2},
      {"oversize", FaultKind::kOversize, 65536, "", -1},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto rule = ParseFaultRule(c.text, error);
    ASSERT_TRUE(rule.has_value()) << c.text << ": " << error;
    EXPECT_EQ(rule->kind, c.kind) << c.text;
    EXPECT_EQ(rule->value, c.value) << c.text;
    EXPECT_EQ(rule->command, c.command) << c.text;
    EXPECT_EQ(rule->count, c.count) << c.text;
  }
}

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
  a = plan.Take("fmrx_enable");
  EXPECT_EQ(a.outcome, FaultKind::kError);
  a = plan.Take("fmrx_enable");
  EXPECT_FALSE(a.outcome.has_value());
  EXPECT_EQ(a.delay_ms, 50u);
}

}  // namespace
