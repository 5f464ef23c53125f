#include "platform/posix/ini_merge.h"

#include <unordered_map>
#include <vector>

#include "platform/posix/ini_syntax.h"

namespace platform::ini {
namespace {

// The line end every line is written with: that of the text's first line,
// so a file keeps its convention; "\r\n" for a text without one (a new file).
std::string_view LineEndOf(std::string_view text) {
  const size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return "\r\n";
  if (text[end] == '\n') return "\n";
  return text.substr(end + 1).starts_with('\n') ? "\r\n" : "\r";
}

struct PendingKey {
  std::string_view name;   // as first written
  std::string_view value;  // as last written
  bool placed = false;     // its line has been found in the text
};

struct PendingSection {
  std::string_view name;  // as first written
  std::vector<PendingKey> keys;
  std::unordered_map<std::string_view, size_t, NameHash, NameEqual> key_index;
  bool seen = false;  // its first section line has been found in the text
};

// The writes grouped by section and key, in the order of their first write.
class Pending {
 public:
  explicit Pending(std::span<const Write> writes) {
    for (const Write& w : writes) {
      const std::string_view section = Trim(w.section);
      auto [s, new_section] = section_index_.try_emplace(section, sections_.size());
      if (new_section) sections_.push_back({section, {}, {}, false});
      PendingSection& target = sections_[s->second];
      const std::string_view key = Trim(w.key);
      auto [k, new_key] = target.key_index.try_emplace(key, target.keys.size());
      if (new_key) target.keys.push_back({key, {}, false});
      target.keys[k->second].value = Trim(w.value);
    }
  }

  PendingSection* Find(std::string_view section) {
    const auto it = section_index_.find(section);
    return it == section_index_.end() ? nullptr : &sections_[it->second];
  }
  std::vector<PendingSection>& sections() { return sections_; }

 private:
  std::vector<PendingSection> sections_;
  std::unordered_map<std::string_view, size_t, NameHash, NameEqual> section_index_;
};

void AppendKey(std::string& out, std::string_view name, std::string_view value,
               std::string_view line_end) {
  out.append(name).append("=").append(value).append(line_end);
}

}  // namespace

std::optional<std::string> MergeWrites(std::string_view text, std::span<const Write> writes) {
  Pending pending(writes);
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 256);
  if (text.starts_with(kByteOrderMark)) {
    out.append(kByteOrderMark);
    text.remove_prefix(kByteOrderMark.size());
  }
  const std::string_view line_end = LineEndOf(text);

  bool changed = false;
  PendingSection* current = nullptr;  // the section being copied, when it has writes
  size_t blank_lines = 0;             // blank lines held back at the end of `current`
  auto flush_blank_lines = [&] {
    for (; blank_lines > 0; --blank_lines) out.append(line_end);
  };
  // New keys go after the section's last line that is not blank.
  auto close_section = [&] {
    if (current != nullptr) {
      for (PendingKey& key : current->keys) {
        if (key.placed) continue;
        AppendKey(out, key.name, key.value, line_end);
        key.placed = true;
        changed = true;
      }
    }
    flush_blank_lines();
    current = nullptr;
  };

  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    // Outside the sections being written only section lines matter.
    if (current == nullptr) {
      const std::string_view trimmed = Trim(line);
      if (trimmed.empty() || trimmed.front() != '[') {
        out.append(line).append(line_end);
        continue;
      }
    }
    const Line parsed = ParseLine(line);
    if (parsed.kind == LineKind::kSection) {
      close_section();
      // Writes go to the first section of a name only.
      PendingSection* target = pending.Find(parsed.name);
      if (target != nullptr && !target->seen) {
        target->seen = true;
        current = target;
      }
    } else if (current != nullptr) {
      if (parsed.kind == LineKind::kBlank) {
        ++blank_lines;
        continue;
      }
      flush_blank_lines();
      if (parsed.kind == LineKind::kKey) {
        const auto it = current->key_index.find(parsed.name);
        if (it != current->key_index.end() && !current->keys[it->second].placed) {
          PendingKey& key = current->keys[it->second];
          key.placed = true;
          if (parsed.value != key.value) {
            AppendKey(out, parsed.name, key.value, line_end);
            changed = true;
            continue;
          }
        }
      }
    }
    out.append(line).append(line_end);
  }
  close_section();

  for (PendingSection& section : pending.sections()) {
    if (section.seen) continue;
    out.append("[").append(section.name).append("]").append(line_end);
    for (const PendingKey& key : section.keys) AppendKey(out, key.name, key.value, line_end);
    changed = true;
  }
  if (!changed) return std::nullopt;
  return out;
}

}  // namespace platform::ini
