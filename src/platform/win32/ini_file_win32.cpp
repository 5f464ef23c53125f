// Initialization files on Windows: the system's profile functions, which
// decide where a file without a full path lives (the Windows directory) and
// how the file is edited. Reads go to the profile functions key by key
// (they keep the file cached); Commit hands them the queued writes in order.
#include <windows.h>

#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace platform {
namespace {

std::string ProfileString(const std::string& file, const std::string& section,
                          const std::string& key, const char* default_value) {
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD n =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value, buffer.data(),
                                   static_cast<DWORD>(buffer.size()), file.c_str());
    // A value that filled the buffer may have been cut: read again, larger.
    if (n + 1 < buffer.size() || buffer.size() >= 65536) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}

// False for a folder or a device named like the file, and for a file beyond
// the size limit: those read as empty and are never written, as a file that
// cannot be read. (A symbolic link is judged by the link itself.)
bool UsableAsIniFile(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return true;
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
    return false;
  const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return size <= kIniFileMostBytes;
}

}  // namespace

struct IniFile::Impl {
  bool usable = true;
  std::vector<std::tuple<std::string, std::string, std::string>> writes;
};

std::string IniResolvePath(const std::string& file) {
  const bool absolute = (file.size() >= 2 && file[1] == ':') ||
                        (!file.empty() && (file[0] == '\\' || file[0] == '/'));
  return absolute ? file : SettingsFolder() + file;
}

IniFile::IniFile(const std::string& file) : path_(file), impl_(std::make_unique<Impl>()) {
  impl_->usable = UsableAsIniFile(IniResolvePath(file));
}

IniFile::~IniFile() = default;

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const {
  if (!impl_->usable) return std::nullopt;
  std::string value = ProfileString(path_, section, key, "");
  if (!value.empty()) return value;
  // Empty: an empty value, or a missing key that gave back the empty
  // default. Only a missing key gives back a default that is not empty.
  if (ProfileString(path_, section, key, "?") == "?") return std::nullopt;
  return value;
}

void IniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
  impl_->writes.emplace_back(section, key, value);
}

bool IniFile::Commit() {
  const auto writes = std::exchange(impl_->writes, {});
  if (!impl_->usable) return writes.empty();
  for (const auto& [section, key, value] : writes) {
    // A write that fails means the file cannot be written: the rest would fail alike.
    if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
      return false;
  }
  return true;
}

}  // namespace platform
