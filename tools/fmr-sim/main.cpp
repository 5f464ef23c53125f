// fmr-sim: the simulated second-generation handset as a standalone AT
// server on a TCP port or (POSIX) a pseudo-terminal. Serves until asked to
// stop (stop_signal.h: how, per platform), or until it can no longer write
// its output (output_lines.h), which it reports and exits 1 for.
#ifndef _WIN32
#include <csignal>
#endif
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/gen2/command_fields.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fmr-sim/output_lines.h"
#include "fmr-sim/stop_signal.h"
#include "text/strict_number.h"
#ifndef _WIN32
#include "fmr-sim/pty/pty_server.h"
#endif

namespace {

// A rule that never fired proves nothing: say so at the end.
void ReportUnfired(fmrsim::OutputLines& lines, fmrsim::FaultPlan& plan) {
  for (const std::string& rule : plan.Unfired()) {
    if (!lines.Out("fmr-sim: fault rule \"" + rule + "\" never fired")) return;
  }
}

std::string UsageText() {
  return "usage: fmr-sim [options]\n"
         "Simulated second-generation handset: answers the audio application's AT\n"
         "commands on a TCP port until interrupted (" +
         std::string(fmrsim::StopRequestNames()) +
         ").\n"
         "  --port N              port on 127.0.0.1 (default 27018; 0 picks a free one)\n"
         "  --search-polls N      dynamic-data reads an automatic search stays\n"
         "                        \"ongoing\" (default 3)\n"
         "  --send-deadline MS    drop a client that reads nothing of an answer for\n"
         "                        MS ms (default 5000), with a --verbose line\n"
         "  --verbose             log connections, commands and answers to stderr\n"
         "  --echo never          answer ATE1 with OK but never echo a line (a device\n"
         "                        whose echo cannot be switched on; also with --pty)\n"
#ifndef _WIN32
         "  --pty                 serve on a pseudo-terminal instead, as a handset's\n"
         "                        serial AT port: prints \"fmr-sim: serving on PATH\";\n"
         "                        command lines end in CR. A reader may close the\n"
         "                        slave and open it again (each open starts afresh).\n"
         "                        Only with --pty:\n"
         "  --echo on|off         the echo the device starts with, after each open\n"
         "                        (default on, as a modem's; ATE0/ATE1 switch it)\n"
         "  --line-end cr|crlf    after each reply line and the echo (default crlf)\n"
         "  --unsolicited N       the line \"+FMRX: RSSI 32\" after every N-th answer\n"
         "                        (the echo switch counts; faulted answers get none)\n"
         "  --unsolicited-inside  ... between the answer's first two lines instead\n"
         "  --split N             write at most N bytes with each write()\n"
         "  --baud B              pace both ways as a serial line of B baud (10 bits\n"
         "                        a byte)\n"
         "  --hangup-after N      after N command lines of an open, write the echo and\n"
         "                        half of the answer, then close the device (pulled);\n"
         "                        a new device follows on a new path, printed again\n"
         "                        after \"fmr-sim: hung up after N command lines\"\n"
#endif
         + fmrsim::FaultRuleHelp() +
         "  --help                show this text\n"
         "\n"
         "The commands on=COMMAND names, and the numbers of their replies that\n"
         "value=FIELD:N counts (from 0):\n" +
         fmrsim::CommandFieldListText("      ") +
         "\n"
         "The first-generation handset runs inside benchora (--chip gen1), its faults\n"
         "given there: benchora --fault TARGET:KIND[:ARG].\n" +
         fmrsim::FaultUsageText();
}

// A whole number from `low` to `high` (decimal, or hexadecimal after 0x).
bool ParseNumber(const std::string& text, uint64_t low, uint64_t high, uint64_t& out) {
  const std::optional<uint64_t> value = tooltext::ParseUnsigned(text, high);
  if (!value || *value < low) return false;
  out = *value;
  return true;
}

int Fail(fmrsim::OutputLines& lines, const std::string& message) {
  (void)lines.Log("fmr-sim: " + message + "\n(fmr-sim --help lists the options)");
  (void)lines.Close();
  return 2;
}

// The end of the run: 1 instead of `status` when an output failed (the
// failure is said on the other output, if that still works).
int Finish(fmrsim::OutputLines& lines, int status) {
  return lines.Close() ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
  // Peers and readers that go away show as failed writes (EPIPE), never as
  // a signal that ends the simulator: a client closing its socket early, a
  // pty reader gone, standard output piped into a program that quit.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  fmrsim::OutputLines lines;
  bool verbose = false;
  fmrsim::AtServerConfig config;
  std::vector<fmrsim::FaultRule> faults;
#ifndef _WIN32
  bool pty = false;
  std::string pty_only;  // a pseudo-terminal option given, for the error without --pty
  fmrsim::pty::PtyServerConfig pty_config;
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    uint64_t number = 0;
    if (arg == "--help" || arg == "-h") {
      (void)lines.Out(UsageText());
      return Finish(lines, 0);
    } else if (arg == "--port") {
      if (!has_value || !ParseNumber(argv[++i], 0, 65535, number))
        return Fail(lines, "--port needs a number from 0 to 65535");
      config.port = static_cast<uint16_t>(number);
    } else if (arg == "--search-polls") {
      if (!has_value || !ParseNumber(argv[++i], 0, 1000, number))
        return Fail(lines, "--search-polls needs a number from 0 to 1000");
      config.auto_search_polls = static_cast<int>(number);
    } else if (arg == "--send-deadline") {
      if (!has_value || !ParseNumber(argv[++i], 1, 600000, number))
        return Fail(lines, "--send-deadline needs a number of ms from 1 to 600000");
      config.send_deadline_ms = static_cast<uint32_t>(number);
    } else if (arg == "--verbose") {
      verbose = true;
    } else if (arg == "--echo" && has_value && std::string(argv[i + 1]) == "never") {
      ++i;
      config.never_echo = true;
#ifndef _WIN32
      pty_config.link.never_echo = true;
#endif
    } else if (arg == "--fault") {
      if (!has_value) return Fail(lines, "--fault needs a rule");
      std::string error;
      const auto rule = fmrsim::ParseFaultRule(argv[++i], error);
      if (!rule) return Fail(lines, error);
      faults.push_back(*rule);
#ifndef _WIN32
    } else if (arg == "--pty") {
      pty = true;
    } else if (arg == "--echo") {
      const std::string value = has_value ? argv[++i] : "";
      if (value != "on" && value != "off") return Fail(lines, "--echo needs on, off or never");
      pty_config.link.echo = value == "on";
      pty_only = arg;
    } else if (arg == "--line-end") {
      const std::string value = has_value ? argv[++i] : "";
      if (value != "cr" && value != "crlf") return Fail(lines, "--line-end needs cr or crlf");
      pty_config.link.line_end = value == "cr" ? "\r" : "\r\n";
      pty_only = arg;
    } else if (arg == "--unsolicited") {
      if (!has_value || !ParseNumber(argv[++i], 1, 1000000, number))
        return Fail(lines, "--unsolicited needs a number from 1 to 1000000");
      pty_config.link.unsolicited_every = static_cast<uint32_t>(number);
      pty_only = arg;
    } else if (arg == "--unsolicited-inside") {
      pty_config.link.unsolicited_inside = true;
      pty_only = arg;
    } else if (arg == "--split") {
      if (!has_value || !ParseNumber(argv[++i], 1, 1000000, number))
        return Fail(lines, "--split needs a number from 1 to 1000000");
      pty_config.split = static_cast<uint32_t>(number);
      pty_only = arg;
    } else if (arg == "--baud") {
      if (!has_value || !ParseNumber(argv[++i], 10, 100000000, number))
        return Fail(lines, "--baud needs a number from 10 to 100000000");
      pty_config.baud = static_cast<uint32_t>(number);
      pty_only = arg;
    } else if (arg == "--hangup-after") {
      if (!has_value || !ParseNumber(argv[++i], 1, 1000000, number))
        return Fail(lines, "--hangup-after needs a number from 1 to 1000000");
      pty_config.link.hangup_after = static_cast<uint32_t>(number);
      pty_only = arg;
#endif
    } else {
      return Fail(lines, "unknown option " + arg);
    }
  }

#ifndef _WIN32
  if (!pty_only.empty() && !pty) return Fail(lines, pty_only + " needs --pty");
  if (pty_config.link.unsolicited_inside && pty_config.link.unsolicited_every == 0)
    return Fail(lines, "--unsolicited-inside needs --unsolicited N");
#endif

  // Before the server's threads start, which on POSIX inherit what it blocks.
  std::string error;
  const std::shared_ptr<fmrsim::StopSignal> stop = fmrsim::StopSignal::Catch(error);
  if (!stop) {
    (void)lines.Log("fmr-sim: " + error);
    return Finish(lines, 1);
  }
  // Set before a serving thread can write.
  lines.set_on_failure([stop] { stop->RequestStop(); });
  if (verbose) {
    config.log = [&lines](const std::string& line) { (void)lines.Log("fmr-sim: " + line); };
  }
  // The closing lines, unless an output failed (which ended the wait).
  auto closing_lines = [&lines](const std::string& reason, fmrsim::FaultPlan& plan) {
    if (lines.failed()) return;
    if (lines.Out("fmr-sim: stopped by " + reason)) ReportUnfired(lines, plan);
  };
#ifndef _WIN32
  if (pty) {
    pty_config.auto_search_polls = config.auto_search_polls;
    pty_config.log = config.log;
    pty_config.announce = [&lines](const std::string& line) {
      (void)lines.Out("fmr-sim: " + line);
    };
    const auto device = fmrsim::pty::PtyServer::Start(std::move(pty_config), error);
    if (!device) {
      (void)lines.Log("fmr-sim: cannot open a pseudo-terminal: " + error);
      return Finish(lines, 1);
    }
    for (auto& rule : faults) device->faults().Add(std::move(rule));
    const std::string reason = stop->Wait();
    closing_lines(reason, device->faults());
    return Finish(lines, 0);
  }
#endif
  const auto server = fmrsim::AtServer::Start(std::move(config), error);
  if (!server) {
    (void)lines.Log("fmr-sim: cannot start the AT server: " + error);
    return Finish(lines, 1);
  }
  for (auto& rule : faults) server->faults().Add(std::move(rule));
  if (lines.Out("fmr-sim: AT server listening on " + server->address() + ":" +
                std::to_string(server->port()))) {
    const std::string reason = stop->Wait();
    closing_lines(reason, server->faults());
  }
  return Finish(lines, 0);
}
