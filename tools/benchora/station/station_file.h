// The station file: the handsets a station runs its script on, one a line:
//   NAME CHIP LINK [--fault RULE]...
// NAME names the handset's folder and its report suite (letters, digits,
// '.', '_' and '-'); CHIP is gen1 or gen2; LINK is sim (benchora's own
// simulated handset, the only link of the first generation), HOST:PORT or a
// serial port as --at-server takes it. A word starting with # starts a
// comment. Everything is checked before anything starts: names and links
// used twice are refused, and fault rules as --fault checks them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/handset.h"

namespace benchora {

struct StationHandset {
  std::string name;
  Chip chip = Chip::kGen1;
  std::string link;  // "sim", HOST:PORT, serial:DEVICE[,BAUD], COMn
  std::vector<std::string> faults;
  int line = 0;  // in the station file
};

// The handsets of a station file's `text`; nullopt with `error` set to
// "FILE:LINE: reason" (or "FILE: reason") when anything is wrong.
[[nodiscard]] std::optional<std::vector<StationHandset>> ReadStationText(std::string_view text,
                                                                         const std::string& file,
                                                                         std::string& error);
// The same for the file at `path`.
[[nodiscard]] std::optional<std::vector<StationHandset>> ReadStationFile(const std::string& path,
                                                                         std::string& error);

}  // namespace benchora
