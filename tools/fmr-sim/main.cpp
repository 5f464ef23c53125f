// fmr-sim: the simulated second-generation handset as a standalone AT
// server. Serves until asked to stop (stop_signal.h: how, per platform).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fmr-sim/stop_signal.h"

namespace {

std::string UsageText() {
  return "usage: fmr-sim [options]\n"
         "Simulated second-generation handset: answers the audio application's AT\n"
         "commands on a TCP port until interrupted (" +
         std::string(fmrsim::StopRequestNames()) +
         ").\n"
         "  --port N              port on 127.0.0.1 (default 27018; 0 picks a free one)\n"
         "  --search-polls N      dynamic-data reads an automatic search stays\n"
         "                        \"ongoing\" (default 3)\n"
         "  --verbose             log connections, commands and answers to stderr\n" +
         fmrsim::FaultRuleHelp() + "  --help                show this text\n";
}

bool ParseNumber(const std::string& text, long max, long& out) {
  char* end = nullptr;
  out = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && end != nullptr && *end == '\0' && out >= 0 && out <= max;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "fmr-sim: %s\n%s", message.c_str(), UsageText().c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  fmrsim::AtServerConfig config;
  std::vector<fmrsim::FaultRule> faults;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    long number = 0;
    if (arg == "--help" || arg == "-h") {
      std::printf("%s", UsageText().c_str());
      return 0;
    } else if (arg == "--port") {
      if (!has_value || !ParseNumber(argv[++i], 65535, number))
        return Fail("--port needs a number from 0 to 65535");
      config.port = static_cast<uint16_t>(number);
    } else if (arg == "--search-polls") {
      if (!has_value || !ParseNumber(argv[++i], 1000, number))
        return Fail("--search-polls needs a number from 0 to 1000");
      config.auto_search_polls = static_cast<int>(number);
    } else if (arg == "--verbose") {
      config.log = [](const std::string& line) {
        std::fprintf(stderr, "fmr-sim: %s\n", line.c_str());
      };
    } else if (arg == "--fault") {
      if (!has_value) return Fail("--fault needs a rule");
      std::string error;
      const auto rule = fmrsim::ParseFaultRule(argv[++i], error);
      if (!rule) return Fail(error);
      faults.push_back(*rule);
    } else {
      return Fail("unknown option " + arg);
    }
  }

  // Before the server's threads start, which on POSIX inherit what it blocks.
  std::string error;
  const auto stop = fmrsim::StopSignal::Catch(error);
  if (!stop) {
    std::fprintf(stderr, "fmr-sim: %s\n", error.c_str());
    return 1;
  }
  const auto server = fmrsim::AtServer::Start(std::move(config), error);
  if (!server) {
    std::fprintf(stderr, "fmr-sim: cannot start the AT server: %s\n", error.c_str());
    return 1;
  }
  for (auto& rule : faults) server->faults().Add(std::move(rule));
  std::printf("fmr-sim: AT server listening on %s:%u\n", server->address().c_str(),
              static_cast<unsigned>(server->port()));
  std::fflush(stdout);

  const std::string reason = stop->Wait();
  std::printf("fmr-sim: stopped by %s\n", reason.c_str());
  return 0;
}
