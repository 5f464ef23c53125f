// Faults the AT server can inject into its answers, set from code or from a
// command line. A rule names a kind, optionally the command it applies to and
// how many matching commands it affects:
//
//   KIND[=VALUE][,on=COMMAND][,count=N]
//
//   delay=MS        answer MS milliseconds late
//   drop            close the connection instead of answering (the command
//                   is not carried out)
//   error           answer "ERROR" without reply lines (not carried out)
//   malformed       answer "OK" but with the reply's first digit turned into
//                   '?' (a reader expecting numbers fails on it)
//   oversize[=N]    answer "OK" after N bytes of reply lines (default 65536,
//                   line ends included)
//   on=COMMAND      only this command (its name, with or without the
//                   "at@audapp:" part); default: every command
//   count=N         only the next N matching commands; default: all of them
//
// Several rules may match one command: their delays add up; of the other
// kinds the first matching rule decides the answer, and only that rule is
// counted (a later one waits for a later command).
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"

namespace fmrsim {

enum class FaultKind { kDelay, kDrop, kError, kMalformed, kOversize };

inline constexpr uint32_t kDefaultOversizeBytes = 65536;

struct FaultRule {
  FaultKind kind = FaultKind::kError;
  uint32_t value = 0;   // delay in ms, or the oversize reply's byte count
  std::string command;  // command name; empty for every command
  int count = -1;       // matching commands still affected; -1 for all
};

// What to do with one command.
struct FaultAction {
  uint32_t delay_ms = 0;
  std::optional<FaultKind> outcome;  // drop, error, malformed or oversize
  uint32_t oversize_bytes = kDefaultOversizeBytes;
};

// Parses one rule as documented above; nullopt with `error` set otherwise.
std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error);

// The rule syntax for --help texts.
std::string FaultRuleHelp();

// The answer to send instead of `normal` for an error, malformed or
// oversize fault (the framed text, final line included).
std::string FaultedReply(FaultKind kind, const AtReply& normal, uint32_t oversize_bytes);

// The active rules. Safe to change from any thread while a server runs.
class FaultPlan {
 public:
  void Add(FaultRule rule);
  void Clear();
  // The faults for one command (by name, see AtCommandName); uses up one of
  // the count of every rule that matches.
  FaultAction Take(std::string_view command_name);

 private:
  std::mutex mutex_;
  std::vector<FaultRule> rules_;
};

}  // namespace fmrsim
