#include "fmr-sim/gen2/fault_plan.h"

#include <algorithm>
#include <utility>

#include "fmr-sim/text_number.h"

namespace fmrsim {
namespace {

constexpr std::string_view kCommandPrefix = "at@audapp:";

std::string_view WithoutPrefix(std::string_view name) {
  if (name.substr(0, kCommandPrefix.size()) == kCommandPrefix)
    name.remove_prefix(kCommandPrefix.size());
  return name;
}

// Exactly `bytes` bytes of reply lines of zeros, each ending in "\r\n".
std::string OversizeBody(uint32_t bytes) {
  constexpr size_t kLine = 64;
  const size_t total = std::max<size_t>(bytes, 2);
  const size_t lines = (total + kLine - 1) / kLine;
  std::string body;
  body.reserve(total);
  for (size_t i = 0; i < lines; ++i) {
    // Spread the bytes evenly; every line gets its "\r\n".
    const size_t length = total / lines + (i < total % lines ? 1 : 0) - 2;
    std::string content;
    for (size_t k = 0; k < length; ++k) content += (k % 2 == 0) ? '0' : ',';
    if (!content.empty() && content.back() == ',') content.back() = '0';
    body += content + "\r\n";
  }
  return body;
}

// Kinds with an optional value, and the value without one.
std::optional<std::pair<FaultKind, uint32_t>> ValuedKind(std::string_view key) {
  if (key == "oversize") return std::pair{FaultKind::kOversize, kDefaultOversizeBytes};
  if (key == "trickle") return std::pair{FaultKind::kTrickle, kDefaultTrickleMs};
  if (key == "garbage") return std::pair{FaultKind::kGarbage, kDefaultGarbageBytes};
  return std::nullopt;
}

std::optional<FaultKind> PlainKind(std::string_view key) {
  static constexpr std::pair<std::string_view, FaultKind> kKinds[] = {
      {"drop", FaultKind::kDrop},           {"error", FaultKind::kError},
      {"malformed", FaultKind::kMalformed}, {"late", FaultKind::kLate},
      {"duplicate", FaultKind::kDuplicate}, {"partial", FaultKind::kPartial},
      {"stray", FaultKind::kStray},
  };
  for (const auto& [name, kind] : kKinds) {
    if (key == name) return kind;
  }
  return std::nullopt;
}

}  // namespace

std::optional<FaultRule> ParseFaultRule(std::string_view text, std::string& error) {
  FaultRule rule;
  rule.text = std::string(text);
  bool first = true;
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    const size_t eq = part.find('=');
    const std::string_view key = part.substr(0, eq);
    const bool has_value = eq != std::string_view::npos;
    const std::string_view value = has_value ? part.substr(eq + 1) : std::string_view{};
    std::optional<uint32_t> number;
    if (first && key == "value") {
      // value=FIELD:N, N a whole number (a level may be negative).
      const size_t colon = value.find(':');
      const std::optional<uint32_t> field =
          colon == std::string_view::npos ? std::nullopt : ParseUnsigned(value.substr(0, colon));
      std::string_view n = colon == std::string_view::npos ? "" : value.substr(colon + 1);
      const bool negative = n.starts_with('-');
      if (!field || !ParseUnsigned(negative ? n.substr(1) : n)) {
        error = "fault rule \"" + std::string(text) +
                "\": value needs FIELD:N, two numbers (N may be negative), not \"" +
                std::string(value) + "\"";
        return std::nullopt;
      }
      rule.kind = FaultKind::kValue;
      rule.field = *field;
      rule.replacement = std::string(n);
      first = false;
      if (comma == std::string_view::npos) break;
      text.remove_prefix(comma + 1);
      continue;
    }
    if (has_value && key != "on") {
      number = ParseUnsigned(value);
      if (!number) {
        error = "fault rule \"" + std::string(text) + "\": " + std::string(key) +
                " needs a non-negative number, not \"" + std::string(value) + "\"";
        return std::nullopt;
      }
    }

    if (first) {
      if (key == "delay" && has_value) {
        rule.kind = FaultKind::kDelay;
        rule.value = *number;
      } else if (const auto valued = ValuedKind(key)) {
        rule.kind = valued->first;
        rule.value = has_value ? *number : valued->second;
      } else if (const auto plain = PlainKind(key); plain && !has_value) {
        rule.kind = *plain;
      } else {
        error = "unknown fault \"" + std::string(part) +
                "\" (delay=MS, drop, error, malformed, oversize[=BYTES], late, trickle[=MS], "
                "duplicate, partial, stray, garbage[=BYTES], value=FIELD:N)";
        return std::nullopt;
      }
      first = false;
    } else if (key == "on" && !value.empty()) {
      rule.command = std::string(WithoutPrefix(value));
    } else if (key == "count" && has_value) {
      rule.count = static_cast<int>(std::min<uint32_t>(*number, 0x7FFFFFFF));
    } else {
      error = "unknown fault option \"" + std::string(part) + "\" (on=COMMAND, count=N)";
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return rule;
}

std::string FaultRuleHelp() {
  return "  --fault RULE          inject a fault (repeatable); RULE is\n"
         "                        KIND[=VALUE][,on=COMMAND][,count=N] with KIND one of\n"
         "                          delay=MS      answer MS milliseconds late\n"
         "                          drop          close the connection instead of answering\n"
         "                                        (the command is not carried out)\n"
         "                          error         answer ERROR\n"
         "                          malformed     answer OK, the reply's first digit turned into "
         "?\n"
         "                          oversize[=N]  answer OK after N bytes of reply lines\n"
         "                                        (default 65536)\n"
         "                          late          hold the answer until the next command\n"
         "                                        line arrives, then send it first\n"
         "                          trickle[=MS]  send the answer one byte every MS ms\n"
         "                                        (default 300)\n"
         "                          duplicate     send the answer twice\n"
         "                          partial       send half the answer, then stall\n"
         "                          stray         an unsolicited line before the echo and\n"
         "                                        one after the answer\n"
         "                          garbage[=N]   N bytes without a line end instead of the\n"
         "                                        answer (default 32)\n"
         "                          value=FIELD:N answer as usual with the reply's FIELD-th\n"
         "                                        number (from 0) replaced by N\n"
         "                        on=COMMAND limits it to one command (e.g. fmrx_get_rds_data),\n"
         "                        count=N to the next N matching commands (default: all).\n"
         "                        Delays of matching rules add up; of the other kinds the\n"
         "                        first matching rule decides the answer (and only it is\n"
         "                        counted).\n"
         "                        Example: --fault delay=2000,on=fmrx_get_dynamic_data,count=1\n"
         "                        A rule that never affected a command is named at the end.\n";
}

void FaultPlan::Add(FaultRule rule) {
  const std::lock_guard lock(mutex_);
  rules_.push_back(std::move(rule));
}

void FaultPlan::Clear() {
  const std::lock_guard lock(mutex_);
  rules_.clear();
}

FaultAction FaultPlan::Take(std::string_view command_name) {
  const std::lock_guard lock(mutex_);
  FaultAction action;
  const std::string_view name = WithoutPrefix(command_name);
  for (FaultRule& rule : rules_) {
    if (rule.count == 0 || (!rule.command.empty() && rule.command != name)) continue;
    if (rule.kind == FaultKind::kDelay) {
      action.delay_ms += rule.value;
    } else if (!action.outcome) {
      action.outcome = rule.kind;
      action.value = rule.value;
      action.field = rule.field;
      action.replacement = rule.replacement;
    } else {
      continue;  // outvoted: stays for a later command
    }
    rule.fired = true;
    if (rule.count > 0) --rule.count;
  }
  std::erase_if(rules_, [](const FaultRule& rule) { return rule.count == 0; });
  return action;
}

std::vector<std::string> FaultPlan::Unfired() {
  const std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const FaultRule& rule : rules_) {
    if (!rule.fired) out.push_back(rule.text);
  }
  return out;
}

AtReply ChangedValue(const AtReply& reply, uint32_t field, const std::string& replacement) {
  AtReply changed = reply;
  uint32_t seen = 0;
  for (std::string& line : changed.lines) {
    for (size_t at = line.find_first_of("0123456789"); at != std::string::npos;
         at = line.find_first_of("0123456789", at)) {
      const size_t start = at > 0 && line[at - 1] == '-' ? at - 1 : at;
      const size_t end = std::min(line.find_first_not_of("0123456789", at), line.size());
      if (seen++ == field) {
        line.replace(start, end - start, replacement);
        return changed;
      }
      at = end;
    }
  }
  return changed;
}

std::string FaultedReply(FaultKind kind, const AtReply& normal, uint32_t value) {
  switch (kind) {
    case FaultKind::kError:
      return FramedReply(AtReply{{}, false});
    case FaultKind::kMalformed: {
      // A transmission error: the first digit arrives as '?'.
      AtReply garbled = normal;
      for (std::string& line : garbled.lines) {
        const size_t digit = line.find_first_of("0123456789");
        if (digit != std::string::npos) {
          line[digit] = '?';
          return FramedReply(garbled);
        }
      }
      garbled.lines.push_back("?");
      return FramedReply(garbled);
    }
    case FaultKind::kOversize:
      return OversizeBody(value) + "OK\r\n";
    case FaultKind::kDuplicate: {
      const std::string framed = FramedReply(normal);
      return framed + framed;
    }
    case FaultKind::kPartial: {
      const std::string framed = FramedReply(normal);
      return framed.substr(0, framed.size() / 2);
    }
    case FaultKind::kStray:
      // Only the answer's own line; the server adds the line before the echo.
      return FramedReply(normal) + "+STRAY: after\r\n";
    case FaultKind::kGarbage: {
      std::string bytes(value, ' ');
      for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('!' + (i * 7) % 90);
      return bytes;
    }
    case FaultKind::kValue:
    case FaultKind::kDelay:
    case FaultKind::kDrop:
    case FaultKind::kLate:
    case FaultKind::kTrickle:
      break;
  }
  return FramedReply(normal);
}

}  // namespace fmrsim
