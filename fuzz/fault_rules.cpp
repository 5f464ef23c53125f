// The simulated handsets' fault rules as a command line gives them
// (--fault), and the value fault applied to a reply.
//
// Input: a second-generation rule, a first-generation rule and reply lines,
// separated by zero bytes (the reply lines by line feeds).
//
// Checks: a refusal names the rule; a rule read keeps its text for the
// end-of-run report and holds only what the checks let through: a count of
// 1 or more, numbers within their caps, a command of the table, and for a
// value fault a command, a number its reply has and a replacement its type
// holds, which the command's real reply (fixed-size replies) then carries.
// A value fault leaves the reply's line count and final line alone and
// changes at most one line. A first-generation rule names a message the
// radio knows, and a value fault's field lies within its message's reply
// and holds the value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen2/command_fields.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fuzz_input.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

bool NamesRule(const std::string& error, const std::string& rule) {
  return error.starts_with("fault rule \"" + rule + "\": ");
}

// A rule's number within the cap of its kind.
bool WithinCap(const fmrsim::FaultRule& rule) {
  switch (rule.kind) {
    case fmrsim::FaultKind::kDelay:
    case fmrsim::FaultKind::kTrickle:
      return rule.value <= fmrsim::kMaxFaultMs;
    case fmrsim::FaultKind::kOversize:
      return rule.value <= fmrsim::kMaxOversizeBytes;
    case fmrsim::FaultKind::kGarbage:
      return rule.value <= fmrsim::kMaxGarbageBytes;
    default:
      return rule.value == 0;
  }
}

// A value rule on a command whose reply has a fixed size changes the reply
// the simulator really gives (radio on, zeros for arguments), when the
// command answers those with "OK".
void CheckOnRealReply(const fmrsim::FaultRule& rule, const fmrsim::CommandSignature& command) {
  for (const fmrsim::CommandReplyField& field : command.reply) {
    if (field.sized) return;
  }
  fmrsim::RadioModel radio;
  fmrsim::AtCommands at{radio};
  (void)at.Execute("at@audapp:fmrx_enable()");
  std::string line = "at@" + std::string(command.module) + ":" + std::string(command.name) + "(";
  for (size_t i = 0; i < command.types.size(); ++i) line += i == 0 ? "0" : ",0";
  const fmrsim::AtReply reply = at.Execute(line + ")");
  if (!reply.ok) return;
  const fmrsim::AtReply marked = fmrsim::ChangedValue(reply, rule.field, "X");
  Require(fmrsim::FramedReply(marked) != fmrsim::FramedReply(reply),
          "the value fault reaches a number of the real reply");
}

void CheckGen2(const std::string& text, const fmrsim::AtReply& reply) {
  std::string error;
  const auto rule = fmrsim::ParseFaultRule(text, error);
  if (!rule) {
    Require(NamesRule(error, text), "a refusal names the rule");
    return;
  }
  Require(rule->text == text, "the rule keeps its text");
  Require(rule->count == -1 || rule->count > 0, "a rule can fire");
  Require(WithinCap(*rule), "the number is within its cap");
  const fmrsim::CommandSignature* command =
      rule->command.empty() ? nullptr : fmrsim::FindCommand(rule->command);
  Require(rule->command.empty() || command != nullptr, "the command is in the table");
  if (rule->kind == fmrsim::FaultKind::kValue) {
    Require(command != nullptr, "a value fault names its command");
    const auto number = fmrsim::ReplyNumber(*command, rule->field);
    Require(number.has_value(), "the field is a number of the reply");
    Require(!rule->replacement.empty() &&
                rule->replacement.find_first_not_of("-0123456789") == std::string::npos,
            "the replacement is a decimal number");
    CheckOnRealReply(*rule, *command);
  }
  fmrsim::FaultPlan plan;
  plan.Add(*rule);
  Require(plan.Unfired().size() == 1, "a new rule has not fired");
  const fmrsim::AtReply changed = fmrsim::ChangedValue(reply, rule->field, rule->replacement);
  Require(changed.lines.size() == reply.lines.size() && changed.ok == reply.ok, "same shape");
  size_t differing = 0;
  for (size_t i = 0; i < reply.lines.size(); ++i) differing += changed.lines[i] != reply.lines[i];
  Require(differing <= 1, "one line changed at most");
}

void CheckGen1(const std::string& text) {
  fmrsim::Gen1FaultTarget target;
  fmrsim::Gen1Fault fault;
  std::string error;
  if (!fmrsim::ParseGen1Fault(text, target, fault, error)) {
    Require(NamesRule(error, text), "a refusal names the rule");
    return;
  }
  Require(fault.rule == text, "the rule keeps its text");
  Require(!target.message_id || fmrsim::gen1::FindTestFunction(*target.message_id) != nullptr,
          "the message is one the radio knows");
  if (fault.kind != fmrsim::Gen1FaultKind::kValue) return;
  const fmrsim::gen1::MessageShape* shape = fmrsim::gen1::FindTestFunction(*target.message_id);
  Require(shape != nullptr && fault.field.offset + fault.field.width <= shape->reply_bytes,
          "the field lies within the reply");
  const int bits = 8 * fault.field.width;
  Require(
      fault.field_value >= -(int64_t{1} << (bits - 1)) && fault.field_value < (int64_t{1} << bits),
      "the value fits the field");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string gen2_rule(in.Until('\0'));
  const std::string gen1_rule(in.Until('\0'));
  fmrsim::AtReply reply;
  for (size_t i = 0; i < 16 && !in.empty(); ++i) reply.lines.emplace_back(in.Until('\n'));
  CheckGen2(gen2_rule, reply);
  CheckGen1(gen1_rule);
  return 0;
}
