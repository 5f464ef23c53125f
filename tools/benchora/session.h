// The host's part of a bench session, shared by the command-line and the
// Windows front ends: hand the plug-in its callbacks and the simulated
// handset, and run automation commands on its panel.
#pragma once

#include <string>

#include "at_server_setup.h"
#include "handset.h"
#include "options.h"
#include "plugin_host.h"
#include "transcript.h"

namespace benchora {

// Readies the simulated handset before the plug-in loads: for the second
// generation the embedded AT server (unless an external one is named), for
// the first the injected faults. Notes go to the transcript; false with
// `error` set when the server cannot start or a fault rule is bad.
bool PrepareHandset(const Options& options, SimulatedHandset& handset, AtServerSetup& at_server,
                    Transcript& transcript, std::string& error);

// Installs the log callback, the handset's function table and the
// communication handle, then asks CanRun (reported on the transcript).
// False with `error` set when the plug-in cannot run with this table.
bool ConnectPlugin(const PluginHost& plugin, const SimulatedHandset& handset,
                   PluginHost::ShowLineCallback log, Transcript& transcript, std::string& error);

// Runs one command, writing "> command" and the reply; false when the
// command was refused or no panel is shown.
bool RunCommand(const PluginHost& plugin, const std::string& command, Transcript& transcript);

}  // namespace benchora
