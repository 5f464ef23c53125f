#include "platform/posix/ini_snapshot.h"

namespace platform::ini {

Snapshot::Snapshot(std::string text) : text_(std::move(text)) {}

void Snapshot::IndexSections() const {
  indexed_ = true;
  std::string_view all(text_);
  // An editor's byte-order mark is no part of the first line, as for writes.
  if (all.starts_with(kByteOrderMark)) all.remove_prefix(kByteOrderMark.size());
  LineReader lines(all);
  std::string_view line;
  Section* open = nullptr;  // the section whose body the lines belong to
  size_t body_begin = 0;
  auto close = [&](size_t end) {
    if (open != nullptr) open->body = all.substr(body_begin, end - body_begin);
    open = nullptr;
  };
  while (lines.Next(line)) {
    // Sections are rare among the lines: look for '[' before parsing.
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[') continue;
    const Line parsed = ParseLine(line);
    if (parsed.kind != LineKind::kSection) continue;
    const size_t line_begin = static_cast<size_t>(line.data() - all.data());
    close(line_begin);
    // Only the first section of a name counts; later ones are never read.
    auto [it, inserted] = sections_.try_emplace(parsed.name);
    if (inserted) {
      open = &it->second;
      body_begin = line_begin + line.size();
    }
  }
  close(all.size());
}

std::optional<std::string_view> Snapshot::Find(std::string_view section,
                                               std::string_view key) const {
  if (!indexed_) IndexSections();
  const auto found = sections_.find(Trim(section));
  if (found == sections_.end()) return std::nullopt;
  const Section& s = found->second;
  if (!s.keys) {
    s.keys = std::make_unique<KeyIndex>();
    LineReader lines(s.body);
    std::string_view line;
    while (lines.Next(line)) {
      const Line parsed = ParseLine(line);
      // The first line of a key counts, as it is the one a write replaces.
      if (parsed.kind == LineKind::kKey) s.keys->try_emplace(parsed.name, parsed.value);
    }
  }
  const auto value = s.keys->find(Trim(key));
  return value == s.keys->end() ? std::nullopt : value->second;
}

}  // namespace platform::ini
