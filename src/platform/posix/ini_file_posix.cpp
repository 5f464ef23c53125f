// Initialization files on POSIX: our own reader and writer with the text
// and rules of the Windows profile functions. The file is read once into a
// snapshot for lookups; a commit merges all queued writes into the file as
// it is at that moment, under a lock, and replaces it in one step.
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/file_update_posix.h"
#include "platform/posix/ini_merge.h"
#include "platform/posix/ini_snapshot.h"

namespace platform {

struct IniFile::Impl {
  std::string resolved_path;
  // Taken at the first read, replaced by each commit's text.
  std::optional<ini::Snapshot> snapshot;
  std::vector<ini::Write> writes;

  const ini::Snapshot& Loaded() {
    if (!snapshot) {
      // One byte more than the limit tells a file that is too large.
      std::optional<std::string> text = ReadRegularFile(resolved_path, kIniFileMostBytes + 1);
      if (!text || text->size() > kIniFileMostBytes) text.emplace();
      snapshot.emplace(std::move(*text));
    }
    return *snapshot;
  }
};

std::string IniResolvePath(const std::string& file) {
  if (file.find('/') != std::string::npos) return file;
  return SettingsFolder() + file;
}

IniFile::IniFile(const std::string& file) : path_(file), impl_(std::make_unique<Impl>()) {
  impl_->resolved_path = IniResolvePath(file);
}

IniFile::~IniFile() = default;

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const {
  const std::optional<std::string_view> value = impl_->Loaded().Find(section, key);
  if (!value) return std::nullopt;
  return std::string(ini::Unquote(*value));
}

void IniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
  impl_->writes.push_back({section, key, value});
}

bool IniFile::Commit() {
  if (impl_->writes.empty()) return true;
  const std::vector<ini::Write> writes = std::exchange(impl_->writes, {});
  std::optional<std::string> text = files::UpdateFile(
      impl_->resolved_path, kIniFileMostBytes,
      [&](std::string_view current) { return ini::MergeWrites(current, writes); });
  if (!text) return false;
  impl_->snapshot.reset();
  impl_->snapshot.emplace(std::move(*text));
  return true;
}

}  // namespace platform
