#include "at_server_setup.h"

#include "fault_plan.h"

namespace benchora {
namespace {

// The plug-in's transport connects to this fixed address.
const std::string kPluginTarget = "127.0.0.1:" + std::to_string(fmrsim::kDefaultAtPort);

}  // namespace

bool SetUpAtServer(const std::string& external, const std::vector<std::string>& faults,
                   AtServerSetup& setup, std::string& error) {
  if (!external.empty()) {
    setup.notes.push_back("not starting the embedded AT server; the AT server at " + external +
                          " is used");
    const std::string port = external.substr(external.rfind(':') + 1);
    const std::string host = external.substr(0, external.rfind(':'));
    const bool loopback = host == "127.0.0.1" || host == "localhost";
    if (!loopback || port != std::to_string(fmrsim::kDefaultAtPort)) {
      setup.notes.push_back("warning: the plug-in always connects to " + kPluginTarget +
                            ", so it will not reach " + external +
                            " unless that server is also reachable there");
    }
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
