#include "fmr-sim/gen2/command_fields.h"

#include <vector>

namespace fmrsim {
namespace {

// The listing's lines end before this column, indent included.
constexpr size_t kWidth = 79;
// Continuation lines are indented this much further.
constexpr std::string_view kHanging = "    ";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// `head` and the items separated by ", ", then `tail` after a blank, broken
// into lines between items.
std::string Wrapped(std::string_view indent, const std::string& head,
                    const std::vector<std::string>& items, const std::string& tail = "") {
  std::string out;
  std::string line = std::string(indent) + head;
  bool first = true;
  for (const std::string& item : items) {
    const std::string separator = first ? "" : ", ";
    if (!first && line.size() + separator.size() + item.size() >= kWidth) {
      out += line + ",\n";
      line = std::string(indent) + std::string(kHanging) + item;
    } else {
      line += separator + item;
    }
    first = false;
  }
  if (!tail.empty()) {
    if (line.size() + 1 + tail.size() >= kWidth) {
      out += line + "\n";
      line = std::string(indent) + std::string(kHanging) + tail;
    } else {
      line += " " + tail;
    }
  }
  return out + line + "\n";
}

// "4 rssi", "1..50 frequency[0..49]"; a sized array, and whatever follows
// one, without numbers: "split[0..n-1]".
std::vector<std::string> NumberedItems(const CommandSignature& command) {
  std::vector<std::string> items;
  uint32_t at = 0;
  bool numbered = true;
  for (const CommandReplyField& field : command.reply) {
    numbered = numbered && !field.sized;
    const std::string name(field.name);
    if (field.sized) {
      items.push_back(name + "[0..n-1]");
    } else if (field.count == 1) {
      items.push_back((numbered ? std::to_string(at) + " " : "") + name);
    } else {
      const std::string last = std::to_string(field.count - 1);
      items.push_back(
          (numbered ? std::to_string(at) + ".." + std::to_string(at + field.count - 1) + " " : "") +
          name + "[0.." + last + "]");
    }
    at += field.count;
  }
  return items;
}

}  // namespace

const CommandSignature* FindCommand(std::string_view name) {
  for (const CommandSignature& command : AtCommands::Signatures()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

const CommandSignature* FindCommandIgnoringCase(std::string_view name) {
  for (const CommandSignature& command : AtCommands::Signatures()) {
    if (EqualIgnoringCase(command.name, name)) return &command;
  }
  return nullptr;
}

uint32_t ReplyNumberCount(const CommandSignature& command) {
  uint32_t count = 0;
  for (const CommandReplyField& field : command.reply) count += field.count;
  return count;
}

std::optional<NumberedField> ReplyNumber(const CommandSignature& command, uint32_t index) {
  for (const CommandReplyField& field : command.reply) {
    if (index < field.count) return NumberedField{&field, index};
    index -= field.count;
  }
  return std::nullopt;
}

std::string CommandNamesText() {
  std::string out;
  for (const CommandSignature& command : AtCommands::Signatures()) {
    out += (out.empty() ? "" : ", ") + std::string(command.name);
  }
  return out;
}

std::string CommandFieldListText(std::string_view indent) {
  std::string out;
  std::vector<std::string> plain;
  for (const CommandSignature& command : AtCommands::Signatures()) {
    if (command.reply.empty()) {
      plain.emplace_back(command.name);
      continue;
    }
    std::string sizes;
    if (!command.reply_sizes.empty()) {
      uint16_t longest = 0;
      for (const CommandReplyField& field : command.reply) {
        if (field.sized && field.count > longest) longest = field.count;
      }
      sizes = "(" + std::string(command.reply_sizes) + ", up to " + std::to_string(longest) + ")";
    }
    out += Wrapped(indent, std::string(command.name) + ": ", NumberedItems(command), sizes);
  }
  return out + Wrapped(indent, "answered with OK alone: ", plain);
}

}  // namespace fmrsim
