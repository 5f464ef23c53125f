#include "report/run_identity.h"

#include <ctime>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace benchora {

std::vector<std::pair<std::string, std::string>> RunIdentity::Properties() const {
  std::vector<std::pair<std::string, std::string>> out;
  const auto add = [&out](const std::string& name, const std::string& value) {
    if (!value.empty()) out.emplace_back(name, value);
  };
  add("dut", dut);
  add("chip", chip);
  add("link", link);
  add("handset", handset);
  add("plugin", plugin);
  add("plugin_version", plugin_version);
  add("benchora_version", benchora_version);
  for (size_t i = 0; i < scripts.size(); ++i) {
    const std::string number = i == 0 ? "" : "_" + std::to_string(i + 1);
    add("script" + number, scripts[i].first);
    add("script" + number + "_sha256", scripts[i].second);
  }
  return out;
}

std::string IsoTimestamp(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  char text[32];
  const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(text, length);
}

std::string HostName() {
#ifdef _WIN32
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  if (GetComputerNameA(name, &size) && size > 0) return std::string(name, size);
#else
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == 0 && name[0] != '\0') return name;
#endif
  return "unknown";
}

}  // namespace benchora
