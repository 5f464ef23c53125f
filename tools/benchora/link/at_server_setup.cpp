#include "link/at_server_setup.h"

#include <cstdlib>

#include "fmr-sim/gen2/fault_plan.h"

namespace benchora {
namespace {

// The transport stand-in connects to the server this variable names in
// place of the address of the plug-in's connection text.
constexpr char kTargetVariable[] = "TESSIC_AT_SERVER";

void SetTransportTarget(const std::string& host_port) {
#if defined(_WIN32)
  _putenv_s(kTargetVariable, host_port.c_str());
#else
  ::setenv(kTargetVariable, host_port.c_str(), 1);
#endif
}

std::string InheritedTarget() {
  const char* value = std::getenv(kTargetVariable);
  return value != nullptr ? value : "";
}

}  // namespace

std::string OriginText(TargetOrigin origin) {
  switch (origin) {
    case TargetOrigin::kEmbedded:
      return "benchora's embedded server";
    case TargetOrigin::kOption:
      return "from --at-server";
    case TargetOrigin::kEnvironment:
      return std::string("from ") + kTargetVariable;
    case TargetOrigin::kPluginDefault:
      break;
  }
  return "the plug-in's connection text";
}

std::string PluginTarget() {
  return "127.0.0.1:" + std::to_string(fmrsim::kDefaultAtPort);
}

bool SetUpAtServer(const std::string& external, const std::vector<std::string>& faults,
                   AtServerSetup& setup, std::string& error) {
  if (!external.empty()) {
    SetTransportTarget(external);
    setup.target = external;
    setup.origin = TargetOrigin::kOption;
    setup.notes.push_back("AT server " + external +
                          " (from --at-server; the embedded one is not started)");
    return true;
  }

  // Rules are checked before the server starts, so a typo never leaves a
  // server running without the fault the user asked for.
  std::vector<fmrsim::FaultRule> rules;
  for (const std::string& text : faults) {
    std::string reason;
    auto rule = fmrsim::ParseFaultRule(text, reason);
    if (!rule) {
      error = reason;
      return false;
    }
    rules.push_back(*rule);
  }

  fmrsim::AtServerConfig config;
  config.port = 0;  // a free one
  std::string reason;
  setup.server = fmrsim::AtServer::Start(std::move(config), reason);
  if (!setup.server) {
    error = "cannot start the embedded AT server: " + reason +
            ".\nPass --at-server HOST:PORT to use a server that is already running.";
    return false;
  }
  const std::string target = setup.server->address() + ":" + std::to_string(setup.server->port());
  for (const fmrsim::FaultRule& rule : rules) setup.server->faults().Add(rule);

  // An address inherited from the environment would send the plug-in past
  // the server started here.
  if (const std::string inherited = InheritedTarget(); !inherited.empty()) {
    setup.notes.push_back("ignoring " + std::string(kTargetVariable) + "=" + inherited +
                          "; pass --at-server " + inherited + " to use that server");
  }
  SetTransportTarget(target);
  setup.target = target;
  setup.origin = TargetOrigin::kEmbedded;
  setup.notes.push_back("embedded AT server (simulated handset) listening on " + target);
  return true;
}

void NoteTransportTarget(AtServerSetup& setup) {
  const std::string inherited = InheritedTarget();
  setup.target = inherited.empty() ? PluginTarget() : inherited;
  setup.origin = inherited.empty() ? TargetOrigin::kPluginDefault : TargetOrigin::kEnvironment;
}

}  // namespace benchora
