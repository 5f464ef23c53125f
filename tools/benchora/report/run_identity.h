// What a report is about: when and where it was run, with which plug-in,
// over which link, against which handset, with which script. Two handsets'
// reports of the same script differ in these, so each report can be told
// apart and traced back to the handset it judged.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace benchora {

struct RunIdentity {
  std::string timestamp;         // the run's start, ISO 8601 in UTC
  std::string hostname;          // the bench computer
  std::string chip;              // "gen1" or "gen2", as --chip chose
  std::string link;              // how the handset is reached
  std::string plugin;            // the plug-in file
  std::string plugin_version;    // its version, as its panel shows it
  std::string handset;           // the handset's own identity, as the panel read it
  std::string benchora_version;  // this program's
  std::vector<std::pair<std::string, std::string>> scripts;  // path, SHA-256 of its text
  std::string dut;                                           // --dut NAME

  // The identity as named properties in a fixed order, the empty ones left
  // out; scripts as "script" and "script_sha256" (numbered from the second).
  [[nodiscard]] std::vector<std::pair<std::string, std::string>> Properties() const;
};

// 2026-12-07T12:34:56Z
[[nodiscard]] std::string IsoTimestamp(std::chrono::system_clock::time_point when);
// The computer's name; "unknown" when the system does not say.
[[nodiscard]] std::string HostName();

}  // namespace benchora
