// The single-key functions: one IniFile each, for one read or one commit;
// and the size check behind a refused commit.
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace platform {

std::string IniReadString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& default_value) {
  return IniFile(file).Read(section, key).value_or(default_value);
}

bool IniWriteString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
  IniFile ini(file);
  ini.Write(section, key, value);
  return ini.Commit();
}

bool IniFileTooLarge(const std::string& file) {
  const std::filesystem::path path = IniResolvePath(file);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || error) return false;
  const uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size > kIniFileMostBytes;
}

}  // namespace platform
