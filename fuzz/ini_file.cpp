// Initialization files through the public IniFile interface: a file of the
// input's bytes, reads of the names found in it, and a write of a few keys
// merged into it.
//
// Input: one byte for the number of writes (1 to 4), then each write's
// section, key and value as short texts (cleaned to names and values an
// initialization file can hold), then the file's bytes.
//
// Checks: after Commit every written key reads back with its value, and
// every other key found in the file still reads as it did before.
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "platform/platform.h"
#include "scratch_folder.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

std::string Trim(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The text without control bytes and without the bytes in `banned`, trimmed;
// while it starts with a byte of `bad_start`, that byte goes too.
std::string Clean(std::string_view raw, std::string_view banned, std::string_view bad_start) {
  std::string text;
  for (const char c : raw) {
    if (!IsControl(static_cast<unsigned char>(c)) && banned.find(c) == std::string_view::npos) {
      text += c;
    }
  }
  text = Trim(text);
  while (!text.empty() && bad_start.find(text.front()) != std::string_view::npos) {
    text = Trim(text.substr(1));
  }
  return text;
}

struct Write {
  std::string section;
  std::string key;
  std::string value;
};

using Name = std::pair<std::string, std::string>;  // section and key, lower case

// Section and key names that the file's lines suggest: the text between
// "[" and "]", and the text before "=", trimmed; names with control bytes
// are left out (no caller can ask for them).
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view file) {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find('\n', start);
    if (end == std::string_view::npos) end = file.size();
    const std::string line(file.substr(start, end - start));
    start = end + 1;
    const auto usable = [](const std::string& name) {
      if (name.empty()) return false;
      for (const char c : name) {
        if (IsControl(static_cast<unsigned char>(c))) return false;
      }
      return true;
    };
    const size_t open = line.find('[');
    const size_t close = line.find(']', open == std::string::npos ? 0 : open);
    if (open != std::string::npos && close != std::string::npos) {
      const std::string name = Trim(line.substr(open + 1, close - open - 1));
      if (usable(name) && sections.size() < 3) sections.push_back(name);
    }
    const size_t equals = line.find('=');
    if (equals != std::string::npos) {
      const std::string name = Trim(line.substr(0, equals));
      if (usable(name) && keys.size() < 3) keys.push_back(name);
    }
  }
  std::vector<std::pair<std::string, std::string>> names;
  for (const std::string& section : sections) {
    for (const std::string& key : keys) names.emplace_back(section, key);
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::ScratchFolder folder("sonvio-fuzz-ini");
  const std::string path = (folder.path() / "Sonvio.ini").string();
  fuzz::FuzzInput in(data, size);

  std::vector<Write> writes(1 + in.U8() % 4);
  for (Write& w : writes) {
    w.section = Clean(in.Text(24), "]", "");
    w.key = Clean(in.Text(24), "=", "[;");
    w.value = Clean(in.Text(32), "", "\"'");
    if (w.section.empty()) w.section = "S";
    if (w.key.empty()) w.key = "K";
  }
  const std::string_view file = in.Rest();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    Require(static_cast<bool>(out));
  }

  const auto names = NamesIn(file);
  std::map<Name, std::optional<std::string>> expected;
  platform::IniFile before(path);
  for (const auto& [section, key] : names) {
    expected[{Lower(section), Lower(key)}] = before.Read(section, key);
  }
  for (const Write& w : writes) {
    before.Write(w.section, w.key, w.value);
    expected[{Lower(w.section), Lower(w.key)}] = w.value;
  }
  Require(before.Commit());

  const platform::IniFile after(path);
  for (const auto& [section, key] : names) {
    Require(after.Read(section, key) == expected[{Lower(section), Lower(key)}]);
  }
  for (const Write& w : writes) {
    Require(after.Read(w.section, w.key) == expected[{Lower(w.section), Lower(w.key)}]);
  }
  return 0;
}
