// Keeps the panels' command sets for the rest of the process.
//
// Every second-generation panel builds one aud_app, whose transport session
// must stay open after the panel's window is gone: closing it would also
// unload TESSIC.dll, and the session is released only when the process
// ends. So a command set is never destroyed. Instead of leaking it (which
// the leak checker would rightly report), it is handed to a module-wide
// keeper whose storage is never torn down: everything it holds stays
// reachable until the process exits, and no destructor (no session close,
// no log line to a host that may be gone) runs at exit.
#pragma once

#include <memory>

#include "gen2/aud_app.h"

// Takes the command set for good and returns it.
MANAGED_IF::aud_app& KeepCommandSet(std::unique_ptr<MANAGED_IF::aud_app> command_set);
