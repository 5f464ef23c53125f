// A station file as benchora --station reads it (ReadStationText).
//
// Input: the file's bytes.
//
// Checks: a refusal names the file and, for a line, its number within the
// file, on one line; an accepted station has handsets whose names are
// distinct (as folders on Windows) and make plain folder names, whose chip
// and link agree (the first generation only as sim), whose fault rules are
// checked again alike, and whose lines ascend within the file; reading the
// handsets' lines back alone gives the same handsets.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "options.h"
#include "station/station_file.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto handsets = benchora::ReadStationText(text, "s.txt", error);
  if (!handsets) {
    Require(error.starts_with("s.txt:"), "a refusal names the file");
    Require(error.find('\n') == std::string::npos, "a refusal is one line");
    if (error.size() > 6 && std::isdigit(static_cast<unsigned char>(error[6])) != 0) {
      const long line = std::strtol(error.c_str() + 6, nullptr, 10);
      const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
      Require(line >= 1 && line <= lines, "a refused line lies within the file");
    }
    return 0;
  }
  Require(!handsets->empty(), "an accepted station has handsets");
  std::set<std::string> names;
  int last_line = 0;
  std::string again;
  for (const benchora::StationHandset& h : *handsets) {
    Require(names.insert(Lower(h.name)).second, "names are distinct");
    Require(!h.name.empty() && h.name.size() <= 64 && h.name.front() != '.' &&
                h.name.front() != '-' &&
                std::all_of(h.name.begin(), h.name.end(),
                            [](char c) {
                              return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' ||
                                     c == '_' || c == '-';
                            }),
            "a name makes a plain folder name");
    Require(h.chip == benchora::Chip::kGen2 || h.link == "sim", "gen1 only as sim");
    Require(h.line > last_line, "lines ascend");
    last_line = h.line;
    std::string reason;
    Require(benchora::CheckFaultRules(h.chip, h.faults, h.link == "sim" ? "" : h.link, reason),
            "fault rules check again alike");
    again += h.name + (h.chip == benchora::Chip::kGen2 ? " gen2 " : " gen1 ") + h.link;
    for (const std::string& rule : h.faults) again += " --fault " + rule;
    again += "\n";
  }
  const auto reread = benchora::ReadStationText(again, "s.txt", error);
  Require(reread && reread->size() == handsets->size(), "the handsets read back alike");
  for (size_t i = 0; i < handsets->size(); ++i) {
    Require((*reread)[i].name == (*handsets)[i].name && (*reread)[i].link == (*handsets)[i].link &&
                (*reread)[i].faults == (*handsets)[i].faults,
            "each handset reads back alike");
  }
  return 0;
}
