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
//   late            hold the answer back until the next command line has
//                   arrived, then send it before that command's echo (the
//                   answer a client timed out on arrives while its next
//                   command waits)
//   trickle[=MS]    send the answer one byte every MS ms (default 300)
//   duplicate       send the answer twice
//   partial         send the first half of the answer, then nothing more
//                   for this command
//   stray           an unsolicited line ("+STRAY: N") before the echo and
//                   another after the answer
//   garbage[=N]     N bytes without a line end (default 32) instead of the
//                   answer
//   value=FIELD:N   answer as usual, but with the reply's FIELD-th number
//                   (from 0, in the order the reply lines carry them)
//                   replaced by N: a measurement that is off
//   on=COMMAND      only this command (its name, with or without the
//                   "at@audapp:" part); default: every command
//   count=N         only the next N matching commands; default: all of them
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

namespace fmrsim {

enum class FaultKind {
  kDelay,
  kDrop,
  kError,
  kMalformed,
  kOversize,
  kLate,
  kTrickle,
  kDuplicate,
  kPartial,
  kStray,
  kGarbage,
  kValue,
};

inline constexpr uint32_t kDefaultOversizeBytes = 65536;
inline constexpr uint32_t kDefaultTrickleMs = 300;
inline constexpr uint32_t kDefaultGarbageBytes = 32;

struct FaultRule {
  FaultKind kind = FaultKind::kError;
  uint32_t value = 0;       // delay or trickle in ms, oversize or garbage bytes
  std::string command;      // command name; empty for every command
  int count = -1;           // matching commands still affected; -1 for all
  uint32_t field = 0;       // value: which number of the reply
  std::string replacement;  // value: the number put in its place
  std::string text;         // the rule as written, for reports
  bool fired = false;       // it has affected a command
};

// What to do with one command.
struct FaultAction {
  uint32_t delay_ms = 0;
  std::optional<FaultKind> outcome;  // any kind but delay
  uint32_t value = 0;                // the outcome rule's value
  uint32_t field = 0;                // value: as in FaultRule
  std::string replacement;
};

// Parses one rule as documented above; nullopt with `error` set otherwise.
std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error);

// The rule syntax for --help texts.
std::string FaultRuleHelp();

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
