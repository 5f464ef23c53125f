#include "options.h"

#include <cstdlib>
#include <fstream>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace benchora {
namespace {

// HOST:PORT with a port from 1 to 65535.
bool IsHostPort(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  const std::string port = text.substr(colon + 1);
  char* end = nullptr;
  const long value = std::strtol(port.c_str(), &end, 10);
  return !port.empty() && *end == '\0' && value >= 1 && value <= 65535;
}

// WIDTHxHEIGHT of a frame window, each from 200 to 10000 pixels.
bool ParseFrameSize(const std::string& text, int& width, int& height) {
  char* end = nullptr;
  const long w = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != 'x') return false;
  const char* rest = end + 1;
  const long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0') return false;
  if (w < 200 || w > 10000 || h < 200 || h > 10000) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

}  // namespace

std::string UsageText() {
  std::string text =
      "usage: benchora [options]\n"
      "  --chip gen1|gen2       handset chip generation (default gen1)\n"
      "  --plugin PATH          plug-in to load (default: Sonvio.dll beside benchora)\n"
      "  --script FILE          run the automation commands in FILE\n"
      "  -e CMD                 run one automation command (repeatable)\n"
      "  --interactive          read automation commands from standard input\n"
      "  --strict               exit with status 3 when a command is refused\n"
      "  --at-server HOST:PORT  with --chip gen2: use the AT server at HOST:PORT (for\n"
      "                         example a standalone fmr-sim) instead of starting the\n"
      "                         embedded one on 127.0.0.1:27018; if that port is taken,\n"
      "                         benchora says so and exits with status 1\n"
      "  --fault RULE           a fault of the simulated handset (repeatable).\n"
      "                         With --chip gen2 (embedded AT server): RULE is\n"
      "                         KIND[=VALUE][,on=COMMAND][,count=N] with KIND delay=MS,\n"
      "                         drop, error, malformed or oversize[=BYTES]\n"
      "                         (fmr-sim --help explains them).\n"
      "                         With --chip gen1, see the first-generation faults below.\n"
      "  --output FILE          also write log lines, commands and replies to FILE\n"
      "  --screenshot FILE      save a BMP image of the frame after the commands ran\n"
      "                         (Windows only)\n"
      "  --frame WIDTHxHEIGHT   size of the frame window (Windows only; default\n"
      "                         1024x768)\n";
  text += fmrsim::FaultUsageText();
  text += "  --help                 show this text\n";
  return text;
}

bool ReadScript(const std::string& path, std::vector<std::string>& commands, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read script " + path;
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    commands.push_back(line.substr(first));
  }
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--chip") {
      if (!value(v)) return false;
      if (v == "gen1") {
        options.chip = Chip::kGen1;
      } else if (v == "gen2") {
        options.chip = Chip::kGen2;
      } else {
        error = "--chip takes gen1 or gen2, not " + v;
        return false;
      }
    } else if (arg == "--plugin") {
      if (!value(options.plugin)) return false;
    } else if (arg == "--script") {
      if (!value(v) || !ReadScript(v, options.commands, error)) return false;
    } else if (arg == "-e") {
      if (!value(v)) return false;
      options.commands.push_back(v);
    } else if (arg == "--interactive") {
      options.interactive = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--at-server") {
      if (!value(options.at_server)) return false;
      if (!IsHostPort(options.at_server)) {
        error = "--at-server takes HOST:PORT, not " + options.at_server;
        return false;
      }
    } else if (arg == "--screenshot") {
      if (!value(options.screenshot)) return false;
    } else if (arg == "--frame") {
      if (!value(v)) return false;
      if (!ParseFrameSize(v, options.frame_width, options.frame_height)) {
        error = "--frame takes WIDTHxHEIGHT, not " + v;
        return false;
      }
    } else if (arg == "--fault") {
      // Checked once the chip is known: each generation has its own rules.
      if (!value(v)) return false;
      options.faults.push_back(v);
    } else if (arg == "--output") {
      if (!value(options.output)) return false;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

}  // namespace benchora
