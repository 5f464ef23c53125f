#include "fmr-sim/gen2/fault_plan.h"

#include <algorithm>
#include <utility>

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

}  // namespace

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
