// Faults the AT server injects into its answers: the rules in effect (a
// FaultPlan), what one command gets from them, and the bytes a faulted
// answer is made of. Rules come from code or from text (fault_rule.h).
//
// Several rules may match one command: their delays add up; of the other
// kinds the first matching rule decides the answer, and only that rule is
// counted (a later one waits for a later command). The echo of a command
// (when the client switched it on with "ATE1") goes out at once whatever
// the fault; no fault applies to the echo switch itself.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_rule.h"

namespace fmrsim {

// What to do with one command.
struct FaultAction {
  uint32_t delay_ms = 0;
  std::optional<FaultKind> outcome;  // any kind but delay
  uint32_t value = 0;                // the outcome rule's value
  uint32_t field = 0;                // value: as in FaultRule
  std::string replacement;
};

// The bytes to send instead of the framed `normal` answer for an outcome
// fault (`value` as in FaultAction); the framed answer itself for the kinds
// that change only how or when it goes out (late, trickle).
std::string FaultedReply(FaultKind kind, const AtReply& normal, uint32_t value);

// The reply with its `field`-th number (a run of digits, with its minus
// sign) replaced by `replacement`; unchanged when it has fewer numbers.
AtReply ChangedValue(const AtReply& reply, uint32_t field, const std::string& replacement);

// The active rules. Safe to change from any thread while a server runs.
class FaultPlan {
 public:
  void Add(FaultRule rule);
  void Clear();
  // The faults for one command (by name, see AtCommandName); uses up one of
  // the count of every rule that matches.
  FaultAction Take(std::string_view command_name);
  // The rules (as written) that have not affected any command yet.
  std::vector<std::string> Unfired();

 private:
  std::mutex mutex_;
  std::vector<FaultRule> rules_;
};

}  // namespace fmrsim
