// The simulated handsets' fault rules as a command line gives them
// (--fault), and the value fault applied to a reply.
//
// Input: a second-generation rule, a first-generation rule and reply lines,
// separated by zero bytes (the reply lines by line feeds).
//
// Checks: a rule read keeps its text for the end-of-run report; a value
// fault leaves the reply's line count and final line alone and changes at
// most one line; a first-generation value fault's field lies within its
// message's reply.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fuzz_input.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string gen2_rule(in.Until('\0'));
  const std::string gen1_rule(in.Until('\0'));
  fmrsim::AtReply reply;
  for (size_t i = 0; i < 16 && !in.empty(); ++i) reply.lines.emplace_back(in.Until('\n'));

  std::string error;
  if (const auto rule = fmrsim::ParseFaultRule(gen2_rule, error)) {
    Require(rule->text == gen2_rule, "the rule keeps its text");
    fmrsim::FaultPlan plan;
    plan.Add(*rule);
    Require(plan.Unfired().size() == 1, "a new rule has not fired");
    const fmrsim::AtReply changed = fmrsim::ChangedValue(reply, rule->field, rule->replacement);
    Require(changed.lines.size() == reply.lines.size() && changed.ok == reply.ok, "same shape");
    size_t differing = 0;
    for (size_t i = 0; i < reply.lines.size(); ++i) differing += changed.lines[i] != reply.lines[i];
    Require(differing <= 1, "one line changed at most");
  }
  fmrsim::Gen1FaultTarget target;
  fmrsim::Gen1Fault fault;
  if (fmrsim::ParseGen1Fault(gen1_rule, target, fault, error) &&
      fault.kind == fmrsim::Gen1FaultKind::kValue) {
    const fmrsim::gen1::MessageShape* shape = fmrsim::gen1::FindTestFunction(*target.message_id);
    Require(shape != nullptr && fault.field.offset + fault.field.width <= shape->reply_bytes,
            "the field lies within the reply");
  }
  return 0;
}
