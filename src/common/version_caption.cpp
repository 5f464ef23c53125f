#include "common/version_caption.h"

#include <cstdio>

#include "platform/platform.h"

namespace common {

std::string VersionCaption(const std::string& file_name) {
  const std::string path = platform::ProgramFolder() + file_name;
  std::unique_ptr<platform::VersionResource> resource = platform::LoadVersionResource(path);
  if (!resource) return std::string("About:") + " No version information available.";

  uint16_t language = 0;
  uint16_t code_page = 0;
  resource->Translation(language, code_page);
  char table[16];
  std::snprintf(table, sizeof(table), "%04x%04x", language, code_page);
  const std::string prefix = std::string("\\StringFileInfo\\") + table;

  std::string caption = resource->Query(prefix + "\\ProductName").value_or("");
  const std::string version = resource->Query(prefix + "\\FileVersion").value_or("");
  if (!version.empty()) caption += " - Version: " + version;
  return caption;
}

}  // namespace common
