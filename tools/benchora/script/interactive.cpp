#include "script/interactive.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "script/script.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace benchora {

bool StandardInputIsTerminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stdin)) != 0;
#else
  return ::isatty(STDIN_FILENO) != 0;
#endif
}

void RunInteractive(CommandRunner& runner, Transcript& transcript,
                    const std::function<bool()>& keep_going) {
  const bool terminal = StandardInputIsTerminal();
  if (terminal) {
    Transcript::Prompt("Type automation commands; help lists them, quit leaves.\n");
    transcript.set_echo_commands(false);
  }
  ScriptReader reader;
  std::string line;
  for (int number = 1; !runner.stopped() && (!keep_going || keep_going()); ++number) {
    if (terminal) Transcript::Prompt("benchora> ");
    if (!std::getline(std::cin, line)) {
      if (terminal) Transcript::Prompt("\n");
      break;
    }
    const size_t first = line.find_first_not_of(" \t");
    const size_t last = line.find_last_not_of(" \t\r");
    const std::string word = first == std::string::npos ? "" : line.substr(first, last - first + 1);
    if (word == "quit" || word == "exit") break;
    std::vector<ScriptCommand> commands;
    std::string error;
    if (!reader.Add(line, "stdin:" + std::to_string(number), commands, error)) {
      transcript.Error(error);
      continue;
    }
    for (const ScriptCommand& command : commands) runner.Run(command);
  }
  if (std::string error; !reader.Finish(error)) transcript.Error(error);
  transcript.set_echo_commands(true);
}

}  // namespace benchora
