#include "host/help_path.h"

#include <algorithm>
#include <cctype>

namespace benchora {
namespace {

constexpr std::string_view kHelpKey = "help=\"";
constexpr std::string_view kTopicSeparator = "::";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A path from the root of a drive or of the file system.
bool IsFullPath(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
         path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

}  // namespace

std::string HelpKeywordOfState(std::string_view state) {
  // The escaped texts of a state line hold no line break: the form's state
  // is its first line.
  state = state.substr(0, state.find('\n'));
  size_t at = 0;
  for (;; at += kHelpKey.size()) {
    at = state.find(kHelpKey, at);
    if (at == std::string_view::npos) return {};
    if (at == 0 || state[at - 1] == ' ') break;
  }
  std::string keyword;
  for (size_t i = at + kHelpKey.size(); i < state.size() && state[i] != '"'; ++i) {
    if (state[i] != '\\' || i + 1 == state.size()) {
      keyword += state[i];
      continue;
    }
    const char escaped = state[++i];
    if (escaped == 'n') {
      keyword += '\n';
    } else if (escaped == 'r') {
      keyword += '\r';
    } else if (escaped == 't') {
      keyword += '\t';
    } else if (escaped == 'x' && i + 2 < state.size() && HexDigit(state[i + 1]) >= 0 &&
               HexDigit(state[i + 2]) >= 0) {
      keyword += static_cast<char>(HexDigit(state[i + 1]) * 16 + HexDigit(state[i + 2]));
      i += 2;
    } else {
      keyword += escaped;  // a backslash or a quotation mark
    }
  }
  return keyword;
}

std::string FolderOf(const std::string& path) {
  const size_t delimiter = path.find_last_of("/\\");
  return delimiter == std::string::npos ? std::string() : path.substr(0, delimiter + 1);
}

std::optional<HelpTopic> ResolveHelpTopic(std::string_view keyword,
                                          const std::vector<std::string>& folders,
                                          const std::function<bool(const std::string&)>& exists,
                                          std::string& error) {
  if (keyword.empty()) {
    error = "the panel names no help topic";
    return std::nullopt;
  }
  const std::string file(keyword.substr(0, keyword.find(kTopicSeparator)));
  const std::string topic(keyword.substr(file.size()));
  std::vector<std::string> candidates;
  if (IsFullPath(file)) {
    candidates.push_back(file);
  } else {
    for (const std::string& folder : folders) {
      if (std::find(candidates.begin(), candidates.end(), folder + file) == candidates.end())
        candidates.push_back(folder + file);
    }
  }
  for (const std::string& candidate : candidates) {
    if (exists(candidate)) return HelpTopic{candidate, candidate + topic};
  }
  error = "cannot open " + std::string(keyword) + ": no file ";
  for (size_t i = 0; i < candidates.size(); ++i) error += (i > 0 ? ", " : "") + candidates[i];
  if (candidates.empty()) error += file;
  return std::nullopt;
}

}  // namespace benchora
