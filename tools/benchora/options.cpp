#include "options.h"

#include <string_view>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen2/command_fields.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "report/report_file.h"
#include "serial_link.h"
#include "text/strict_number.h"

namespace benchora {
namespace {

// HOST:PORT with a port from 1 to 65535.
bool IsHostPort(const std::string& text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  return tooltext::ParseInteger(std::string_view(text).substr(colon + 1), 1, 65535).has_value();
}

// WIDTHxHEIGHT of a frame window, each from 200 to 10000 pixels.
bool ParseFrameSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const std::optional<int64_t> w = tooltext::ParseInteger(text.substr(0, x), 200, 10000);
  const std::optional<int64_t> h = tooltext::ParseInteger(text.substr(x + 1), 200, 10000);
  if (!w || !h) return false;
  width = static_cast<int>(*w);
  height = static_cast<int>(*h);
  return true;
}

// An output that would overwrite an input, or another output, is refused.
bool CheckOutputs(const Options& options, std::string& error) {
  const std::pair<const char*, const std::string*> outputs[] = {
      {"--report", &options.report}, {"--csv", &options.csv}, {"--output", &options.output}};
  for (size_t i = 0; i < std::size(outputs); ++i) {
    const auto& [option, path] = outputs[i];
    if (path->empty()) continue;
    for (const std::string& script : options.scripts) {
      if (SameFile(*path, script)) {
        error = std::string(option) + " " + *path + " is the script " + script +
                ": it would be overwritten";
        return false;
      }
    }
    if (!options.plugin.empty() && SameFile(*path, options.plugin)) {
      error = std::string(option) + " " + *path + " is the plug-in: it would be overwritten";
      return false;
    }
    for (size_t j = 0; j < i; ++j) {
      if (!outputs[j].second->empty() && SameFile(*path, *outputs[j].second)) {
        error = std::string(option) + " and " + outputs[j].first + " name the same file " + *path;
        return false;
      }
    }
  }
  return true;
}

// With --station the handsets, their chips, links and faults come from the
// station file: the options that name one handset are refused.
bool CheckStationOptions(const Options& options, std::string& error) {
  if (options.station.empty()) {
    if (!options.out.empty()) error = "--out needs --station";
    return options.out.empty();
  }
  const char* single = options.interactive          ? "--interactive"
                       : !options.at_server.empty() ? "--at-server"
                       : !options.faults.empty()    ? "--fault"
                       : !options.dut.empty()       ? "--dut"
                       : options.json               ? "--json"
                                                    : nullptr;
  if (single != nullptr) {
    error = std::string(single) + " names one handset: with --station the station file says it";
    return false;
  }
  // One transcript file or picture cannot hold several handsets: each
  // handset's transcript is in its folder, and a station shows no frame.
  if (!options.output.empty()) {
    error = "--output is not for a station: each handset's transcript is in its folder under --out";
    return false;
  }
  if (!options.screenshot.empty()) {
    error = "--screenshot is not for a station: its handsets run without a window";
    return false;
  }
  if (options.commands.empty()) {
    error = "--station needs the commands to run (--script FILE or -e CMD)";
    return false;
  }
  return true;
}

}  // namespace

bool CheckAtServer(const std::string& text, std::string& error) {
  tessic::SerialTarget serial;
  std::string reason;
  const tessic::SerialText read =
      tessic::ReadSerialText(text, tessic::kNativeNaming, serial, reason);
  if (read == tessic::SerialText::kRefused) {
    error = reason;
    return false;
  }
  if (read == tessic::SerialText::kOther && !IsHostPort(text)) {
    error = "takes HOST:PORT or serial:DEVICE[,BAUD], not " + text;
    return false;
  }
  return true;
}

// Every --fault rule checked in the syntax of the chip's generation, before
// anything starts: a rule that could never take effect is refused here.
bool CheckFaultRules(Chip chip, const std::vector<std::string>& faults,
                     const std::string& at_server, std::string& error) {
  for (const std::string& text : faults) {
    std::string reason;
    bool ok = false;
    if (chip == Chip::kGen2) {
      ok = fmrsim::ParseFaultRule(text, reason).has_value();
    } else {
      fmrsim::Gen1FaultTarget target;
      fmrsim::Gen1Fault fault;
      ok = fmrsim::ParseGen1Fault(text, target, fault, reason);
    }
    if (!ok) {
      error =
          "--fault (--chip " + std::string(chip == Chip::kGen2 ? "gen2" : "gen1") + "): " + reason;
      return false;
    }
  }
  // A rule for a handset benchora does not simulate would never fire, and
  // the run would pass without the fault it was meant to meet.
  if (chip == Chip::kGen2 && !faults.empty() && !at_server.empty()) {
    error = "--fault needs the embedded AT server; with --at-server " + at_server +
            " the handset is not benchora's (give the rules to fmr-sim --fault there)";
    return false;
  }
  return true;
}

std::string UsageText() {
  std::string text =
      "usage: benchora [options]\n"
      "Loads the plug-in, hands it a simulated handset, shows its panel and runs\n"
      "automation commands on it. It prints the plug-in's log lines (LOG[1] text;\n"
      "LOG[0] is an error line), each command (> command), the message boxes the\n"
      "command showed (DIALOG caption: text), its reply, and a mark when something\n"
      "went wrong in it (!! command: 1 error line). `benchora -e help` lists the\n"
      "automation commands.\n"
      "\n"
      "  --chip gen1|gen2       handset chip generation (default gen1)\n"
      "  --plugin PATH          plug-in to load (default: Sonvio.dll beside benchora)\n"
      "  --script FILE          run the automation commands in FILE: one a line; blank\n"
      "                         lines and lines starting with # are skipped; a line\n"
      "                           @expect error|box|refused [TEXT]\n"
      "                         says that the next command is meant to log an error\n"
      "                         line, show a message box or be refused (TEXT: part of\n"
      "                         that line, box or reply)\n"
      "  -e CMD                 run one automation command (repeatable; -e and --script\n"
      "                         run in the order given)\n"
      "  --interactive          then read commands from standard input (on a terminal\n"
      "                         with a prompt; help lists them, quit leaves)\n"
      "  --strict               stop at the first command that is refused, logs an error\n"
      "                         line or shows a message box where no @expect says so (or\n"
      "                         whose @expect is not met), name it, and exit with status 1\n"
      "  --at-server HOST:PORT  with --chip gen2: use the AT server at HOST:PORT (for\n"
      "                         example a standalone fmr-sim) instead of starting the\n"
      "                         embedded one, which listens on a free port of 127.0.0.1\n"
      "                         and is named in the transcript's first line.\n"
      "                         serial:DEVICE[,BAUD]: the handset's serial AT port, e.g.\n"
      "                         serial:/dev/ttyACM0 on Linux, COM7 or serial:COM7,115200\n"
      "                         on Windows (BAUD 115200 unless given)\n"
      "  --list-ports           list the serial ports and what identifies them (USB\n"
      "                         vendor:product, product and serial number), then exit\n"
      "  --fault RULE           a fault of the simulated handset (repeatable), checked\n"
      "                         before anything starts: a rule that names no message,\n"
      "                         command or field, or whose number does not fit, is\n"
      "                         refused (exit status 2).\n"
      "                         With --chip gen2 (embedded AT server): RULE is\n"
      "                         KIND[=VALUE][,on=COMMAND][,count=N] with KIND delay=MS,\n"
      "                         drop, error, malformed, oversize[=BYTES], late,\n"
      "                         trickle[=MS], duplicate, partial, stray, garbage[=BYTES]\n"
      "                         or value=FIELD:N (with on=COMMAND: the reply's FIELD-th\n"
      "                         number carries N; fmr-sim --help explains them all; the\n"
      "                         commands and their numbered reply fields are listed at\n"
      "                         the end). A rule that never fired is named at the end\n"
      "                         of the run.\n"
      "                         With --chip gen1, see the first-generation faults below.\n"
      "  --output FILE          also write log lines, commands and replies to FILE\n"
      "  --rds                  decode the RDS groups the panel receives (gen1: the\n"
      "                         handset's replies; gen2: the RDS reports the panel\n"
      "                         reads, over any link) and print the station (PI,\n"
      "                         programme type, PS name, radio text) whenever it\n"
      "                         changes; checks read it since the last tuning\n"
      "                         (verify rds.ps = \"ROCK 95 \", rds.groups, rds.bler)\n"
      "  --report FILE.xml      write a JUnit XML report: a test suite per script, a test\n"
      "                         case per check (verify) and per command that went wrong\n"
      "                         where no @expect said so, with the script's file:line\n"
      "  --csv FILE             write a row per check and per sample: time_ms, name,\n"
      "                         value, unit, low, high, verdict, origin, dut (after #\n"
      "                         lines naming the run: chip, link, handset, script...)\n"
      "  --json                 print a JSON line per check, sample and problem\n"
      "                         (the reports are put in place when the run ends, however\n"
      "                         it ends: an older report is never emptied)\n"
      "  --dut NAME             the device under test, named in every report\n"
      "  --station FILE         run the commands on every handset FILE lists, each in\n"
      "                         its own process, at the same time: a line\n"
      "                           NAME gen1|gen2 LINK [--fault RULE]...\n"
      "                         per handset (LINK: sim, the simulated handset;\n"
      "                         HOST:PORT or serial:DEVICE[,BAUD] for gen2; # starts a\n"
      "                         comment). Progress is shown a line per handset, then\n"
      "                         a table; --report and --csv cover every handset, each\n"
      "                         a suite of its own (exit status 1 when any failed)\n"
      "  --out DIR              with --station: a folder per handset in DIR (its logs,\n"
      "                         settings, transcript and reports); default\n"
      "                         station-YYYYMMDD-HHMMSS\n"
      "  --timeout SECONDS      end a run that takes longer, reporting the step it hung\n"
      "                         on as an error (exit status 1)\n"
      "  --screenshot FILE      save a BMP image of the frame after the commands ran\n"
      "                         (Windows only)\n"
      "  --frame WIDTHxHEIGHT   size of the frame window (Windows only; default\n"
      "                         1024x768)\n";
  text += fmrsim::FaultUsageText();
  text +=
      "      slot54 faults meet the chip probe too: a failed probe selects the\n"
      "      second-generation panel, which then looks for an AT server\n"
      "  --help                 show this text\n"
      "\n"
      "Exit status: 0 when the commands ran (and, with --strict, nothing unexpected\n"
      "went wrong), 1 when the session could not start, --strict stopped it or a\n"
      "check failed, 2 for bad options, a refused --fault rule or a script that\n"
      "cannot be read.\n"
      "\n"
      "With --chip gen2, the commands --fault's on=COMMAND names, and the numbers of\n"
      "their replies that value=FIELD:N counts (from 0):\n";
  text += fmrsim::CommandFieldListText("      ");
  return text;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  ScriptReader reader;
  int e_count = 0;
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
    } else if (arg == "--list-ports") {
      options.list_ports = true;
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
      if (!value(v) || !ReadScript(v, reader, options.commands, error)) return false;
      options.scripts.push_back(v);
      options.command_sources.emplace_back(arg, v);
    } else if (arg == "-e") {
      if (!value(v)) return false;
      if (!reader.Add(v, "-e " + std::to_string(++e_count), options.commands, error)) return false;
      options.command_sources.emplace_back(arg, v);
    } else if (arg == "--interactive") {
      options.interactive = true;
    } else if (arg == "--strict") {
      options.strict = true;
    } else if (arg == "--at-server") {
      if (!value(options.at_server)) return false;
      if (!CheckAtServer(options.at_server, v)) {
        error = "--at-server" + std::string(v.starts_with("takes") ? " " : ": ") + v;
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
    } else if (arg == "--rds") {
      options.rds = true;
    } else if (arg == "--report") {
      if (!value(options.report)) return false;
    } else if (arg == "--csv") {
      if (!value(options.csv)) return false;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--dut") {
      if (!value(options.dut)) return false;
      if (options.dut.empty()) {
        error = "--dut takes a name for the device under test";
        return false;
      }
    } else if (arg == "--timeout") {
      if (!value(v)) return false;
      const std::optional<int64_t> seconds = tooltext::ParseInteger(v, 1, 604800);
      if (!seconds) {
        error = "--timeout takes whole seconds from 1 to 604800, not " + v;
        return false;
      }
      options.timeout_s = static_cast<int>(*seconds);
    } else if (arg == "--station") {
      if (!value(options.station)) return false;
    } else if (arg == "--out") {
      if (!value(options.out)) return false;
    } else if (arg == "--progress-to") {
      // Not in the usage text: a station gives it to each handset's run.
      if (!value(options.progress)) return false;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  // The chip is known only now, whatever the order of the options.
  return reader.Finish(error) &&
         CheckFaultRules(options.chip, options.faults, options.at_server, error) &&
         CheckStationOptions(options, error) && CheckOutputs(options, error);
}

}  // namespace benchora
