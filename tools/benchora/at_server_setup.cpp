#include "at_server_setup.h"

#include <cstdlib>

#include "fmr-sim/gen2/fault_plan.h"

namespace benchora {
namespace {

// The plug-in's transport connects to this fixed address.
const std::string kPluginTarget = "127.0.0.1:" + std::to_string(fmrsim::kDefaultAtPort);

void SetTransportTarget(const std::string& host_port) {
#if defined(_WIN32)
  _putenv_s("TESSIC_AT_SERVER", host_port.c_str());
#else
  ::setenv("TESSIC_AT_SERVER", host_port.c_str(), 1);
#endif
}

}  // namespace

bool SetUpAtServer(const std::string& external, const std::vector<std::string>& faults,
                   AtServerSetup& setup, std::string& error) {
  if (!external.empty()) {
    // The transport stand-in reads TESSIC_AT_SERVER in place of the address
    // of the plug-in's fixed connection text, so any server can be used.
    SetTransportTarget(external);
    setup.notes.push_back("not starting the embedded AT server; the AT server at " + external +
                          " is used");
    if (!faults.empty())
      setup.notes.push_back("warning: --fault applies only to the embedded server");
    return true;
  }

  // Rules are checked before the server starts, so a typo never leaves a
  // server running without the fault the user asked for.
  std::vector<fmrsim::FaultRule> rules;
  for (const std::string& text : faults) {
    std::string reason;
    auto rule = fmrsim::ParseFaultRule(text, reason);
    if (!rule) {
      error = "bad --fault rule '" + text + "': " + reason;
      return false;
    }
    rules.push_back(*rule);
  }

  fmrsim::AtServerConfig config;
  config.port = fmrsim::kDefaultAtPort;
  std::string reason;
  setup.server = fmrsim::AtServer::Start(std::move(config), reason);
  if (!setup.server) {
    error = "cannot start the embedded AT server: " + reason +
            ".\nStop the program that holds the port, or pass --at-server " + kPluginTarget +
            " to use the server already listening there.";
    return false;
  }
  for (const fmrsim::FaultRule& rule : rules) setup.server->faults().Add(rule);
  setup.notes.push_back("embedded AT server (simulated handset) listening on " + kPluginTarget);
  return true;
}

}  // namespace benchora
