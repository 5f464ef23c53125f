// The host's part of a bench session, shared by the command-line and the
// Windows front ends: hand the plug-in its callbacks and the simulated
// handset, and run automation commands on its panel.
#pragma once

#include <string>

#include "handset.h"
#include "plugin_host.h"
#include "transcript.h"

namespace benchora {

// Installs the log callback, the handset's function table and the
// communication handle, then asks CanRun (reported on the transcript).
// False with `error` set when the plug-in cannot run with this table.
bool ConnectPlugin(const PluginHost& plugin, const SimulatedHandset& handset,
                   PluginHost::ShowLineCallback log, Transcript& transcript, std::string& error);

// Runs one command, writing "> command" and the reply; false when the
// command was refused or no panel is shown.
bool RunCommand(const PluginHost& plugin, const std::string& command, Transcript& transcript);

}  // namespace benchora
