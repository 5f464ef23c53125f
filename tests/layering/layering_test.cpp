// The plug-in's layers may only include headers of the layers below them.
// Every `#include "LAYER/..."` under src/ is checked against the table of
// allowed edges, so an upward include fails here instead of in a review.
// And every file of a layer declares its names in the layer's namespace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Each layer and the layers it may include, lowest first.
const std::map<std::string, std::set<std::string>> kAllowedEdges = {
    {"platform", {}},
    {"ui", {"platform"}},
    {"common", {"platform", "ui"}},
    {"gen1", {"platform", "ui", "common"}},
    {"gen2", {"platform", "ui", "common"}},
    {"gen1_panel", {"platform", "ui", "common", "gen1"}},
    {"gen2_panel", {"platform", "ui", "common", "gen2"}},
    {"host", {"platform", "ui", "common", "gen1", "gen2", "gen1_panel", "gen2_panel"}},
};

struct Include {
  std::string file;  // relative to src/
  int line;
  std::string from;  // the including file's layer
  std::string to;    // the included header's first folder
  bool system_windows = false;
};

std::vector<Include> ScanIncludes(const fs::path& root) {
  static const std::regex kQuoted(R"(^\s*#\s*include\s*"([A-Za-z0-9_]+)/)");
  static const std::regex kWindows(R"(^\s*#\s*include\s*<windows\.h>)", std::regex::icase);
  std::vector<Include> found;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp" && ext != ".rc") continue;
    const fs::path relative = fs::relative(entry.path(), root);
    const std::string layer = relative.begin()->string();
    std::ifstream in(entry.path());
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      std::smatch match;
      if (std::regex_search(text, match, kQuoted)) {
        found.push_back({relative.generic_string(), line, layer, match[1].str()});
      } else if (std::regex_search(text, kWindows)) {
        found.push_back({relative.generic_string(), line, layer, "<windows.h>", true});
      }
    }
  }
  return found;
}

// The edges of `includes` that the table does not allow, one per line.
std::string ForbiddenEdges(const std::vector<Include>& includes) {
  std::string out;
  for (const Include& inc : includes) {
    bool allowed = false;
    if (inc.system_windows) {
      // Only the Windows halves of the platform and the component model
      // see the system header.
      allowed = inc.file.starts_with("platform/win32/") || inc.file.starts_with("ui/win32/");
    } else if (const auto it = kAllowedEdges.find(inc.from); it != kAllowedEdges.end()) {
      allowed = inc.from == inc.to || it->second.contains(inc.to);
    }
    if (!allowed) {
      out += inc.file + ":" + std::to_string(inc.line) + ": " + inc.from + " -> " + inc.to + "\n";
    }
  }
  return out;
}

TEST(Layering, EveryIncludeUnderSrcFollowsTheLayerOrder) {
  const std::vector<Include> includes = ScanIncludes(SONVIO_SOURCE_DIR "/src");
  ASSERT_GT(includes.size(), 100u) << "the scan found the sources";
  std::set<std::string> layers;
  for (const Include& inc : includes) layers.insert(inc.from);
  for (const auto& [layer, below] : kAllowedEdges) EXPECT_TRUE(layers.contains(layer)) << layer;
  EXPECT_EQ(ForbiddenEdges(includes), "");
}

// The namespace of each layer; the C entry points of host/ stay at global
// scope (C has no namespaces; their names are the export names).
const std::map<std::string, std::string> kNamespaces = {
    {"platform", "platform"},     {"ui", "ui"},
    {"common", "common"},         {"gen1", "gen1"},
    {"gen2", "MANAGED_IF"},       {"gen1_panel", "gen1_panel"},
    {"gen2_panel", "gen2_panel"}, {"host", "host"},
};
const std::set<std::string> kCEntryPoints = {"host/exports.h",
                                             "host/exports.cpp",
                                             "host/automation_export.cpp",
                                             "host/posix/module_posix.cpp",
                                             "host/posix/version_block_posix.cpp",
                                             "host/win32/module_win32.cpp"};

TEST(Layering, EveryFileDeclaresItsNamesInItsLayersNamespace) {
  const fs::path root = SONVIO_SOURCE_DIR "/src";
  std::string outside;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string file = fs::relative(entry.path(), root).generic_string();
    const std::string layer = file.substr(0, file.find('/'));
    if (!kNamespaces.contains(layer) || kCEntryPoints.contains(file)) continue;
    ++files;
    const std::regex opens("^namespace " + kNamespaces.at(layer) + "(::[A-Za-z0-9_:]+)? \\{");
    std::ifstream in(entry.path());
    bool found = false;
    for (std::string line; !found && std::getline(in, line);)
      found = std::regex_search(line, opens);
    if (!found) outside += file + "\n";
  }
  EXPECT_GT(files, 100);
  EXPECT_EQ(outside, "");
}

TEST(Layering, UpwardAndUnknownEdgesAreCaught) {
  const std::vector<Include> planted = {
      {"gen1/x.cpp", 3, "gen1", "host"},
      {"gen2/x.cpp", 4, "gen2", "gen1"},
      {"ui/x.cpp", 5, "ui", "common"},
      {"gen1_panel/x.cpp", 6, "gen1_panel", "gen2_panel"},
      {"common/x.h", 7, "common", "<windows.h>", true},
      {"newlayer/x.h", 8, "newlayer", "ui"},
      {"host/x.cpp", 9, "host", "gen2_panel"},
  };
  EXPECT_EQ(ForbiddenEdges(planted),
            "gen1/x.cpp:3: gen1 -> host\n"
            "gen2/x.cpp:4: gen2 -> gen1\n"
            "ui/x.cpp:5: ui -> common\n"
            "gen1_panel/x.cpp:6: gen1_panel -> gen2_panel\n"
            "common/x.h:7: common -> <windows.h>\n"
            "newlayer/x.h:8: newlayer -> ui\n");
}

}  // namespace
