#include <gtest/gtest.h>

#include <string>

#include "at_reply_reader.h"
#include "fault_plan.h"

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
      {"oversize=70000,count=3", FaultKind::kOversize, 70000, "", 3},
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

TEST(FaultPlanTest, AnOutvotedRuleWaitsForTheNextCommand) {
  FaultPlan plan;
  plan.Add(FaultRule{FaultKind::kError, 0, "", 1});
  plan.Add(FaultRule{FaultKind::kDrop, 0, "", 1});
  EXPECT_EQ(plan.Take("a").outcome, FaultKind::kError);
  EXPECT_EQ(plan.Take("b").outcome, FaultKind::kDrop);
  EXPECT_FALSE(plan.Take("c").outcome.has_value());
}

fmrsim::AtReply StaticConfigReply() {
  fmrsim::RadioModel radio;
  fmrsim::AtCommands at(radio);
  return at.Execute("at@audapp:fmrx_get_static_config()");
}

TEST(FaultedReplyTest, ErrorMalformedAndOversizeReplies) {
  EXPECT_EQ(fmrsim::FaultedReply(FaultKind::kError, StaticConfigReply(), 0), "ERROR\r\n");
  // Malformed keeps OK but no longer reads as numbers.
  const fmrsim::AtReply normal = StaticConfigReply();
  const std::string text = fmrsim::FaultedReply(FaultKind::kMalformed, normal, 0);
  ASSERT_TRUE(text.ends_with("\r\nOK\r\n"));
  EXPECT_NE(text, fmrsim::FramedReply(normal));
  fmrsim::AtReply garbled;
  garbled.lines = {text.substr(0, text.size() - 6)};
  EXPECT_FALSE(at_test::ReplyValues(garbled).has_value());
  // A command without reply lines gets a garbled line of its own.
  EXPECT_EQ(fmrsim::FaultedReply(FaultKind::kMalformed, fmrsim::AtReply{}, 0), "?\r\nOK\r\n");
  // Oversize: exactly the requested bytes of lines before OK.
  for (uint32_t bytes : {65536u, 65538u, 100u, 2u}) {
    const std::string big = fmrsim::FaultedReply(FaultKind::kOversize, StaticConfigReply(), bytes);
    ASSERT_EQ(big.size(), bytes + 4) << bytes;
    EXPECT_TRUE(big.ends_with("\r\nOK\r\n") || big == "\r\nOK\r\n") << bytes;
    // Only values, commas and line ends: a reader sees far too many values.
    EXPECT_EQ(big.find_first_not_of("0,\r\n", 0), big.size() - 4) << bytes;
  }
}

}  // namespace
