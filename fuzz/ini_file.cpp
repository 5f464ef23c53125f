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
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_input.h"
#include "platform/platform.h"
#include "scratch_folder.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The text without the blanks (as isspace finds them) at either end.
std::string Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  const size_t start = std::min(text.find_first_not_of(kBlanks), text.size());
  return std::string(text.substr(start, text.find_last_not_of(kBlanks) + 1 - start));
}

using Name = std::pair<std::string, std::string>;  // section and key

// The name in lower case, as reads compare it.
Name Lower(Name name) {
  for (std::string* text : {&name.first, &name.second}) {
    for (char& c : *text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

// The text without control bytes and without the bytes in `banned`, trimmed;
// while it starts with a byte of `bad_start`, that byte goes too.
std::string Clean(std::string_view raw, std::string_view banned, std::string_view bad_start) {
  std::string text;
  for (const char c : raw) {
    if (!IsControl(c) && banned.find(c) == std::string_view::npos) text += c;
  }
  text = Trim(text);
  while (!text.empty() && bad_start.find(text.front()) != std::string_view::npos) {
    text = Trim(std::string_view(text).substr(1));
  }
  return text;
}

// Section and key names that the file's lines suggest, up to three of each,
// every section with every key: the text between "[" and "]", and the text
// before "=", trimmed; names with control bytes are left out (no caller can
// ask for them).
std::vector<Name> NamesIn(std::string_view file) {
  std::vector<std::string> sections, keys;
  const auto take = [](std::vector<std::string>& names, std::string name) {
    if (!name.empty() && names.size() < 3 && std::none_of(name.begin(), name.end(), IsControl)) {
      names.push_back(std::move(name));
    }
  };
  for (size_t start = 0, end = 0; start < file.size(); start = end + 1) {
    end = std::min(file.find('\n', start), file.size());
    const std::string_view line = file.substr(start, end - start);
    const size_t open = line.find('['), close = line.find(']', open), equals = line.find('=');
    if (close != std::string_view::npos)
      take(sections, Trim(line.substr(open + 1, close - open - 1)));
    if (equals != std::string_view::npos) take(keys, Trim(line.substr(0, equals)));
  }
  std::vector<Name> names;
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

  std::vector<std::pair<Name, std::string>> writes(1 + in.U8() % 4);
  for (auto& [name, value] : writes) {
    name.first = Clean(in.Text(24), "]", "");
    name.second = Clean(in.Text(24), "=", "[;");
    value = Clean(in.Text(32), "", "\"'");
    if (name.first.empty()) name.first = "S";
    if (name.second.empty()) name.second = "K";
  }
  const std::string_view file = in.Rest();
  Require(static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::trunc)
                                .write(file.data(), static_cast<std::streamsize>(file.size()))));

  // Every name found in the file reads as before, unless written; every
  // written one reads its value.
  std::vector<Name> names = NamesIn(file);
  std::map<Name, std::optional<std::string>> expected;
  platform::IniFile before(path);
  for (const auto& [section, key] : names)
    expected[Lower({section, key})] = before.Read(section, key);
  for (const auto& [name, value] : writes) {
    before.Write(name.first, name.second, value);
    expected[Lower(name)] = value;
    names.push_back(name);
  }
  Require(before.Commit());
  const platform::IniFile after(path);
  for (const auto& [section, key] : names) {
    Require(after.Read(section, key) == expected[Lower({section, key})]);
  }
  return 0;
}
