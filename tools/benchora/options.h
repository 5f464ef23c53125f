// Command-line options of the host stand-in (shared by its Linux and Windows
// front ends).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "link/handset.h"
#include "script/script.h"

namespace benchora {

struct Options {
  Chip chip = Chip::kGen1;
  std::string plugin;                   // empty: Sonvio.dll beside the program
  std::vector<ScriptCommand> commands;  // of -e and --script, in the order given
  bool interactive = false;
  bool strict = false;
  std::string at_server;            // external AT server: HOST:PORT or a serial port
  std::vector<std::string> faults;  // --fault rules; their syntax depends on --chip
  std::string screenshot;           // Windows front end only
  int frame_width = 1024;           // Windows front end only: the frame window's size
  int frame_height = 768;
  std::string output;                // also write the transcript to this file
  bool rds = false;                  // report the RDS station decoded from the handset's replies
  std::string report;                // JUnit XML of the checks and of what went wrong
  std::string csv;                   // a row for each check and sample
  bool json = false;                 // a JSON line for each check and sample on standard output
  std::string dut;                   // the device under test, as the reports name it
  int timeout_s = 0;                 // the whole run's limit; 0: none
  std::vector<std::string> scripts;  // the --script files, in the order given
  bool help = false;
  bool list_ports = false;  // print the serial ports and exit
  // Where the commands came from, in the order given: {"--script", FILE} or
  // {"-e", COMMAND}; a station hands them on to each handset's run.
  std::vector<std::pair<std::string, std::string>> command_sources;
  std::string station;   // --station FILE: the handsets to run the commands on
  std::string out;       // --station's folder; empty: station-YYYYMMDD-HHMMSS
  std::string progress;  // a station's handset run: where it tells its progress
};

// HOST:PORT or a serial port as --at-server takes it; false with `error` set.
[[nodiscard]] bool CheckAtServer(const std::string& text, std::string& error);
// --fault rules checked in the syntax of `chip`'s generation; a rule for a
// handset behind `at_server` (not benchora's) is refused too. False with
// `error` set.
[[nodiscard]] bool CheckFaultRules(Chip chip, const std::vector<std::string>& faults,
                                   const std::string& at_server, std::string& error);

// False with `error` set for unknown options, missing values and scripts
// that cannot be read.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);
std::string UsageText();

}  // namespace benchora
