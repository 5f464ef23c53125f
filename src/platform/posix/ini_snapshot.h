// One initialization file's text held in memory for lookups. The sections
// are indexed at the first lookup and a section's keys at the first lookup
// in it, so a large file is scanned once, not once per key, and a text that
// is never looked up is never scanned.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/posix/ini_syntax.h"

namespace platform::ini {

class Snapshot {
 public:
  explicit Snapshot(std::string text);
  // The index points into the text, so the object stays where it was made.
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;

  // The trimmed value of `key` in the first section named `section`, with
  // its quotes; nullopt when the section, the key or its '=' is missing.
  // Not for use from several threads at once.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

 private:
  using KeyIndex =
      std::unordered_map<std::string_view, std::optional<std::string_view>, NameHash, NameEqual>;
  struct Section {
    std::string_view body;  // the lines after the section line
    mutable std::unique_ptr<KeyIndex> keys;
  };

  void IndexSections() const;

  const std::string text_;
  mutable bool indexed_ = false;
  mutable std::unordered_map<std::string_view, Section, NameHash, NameEqual> sections_;
};

}  // namespace platform::ini
