#include "fmr-sim/gen2/fault_rule.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "fmr-sim/gen2/command_fields.h"
#include "text/strict_number.h"

namespace fmrsim {
namespace {

constexpr std::string_view kKinds =
    "delay=MS, drop, error, malformed, oversize[=BYTES], late, trickle[=MS], duplicate, partial, "
    "stray, garbage[=BYTES], value=FIELD:N";
constexpr std::string_view kWhereListed = "fmr-sim --help lists them";

// Kinds that carry a number: the default without one (none for delay, which
// needs it), the cap and the unit named in a refusal.
struct NumberKind {
  std::string_view key;
  FaultKind kind;
  std::optional<uint32_t> fallback;
  uint32_t most;
  std::string_view unit;
};

constexpr NumberKind kNumberKinds[] = {
    {"delay", FaultKind::kDelay, std::nullopt, kMaxFaultMs, " ms"},
    {"trickle", FaultKind::kTrickle, kDefaultTrickleMs, kMaxFaultMs, " ms"},
    {"oversize", FaultKind::kOversize, kDefaultOversizeBytes, kMaxOversizeBytes, " bytes (64 MiB)"},
    {"garbage", FaultKind::kGarbage, kDefaultGarbageBytes, kMaxGarbageBytes, " bytes (1 MiB)"},
};

constexpr std::pair<std::string_view, FaultKind> kPlainKinds[] = {
    {"drop", FaultKind::kDrop},           {"error", FaultKind::kError},
    {"malformed", FaultKind::kMalformed}, {"late", FaultKind::kLate},
    {"duplicate", FaultKind::kDuplicate}, {"partial", FaultKind::kPartial},
    {"stray", FaultKind::kStray},
};

// One comma-separated part: "key" or "key=value".
struct Part {
  std::string_view text;
  std::string_view key;
  std::optional<std::string_view> value;
};

std::vector<Part> Parts(std::string_view text) {
  std::vector<Part> parts;
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    const size_t eq = part.find('=');
    parts.push_back(
        {part, part.substr(0, eq),
         eq == std::string_view::npos ? std::nullopt : std::optional(part.substr(eq + 1))});
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

struct TypeRange {
  int64_t low;
  int64_t high;
  std::string_view name;
};

TypeRange RangeOf(AtType type) {
  switch (type) {
    case AtType::kU8:
      return {0, std::numeric_limits<uint8_t>::max(), "u8"};
    case AtType::kU16:
      return {0, std::numeric_limits<uint16_t>::max(), "u16"};
    case AtType::kS16:
      return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), "s16"};
    case AtType::kS32:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), "s32"};
    case AtType::kU32:
      break;
  }
  return {0, std::numeric_limits<uint32_t>::max(), "u32"};
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The command an on= value names, with or without "at@MODULE:"; null with
// `why` set when no command has that name as written.
const CommandSignature* NamedCommand(std::string_view given, std::string& why) {
  std::optional<std::string_view> module;
  std::string_view name = given;
  if (const size_t colon = given.find(':');
      SameIgnoringCase(given.substr(0, 3), "at@") && colon != std::string_view::npos) {
    module = given.substr(3, colon - 3);
    name = given.substr(colon + 1);
  }
  if (const CommandSignature* exact = FindCommand(name);
      exact != nullptr && (!module || *module == exact->module)) {
    return exact;
  }
  if (const CommandSignature* near = FindCommandIgnoringCase(name);
      near != nullptr && (!module || SameIgnoringCase(*module, near->module))) {
    why = "no command " + Quoted(given) + ": did you mean " + std::string(near->name) + "?";
  } else {
    why = "no command " + Quoted(given) + " (commands: " + CommandNamesText() + ")";
  }
  return nullptr;
}

// "13 numbers (0 to 12)", "1 number (0)".
std::string NumbersText(uint32_t count) {
  if (count == 1) return "1 number (0)";
  return std::to_string(count) + " numbers (0 to " + std::to_string(count - 1) + ")";
}

// Checks a value fault's FIELD against its command's reply and N against
// that number's type; the replacement is N in decimal.
bool CheckValue(FaultRule& rule, std::string_view n_text, std::string& why) {
  if (rule.command.empty()) {
    why = "value=FIELD:N needs on=COMMAND: each command's reply has numbers of its own (" +
          std::string(kWhereListed) + ")";
    return false;
  }
  const CommandSignature& command = *FindCommand(rule.command);
  const uint32_t numbers = ReplyNumberCount(command);
  const std::optional<NumberedField> at = ReplyNumber(command, rule.field);
  if (numbers == 0) {
    why = rule.command +
          "'s reply carries no numbers (fmr-sim --help lists the commands whose "
          "replies do)";
    return false;
  }
  if (!at) {
    bool sized = false;
    for (const CommandReplyField& field : command.reply) sized = sized || field.sized;
    why = rule.command + "'s reply has " + (sized ? "at most " : "") + NumbersText(numbers) +
          ", not " + std::to_string(rule.field) + " (" + std::string(kWhereListed) + ")";
    return false;
  }
  const TypeRange range = RangeOf(at->field->type);
  const std::optional<int64_t> n = tooltext::ParseInteger(n_text, range.low, range.high);
  if (!n) {
    std::string name(at->field->name);
    if (at->field->count > 1) name += "[" + std::to_string(at->element) + "]";
    why = "number " + std::to_string(rule.field) + " of " + rule.command + "'s reply (" + name +
          ", " + std::string(range.name) + ") takes " + std::to_string(range.low) + " to " +
          std::to_string(range.high) + ", not " + Quoted(n_text);
    return false;
  }
  rule.replacement = std::to_string(*n);
  return true;
}

}  // namespace

std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error) {
  std::string why;
  const auto refuse = [&](const std::string& reason) {
    error = "fault rule " + Quoted(text) + ": " + reason;
    return std::nullopt;
  };
  const std::vector<Part> parts = Parts(text);
  FaultRule rule;
  rule.text = std::string(text);

  // The kind.
  const Part& kind = parts.front();
  std::string_view value_n;
  const NumberKind* numbered = nullptr;
  for (const NumberKind& k : kNumberKinds) {
    if (kind.key == k.key) numbered = &k;
  }
  const auto plain =
      std::ranges::find_if(kPlainKinds, [&](const auto& k) { return k.first == kind.key; });
  if (kind.key == "value" && kind.value) {
    const size_t colon = kind.value->find(':');
    const std::string_view field_text = kind.value->substr(0, colon);
    value_n = colon == std::string_view::npos ? std::string_view{} : kind.value->substr(colon + 1);
    const std::optional<uint64_t> field = tooltext::ParseUnsigned(field_text, UINT32_MAX);
    if (colon == std::string_view::npos || !field ||
        !tooltext::ParseInteger(value_n, INT64_MIN, INT64_MAX)) {
      return refuse("value needs FIELD:N, two whole numbers (N may be negative), not " +
                    Quoted(*kind.value));
    }
    rule.kind = FaultKind::kValue;
    rule.field = static_cast<uint32_t>(*field);
  } else if (numbered != nullptr && (kind.value || numbered->fallback)) {
    const std::optional<uint64_t> number =
        kind.value ? tooltext::ParseUnsigned(*kind.value, numbered->most)
                   : std::optional<uint64_t>(numbered->fallback);
    if (!number) {
      return refuse(std::string(numbered->key) + " takes 0 to " + std::to_string(numbered->most) +
                    std::string(numbered->unit) + ", not " + Quoted(*kind.value));
    }
    rule.kind = numbered->kind;
    rule.value = static_cast<uint32_t>(*number);
  } else if (plain != std::end(kPlainKinds) && !kind.value) {
    rule.kind = plain->second;
  } else {
    return refuse("unknown kind " + Quoted(kind.text) + " (" + std::string(kKinds) + ")");
  }

  // The options.
  bool has_on = false;
  bool has_count = false;
  for (size_t i = 1; i < parts.size(); ++i) {
    const Part& part = parts[i];
    if (part.key == "on" && part.value) {
      if (has_on) return refuse("on= given twice");
      has_on = true;
      const CommandSignature* command = NamedCommand(*part.value, why);
      if (command == nullptr) return refuse(why);
      rule.command = std::string(command->name);
    } else if (part.key == "count" && part.value) {
      if (has_count) return refuse("count= given twice");
      has_count = true;
      const std::optional<uint64_t> count = tooltext::ParseUnsigned(*part.value, INT32_MAX);
      if (count == 0u) {
        return refuse("count=0 never fires (leave count out for every matching command)");
      }
      if (!count) return refuse("count takes 1 to 2147483647, not " + Quoted(*part.value));
      rule.count = static_cast<int>(*count);
    } else {
      return refuse("unknown option " + Quoted(part.text) + " (on=COMMAND, count=N)");
    }
  }
  if (rule.kind == FaultKind::kValue && !CheckValue(rule, value_n, why)) return refuse(why);
  return rule;
}

std::string FaultRuleHelp() {
  return "  --fault RULE          inject a fault (repeatable), checked before the server\n"
         "                        starts (exit status 2 when refused); RULE is\n"
         "                        KIND[=VALUE][,on=COMMAND][,count=N] with KIND one of\n"
         "                          delay=MS      answer MS milliseconds late (at most\n"
         "                                        600000)\n"
         "                          drop          close the connection instead of\n"
         "                                        answering (the command is not carried\n"
         "                                        out)\n"
         "                          error         answer ERROR\n"
         "                          malformed     answer OK, the reply's first digit\n"
         "                                        turned into ?\n"
         "                          oversize[=N]  answer OK after N bytes of reply lines\n"
         "                                        (default 65536, at most 64 MiB)\n"
         "                          late          hold the answer until the next command\n"
         "                                        line arrives, then send it first\n"
         "                          trickle[=MS]  send the answer one byte every MS ms\n"
         "                                        (default 300, at most 600000)\n"
         "                          duplicate     send the answer twice\n"
         "                          partial       send half the answer, then stall\n"
         "                          stray         an unsolicited line before the echo and\n"
         "                                        one after the answer\n"
         "                          garbage[=N]   N bytes without a line end instead of\n"
         "                                        the answer (default 32, at most 1 MiB)\n"
         "                          value=FIELD:N answer as usual with the reply's\n"
         "                                        FIELD-th number (from 0) replaced by\n"
         "                                        N; needs on=COMMAND, a FIELD its reply\n"
         "                                        has and an N that fits that number\n"
         "                        on=COMMAND limits it to one command, named exactly as\n"
         "                        listed at the end (e.g. fmrx_get_rds_data), count=N\n"
         "                        (1 or more) to the next N matching commands (default:\n"
         "                        all).\n"
         "                        Delays of matching rules add up; of the other kinds the\n"
         "                        first matching rule decides the answer (and only it is\n"
         "                        counted).\n"
         "                        Examples:\n"
         "                          --fault delay=2000,on=fmrx_get_dynamic_data,count=1\n"
         "                          --fault value=4:12,on=fmrx_get_dynamic_data\n"
         "                        A rule that never affected a command is named at the\n"
         "                        end.\n";
}

}  // namespace fmrsim
