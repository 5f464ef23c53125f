// The second-generation handset for the host stand-in: the AT server that
// the plug-in's transport connects to, started inside benchora unless an
// external one was named.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_server.h"

namespace benchora {

// Where the address the transport connects to came from.
enum class TargetOrigin { kEmbedded, kOption, kEnvironment, kPluginDefault };

// "from --at-server", "benchora's embedded server", ...
std::string OriginText(TargetOrigin origin);

struct AtServerSetup {
  std::unique_ptr<fmrsim::AtServer> server;  // null when an external one is used
  std::vector<std::string> notes;            // lines to print for the user
  std::string target;                        // HOST:PORT the transport connects to
  TargetOrigin origin = TargetOrigin::kPluginDefault;
  bool told_unreachable = false;  // the user was told before the panel started
};

// With `external` empty: starts the embedded AT server on a free port of
// 127.0.0.1 with the given fault rules (texts already checked by
// ParseFaultRule), so sessions side by side, and other programs holding the
// plug-in's own port 27018, never get in each other's way. Otherwise starts
// nothing and uses the external server. Either way the transport is pointed
// at the server in use and a note names it. False with `error` set when the
// embedded server cannot listen.
bool SetUpAtServer(const std::string& external, const std::vector<std::string>& faults,
                   AtServerSetup& setup, std::string& error);

// For a session without an AT server of benchora's (first generation): the
// address the transport would connect to should the plug-in choose the
// second-generation panel (TESSIC_AT_SERVER, else the plug-in's own).
void NoteTransportTarget(AtServerSetup& setup);

// The address of the plug-in's fixed connection text.
std::string PluginTarget();

}  // namespace benchora
