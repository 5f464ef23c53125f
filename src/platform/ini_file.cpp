// The single-key functions: one IniFile each, for one read or one commit.
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

}  // namespace platform
