#include "station/station_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>

#include "options.h"
#include "serial_link.h"

namespace benchora {
namespace {

constexpr size_t kMaxName = 64;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The words of a line up to a word starting with #.
std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size() || line[i] == '#') break;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

// A name that makes a folder on every platform.
std::string NameProblem(const std::string& name) {
  if (name.size() > kMaxName)
    return "the handset name " + name + " is longer than " + std::to_string(kMaxName);
  const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '_' || c == '-';
  });
  if (!plain || name.front() == '.' || name.front() == '-')
    return "the handset name " + name +
           " is more than letters, digits, '.', '_' and '-' (and starts with a letter, digit or "
           "'_')";
  // Windows keeps these names for its devices, whatever the extension.
  const std::string stem = Lower(name.substr(0, name.find('.')));
  static constexpr std::array<std::string_view, 4> kDevices = {"con", "prn", "aux", "nul"};
  const bool numbered = stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt")) &&
                        stem[3] >= '1' && stem[3] <= '9';
  if (numbered || std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end())
    return "the handset name " + name + " is a device name on Windows";
  return {};
}

// What makes two links the same: the serial device, or the host and port.
std::string LinkKey(const std::string& link) {
  tessic::SerialTarget serial;
  std::string ignored;
  if (tessic::ReadSerialText(link, tessic::kNativeNaming, serial, ignored) ==
      tessic::SerialText::kTarget) {
    return "serial " + (tessic::kNativeNaming == tessic::SerialNaming::kComPort ? Lower(serial.path)
                                                                                : serial.path);
  }
  return "tcp " + Lower(link);
}

// One line's handset; empty `error` when it is good.
StationHandset ReadLine(const std::vector<std::string>& words, std::string& error) {
  StationHandset handset;
  if (words.size() < 3) {
    error = "a handset line is NAME CHIP LINK [--fault RULE]...";
    return handset;
  }
  handset.name = words[0];
  if (error = NameProblem(handset.name); !error.empty()) return handset;
  if (words[1] == "gen1") {
    handset.chip = Chip::kGen1;
  } else if (words[1] == "gen2") {
    handset.chip = Chip::kGen2;
  } else {
    error = "the chip is gen1 or gen2, not " + words[1];
    return handset;
  }
  handset.link = words[2];
  if (handset.link != "sim") {
    if (handset.chip == Chip::kGen1) {
      error =
          "a first-generation handset is reached only as sim (the simulated handset behind "
          "the host's callbacks), not " +
          handset.link;
      return handset;
    }
    std::string reason;
    if (!CheckAtServer(handset.link, reason)) {
      // A text that names no serial port at all, or a port this platform
      // cannot open as written.
      error = reason.starts_with("takes ")
                  ? "the link is sim, HOST:PORT or serial:DEVICE[,BAUD], not " + handset.link
                  : "the link " + handset.link + ": " + reason;
      return handset;
    }
  }
  for (size_t i = 3; i < words.size(); i += 2) {
    if (words[i] != "--fault") {
      error = "after the link only --fault RULE may follow, not " + words[i];
      return handset;
    }
    if (i + 1 >= words.size()) {
      error = "--fault needs a rule";
      return handset;
    }
    handset.faults.push_back(words[i + 1]);
  }
  // Sets `error` when a rule is refused.
  static_cast<void>(CheckFaultRules(handset.chip, handset.faults,
                                    handset.link == "sim" ? "" : handset.link, error));
  return handset;
}

}  // namespace

std::optional<std::vector<StationHandset>> ReadStationText(std::string_view text,
                                                           const std::string& file,
                                                           std::string& error) {
  std::vector<StationHandset> handsets;
  std::vector<std::string> link_keys;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    const std::string where = file + ":" + std::to_string(number) + ": ";
    std::string reason;
    StationHandset handset = ReadLine(words, reason);
    if (!reason.empty()) {
      error = where + reason;
      return std::nullopt;
    }
    handset.line = number;
    const std::string key = handset.link == "sim" ? std::string() : LinkKey(handset.link);
    for (size_t i = 0; i < handsets.size(); ++i) {
      if (Lower(handsets[i].name) == Lower(handset.name)) {
        error = where + "the handset name " + handset.name + " is already on line " +
                std::to_string(handsets[i].line);
        return std::nullopt;
      }
      if (!key.empty() && link_keys[i] == key) {
        error = where + "the link " + handset.link + " is already handset " + handsets[i].name +
                "'s (line " + std::to_string(handsets[i].line) + ")";
        return std::nullopt;
      }
    }
    handsets.push_back(std::move(handset));
    link_keys.push_back(key);
  }
  if (handsets.empty()) {
    error = file + ": no handsets (a line NAME CHIP LINK [--fault RULE]... each)";
    return std::nullopt;
  }
  return handsets;
}

std::optional<std::vector<StationHandset>> ReadStationFile(const std::string& path,
                                                           std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the station file " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ReadStationText(text.str(), path, error);
}

}  // namespace benchora
