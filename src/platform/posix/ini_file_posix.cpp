// Initialization files with the observable rules of the Windows profile
// functions: case-insensitive section and key names, values trimmed of blanks
// and of one pair of enclosing quotes, keys replaced in place, new keys added
// at the end of their section and new sections at the end of the file.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/platform.h"

namespace platform {
namespace {

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// "[name]" gives name; anything else gives nullopt.
std::optional<std::string> SectionName(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// Splits "key=value"; false for comments and lines without '='.
bool SplitKey(const std::string& line, std::string& key, std::string& value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 &&
      ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
    return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

std::string IniResolvePath(const std::string& file) {
  if (file.find('/') != std::string::npos) return file;
  return SettingsFolder() + file;
}

std::string IniReadString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& default_value) {
  bool in_section = false;
  for (const std::string& line : ReadLines(IniResolvePath(file))) {
    if (auto name = SectionName(line)) {
      in_section = SameName(*name, section);
      continue;
    }
    std::string k;
    std::string v;
    if (in_section && SplitKey(line, k, v) && SameName(k, key)) return Unquote(v);
  }
  return default_value;
}

bool IniWriteString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
  const std::string path = IniResolvePath(file);
  std::vector<std::string> lines = ReadLines(path);

  // Find the section, the key inside it, and the last key line of the section.
  std::optional<size_t> section_line;
  std::optional<size_t> key_line;
  size_t insert_at = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i])) {
      if (section_line && !key_line) break;
      if (SameName(*name, section) && !section_line) {
        section_line = i;
        insert_at = i + 1;
      }
      continue;
    }
    if (!section_line || key_line) continue;
    std::string k;
    std::string v;
    if (SplitKey(lines[i], k, v)) {
      if (SameName(k, key)) key_line = i;
      insert_at = i + 1;
    }
  }

  const std::string entry = key + "=" + value;
  if (key_line) {
    // The key keeps the spelling it has in the file; only the value changes.
    std::string old_key;
    std::string old_value;
    SplitKey(lines[*key_line], old_key, old_value);
    lines[*key_line] = old_key + "=" + value;
  } else if (section_line) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), entry);
  } else {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }

  std::ostringstream out;
  for (const std::string& line : lines) out << line << "\r\n";
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f << out.str();
    f.flush();
    if (!f) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
