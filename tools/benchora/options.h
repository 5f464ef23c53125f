// Command-line options of the host stand-in (shared by its Linux and Windows
// front ends).
#pragma once

#include <string>
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
};

// False with `error` set for unknown options, missing values and scripts
// that cannot be read.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);
std::string UsageText();

}  // namespace benchora
