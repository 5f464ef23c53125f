// A second-generation fault rule, and its text as a command line gives it
// (--fault), parsed and checked before anything starts. A rule names a
// kind, optionally the command it applies to and how many matching
// commands it affects:
//
//   KIND[=VALUE][,on=COMMAND][,count=N]
//
//   delay=MS        answer MS milliseconds late (at most 600000)
//   drop            close the connection instead of answering (the command
//                   is not carried out)
//   error           answer "ERROR" without reply lines (not carried out)
//   malformed       answer "OK" but with the reply's first digit turned into
//                   '?' (a reader expecting numbers fails on it)
//   oversize[=N]    answer "OK" after N bytes of reply lines (default 65536,
//                   line ends included; at most 64 MiB)
//   late            hold the answer back until the next command line has
//                   arrived, then send it before that command's echo (the
//                   answer a client timed out on arrives while its next
//                   command waits)
//   trickle[=MS]    send the answer one byte every MS ms (default 300, at
//                   most 600000)
//   duplicate       send the answer twice
//   partial         send the first half of the answer, then nothing more
//                   for this command
//   stray           an unsolicited line ("+STRAY: N") before the echo and
//                   another after the answer
//   garbage[=N]     N bytes without a line end (default 32, at most 1 MiB)
//                   instead of the answer
//   value=FIELD:N   answer as usual, but with the reply's FIELD-th number
//                   (from 0, in the order the reply lines carry them)
//                   replaced by N: a measurement that is off. Needs
//                   on=COMMAND, a FIELD its reply has (command_fields.h)
//                   and an N its type holds.
//   on=COMMAND      only this command (its name, with or without the
//                   "at@audapp:" part, exactly as the command table has
//                   it); default: every command
//   count=N         only the next N matching commands (N from 1); default:
//                   all of them
//
// A rule is refused whole, with the reason, when any part of it could
// never take effect as written: an unknown command, a field beyond the
// reply, a count of 0, a number beyond its cap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

struct FaultRule {
  FaultKind kind = FaultKind::kError;
  uint32_t value = 0;       // delay or trickle in ms, oversize or garbage bytes
  std::string command;      // command name as the table has it; empty for every command
  int count = -1;           // matching commands still affected; -1 for all
  uint32_t field = 0;       // value: which number of the reply
  std::string replacement;  // value: the number put in its place
  std::string text;         // the rule as written, for reports
  bool fired = false;       // it has affected a command
};

inline constexpr uint32_t kDefaultOversizeBytes = 65536;
inline constexpr uint32_t kDefaultTrickleMs = 300;
inline constexpr uint32_t kDefaultGarbageBytes = 32;
// The most a rule may ask for: ten minutes of waiting, 64 MiB of reply
// lines, 1 MiB of garbage.
inline constexpr uint32_t kMaxFaultMs = 600000;
inline constexpr uint32_t kMaxOversizeBytes = 64 * 1024 * 1024;
inline constexpr uint32_t kMaxGarbageBytes = 1024 * 1024;

// Parses and checks one rule as documented above; nullopt with `error` set
// to the reason otherwise ("fault rule \"TEXT\": ...").
[[nodiscard]] std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error);

// The rule syntax for --help texts, with the commands and the numbers of
// their replies.
std::string FaultRuleHelp();

}  // namespace fmrsim
