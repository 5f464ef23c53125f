// The second-generation handset for the host stand-in: the AT server that
// the plug-in's transport connects to, started inside benchora unless an
// external one was named.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_server.h"

namespace benchora {

struct AtServerSetup {
  std::unique_ptr<fmrsim::AtServer> server;  // null when an external one is used
  std::vector<std::string> notes;            // lines to print for the user
};

// With `external` empty: starts the embedded AT server on 127.0.0.1:27018
// with the given fault rules (texts already checked by ParseFaultRule).
// Otherwise starts nothing and explains that the external server is used.
// False with `error` set when the embedded server cannot listen.
bool SetUpAtServer(const std::string& external, const std::vector<std::string>& faults,
                   AtServerSetup& setup, std::string& error);

}  // namespace benchora
