// Keeps the panels' command sets for as long as the plug-in is loaded.
//
// Every second-generation panel builds one aud_app whose transport session
// must stay open after the panel's window is gone: closing it would also
// unload TESSIC.dll, and the session is meant to last until the process
// ends. So a command set is never closed. Rather than leaking it (which the
// leak checker would rightly report once the plug-in is unloaded), the
// panel hands it to this module-wide keeper, which lives as long as the
// library. When the library is released the keeper frees the command sets
// after letting go of their sessions, so no session is closed and no log
// line goes to a host that is shutting down.
#pragma once

#include <memory>

#include "gen2/aud_app.h"

namespace gen2_panel {

// Takes the command set for good and returns it.
MANAGED_IF::aud_app& KeepCommandSet(std::unique_ptr<MANAGED_IF::aud_app> command_set);

}  // namespace gen2_panel
