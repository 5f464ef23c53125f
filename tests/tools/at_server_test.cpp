// The simulated handset's AT command interpreter: every command of the set
// with its exact reply, its argument count and the ranges of its argument
// types (data/at_session.txt); and its fault rules.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace {

using namespace fmrsim;

// The reply lines joined by "|", then the final line.
std::string Text(const AtReply& reply) {
  std::string text;
  for (const std::string& line : reply.lines) text += line + "|";
  return text + (reply.ok ? "OK" : "ERROR");
}

struct Exchange {
  std::string line, reply;
};

// The session of data/at_session.txt: "line<tab>reply" a line, "#" comments.
std::vector<Exchange> Session() {
  std::vector<Exchange> session;
  std::ifstream file(SOURCE_DIR "/tests/tools/data/at_session.txt");
  for (std::string text; std::getline(file, text);) {
    const size_t tab = text.find('\t');
    if (text.starts_with('#') || tab == std::string::npos) continue;
    const std::string line = text.substr(0, tab);
    session.push_back(
        {line.find('@') == std::string::npos ? "at@audapp:" + line : line, text.substr(tab + 1)});
  }
  return session;
}

TEST(AtCommandsTest, EveryCommandGetsItsReplyAndOnlyWithItsArgumentCount) {
  RadioModel radio;
  AtCommands at{radio};
  at.set_auto_search_polls(1);
  const std::vector<Exchange> session = Session();
  ASSERT_GT(session.size(), 90u) << "the session file was read";
  for (const Exchange& e : session) {
    const std::string& line = e.line;
    const size_t open = line.find('(');
    if (e.reply.ends_with("OK") && open != std::string::npos) {
      const bool none = line.ends_with("()");
      const size_t last = none ? open : std::max(open, line.rfind(','));
      const std::string more = line.substr(0, line.size() - 1) + (none ? "0)" : ",0)");
      EXPECT_EQ(Text(at.Execute(more)), "ERROR") << more;
      const std::string fewer = none ? more : line.substr(0, last) + ")";
      EXPECT_EQ(Text(at.Execute(fewer)), "ERROR") << fewer;
    }
    EXPECT_EQ(Text(at.Execute(line)), e.reply) << line;
  }
  for (const char* line : {"at@audapp:fmrx_enable", "at@audapp:fmrx_enable(", "fmrx_enable()",
                           "at@audapp:fmrx_bogus()", "at@ver:fmrx_enable()"})
    EXPECT_EQ(Text(at.Execute(line)), "ERROR") << line;  // no command of the set
  EXPECT_EQ(FramedReply(AtReply{{"a", "b"}, true}), "a\r\nb\r\nOK\r\n");
  EXPECT_EQ(FramedReply(AtReply{{}, false}), "ERROR\r\n");
}

FaultRule Rule(const std::string& text) {
  std::string error;
  std::optional<FaultRule> rule = ParseFaultRule(text, error);
  EXPECT_TRUE(rule.has_value()) << error;
  return rule.value_or(FaultRule{});
}

TEST(FaultPlanTest, RulesApplyToTheirCommandForTheirCount) {
  FaultPlan plan;
  plan.Add(Rule("error,on=fmrx_enable,count=2"));
  plan.Add(Rule("delay=50"));
  plan.Add(Rule("drop,on=fmrx_set_band"));
  EXPECT_FALSE(plan.Take("fmr_disable").outcome.has_value());
  EXPECT_EQ(plan.Take("at@audapp:fmrx_enable").outcome, FaultKind::kError);
  EXPECT_EQ(plan.Take("fmrx_enable").outcome, FaultKind::kError);
  const FaultAction spent = plan.Take("fmrx_enable");
  EXPECT_FALSE(spent.outcome.has_value());
  EXPECT_EQ(spent.delay_ms, 50u);
  // Only the rule that never met a command is left to report.
  EXPECT_EQ(plan.Unfired(), std::vector<std::string>{"drop,on=fmrx_set_band"});
}

// Two rules that decide an answer match one command: the first decides it
// and only it is counted; the second keeps its count for a later command,
// and is named as never fired while it has decided none.
TEST(FaultPlanTest, OnlyTheFirstMatchingRuleDecidesAndIsCounted) {
  FaultPlan plan;
  plan.Add(Rule("error,on=fmrx_enable,count=1"));
  plan.Add(Rule("drop,count=1"));
  plan.Add(Rule("malformed,on=fmrx_enable"));
  // The answer each command gets, and the rules not fired after it.
  const std::pair<std::optional<FaultKind>, std::vector<std::string>> steps[] = {
      {FaultKind::kError, {"drop,count=1", "malformed,on=fmrx_enable"}},
      {FaultKind::kDrop, {"malformed,on=fmrx_enable"}},
      {FaultKind::kMalformed, {}},
      {FaultKind::kMalformed, {}},
  };
  for (const auto& [outcome, unfired] : steps) {
    EXPECT_EQ(plan.Take("fmrx_enable").outcome, outcome);
    EXPECT_EQ(plan.Unfired(), unfired);
  }
}

// The delays of every matching rule add up, wherever they stand beside a
// rule that decides the answer, and each one counts as fired.
TEST(FaultPlanTest, DelaysOfAllMatchingRulesAddUpAndEachFires) {
  FaultPlan plan;
  plan.Add(Rule("error,count=1"));
  plan.Add(Rule("delay=30,on=fmrx_enable,count=1"));
  plan.Add(Rule("delay=200,on=fmr_disable"));
  plan.Add(Rule("delay=20"));
  const FaultAction first = plan.Take("fmrx_enable");
  EXPECT_EQ(first.delay_ms, 50u);
  EXPECT_EQ(first.outcome, FaultKind::kError);
  EXPECT_EQ(plan.Unfired(), std::vector<std::string>{"delay=200,on=fmr_disable"});
  const FaultAction second = plan.Take("fmrx_enable");
  EXPECT_EQ(second.delay_ms, 20u);
  EXPECT_FALSE(second.outcome.has_value());
  EXPECT_EQ(plan.Take("fmr_disable").delay_ms, 220u);
  EXPECT_TRUE(plan.Unfired().empty());
}

// A value fault changes one number of the reply, counted across its lines
// whatever their form, its sign included; the rest stays as it was.
TEST(FaultPlanTest, ValueFaultReplacesTheFieldthNumber) {
  const AtReply reply{{"{95400000, -3}", "7 8"}, true};
  const std::pair<uint32_t, const char*> changes[] = {{1, "{95400000, 12}\r\n7 8\r\nOK\r\n"},
                                                      {2, "{95400000, -3}\r\n12 8\r\nOK\r\n"},
                                                      {4, "{95400000, -3}\r\n7 8\r\nOK\r\n"}};
  EXPECT_EQ(FramedReply(ChangedValue(AtReply{{"35"}, true}, 0, "12")), "12\r\nOK\r\n");
  for (const auto& [field, framed] : changes) {
    EXPECT_EQ(FramedReply(ChangedValue(reply, field, "12")), framed) << field;
  }
}

}  // namespace
