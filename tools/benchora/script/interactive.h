// Automation commands typed by a person or piped in: read from standard
// input line by line until it ends or "quit" (or "exit"). On a terminal
// benchora prompts for each command and does not echo what was typed.
#pragma once

#include <functional>

#include "report/transcript.h"
#include "script/command_runner.h"

namespace benchora {

bool StandardInputIsTerminal();

// `keep_going`, when set, runs before each read; false ends the loop (the
// Windows frame was closed).
void RunInteractive(CommandRunner& runner, Transcript& transcript,
                    const std::function<bool()>& keep_going = {});

}  // namespace benchora
