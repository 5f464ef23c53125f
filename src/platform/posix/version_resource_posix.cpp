// Version resource of an ELF module. The plug-in carries a block that starts
// with a marker and holds "key\0value\0" pairs up to an empty key; this reader
// finds the marker in the file and answers the same sub-block queries as the
// Windows version functions.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <vector>

#include "platform/platform.h"
#include "platform/version_marker.h"

namespace platform {
namespace {

class ElfVersionResource final : public VersionResource {
 public:
  explicit ElfVersionResource(std::map<std::string, std::string> values)
      : values_(std::move(values)) {}

  bool Translation(uint16_t& language, uint16_t& code_page) const override {
    auto it = values_.find("Translation");
    if (it == values_.end() || it->second.size() != 8) return false;
    try {
      language = static_cast<uint16_t>(std::stoul(it->second.substr(0, 4), nullptr, 16));
      code_page = static_cast<uint16_t>(std::stoul(it->second.substr(4, 4), nullptr, 16));
    } catch (const std::exception&) {
      return false;
    }
    return true;
  }

  std::optional<std::string> Query(const std::string& sub_block) const override {
    static const std::string kPrefix = "\\StringFileInfo\\";
    if (sub_block.rfind(kPrefix, 0) != 0) return std::nullopt;
    const std::string rest = sub_block.substr(kPrefix.size());
    const size_t slash = rest.find('\\');
    if (slash == std::string::npos) return std::nullopt;
    std::string table = rest.substr(0, slash);
    std::transform(table.begin(), table.end(), table.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto translation = values_.find("Translation");
    if (translation == values_.end() || translation->second != table) return std::nullopt;
    auto it = values_.find(rest.substr(slash + 1));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace

std::unique_ptr<VersionResource> LoadVersionResource(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return nullptr;
  const std::streamoff size = in.tellg();
  if (size <= 0) return nullptr;
  std::vector<char> bytes(static_cast<size_t>(size));
  in.seekg(0);
  if (!in.read(bytes.data(), size)) return nullptr;
  const std::string marker = VersionMarker();
  auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
  if (at == bytes.end()) return nullptr;
  auto pos = at + static_cast<std::ptrdiff_t>(marker.size());

  // Reads one zero-terminated text; false at the end of the file.
  auto next_text = [&](std::string& out) {
    auto zero = std::find(pos, bytes.end(), '\0');
    if (zero == bytes.end()) return false;
    out.assign(pos, zero);
    pos = zero + 1;
    return true;
  };
  std::map<std::string, std::string> values;
  std::string key;
  std::string value;
  while (next_text(key) && !key.empty() && next_text(value)) values[key] = value;
  if (values.empty()) return nullptr;
  return std::make_unique<ElfVersionResource>(std::move(values));
}

}  // namespace platform
