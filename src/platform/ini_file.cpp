// IniFile over the single-key profile functions.
#include <tuple>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct IniFile::Impl {
  std::vector<std::tuple<std::string, std::string, std::string>> writes;
};

IniFile::IniFile(const std::string& file) : path_(file), impl_(std::make_unique<Impl>()) {}

IniFile::~IniFile() = default;

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const {
  static const std::string kMissing(1, '\x01');
  std::string value = IniReadString(path_, section, key, kMissing);
  if (value == kMissing) return std::nullopt;
  return value;
}

void IniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
  impl_->writes.emplace_back(section, key, value);
}

bool IniFile::Commit() {
  bool ok = true;
  for (const auto& [section, key, value] : impl_->writes) {
    ok = IniWriteString(path_, section, key, value) && ok;
  }
  impl_->writes.clear();
  return ok;
}

}  // namespace platform
