// Runs automation commands on the plug-in's panel the way a bench engineer
// would watch them: each command, the log lines it caused, the message
// boxes it showed, its reply, and a mark when something went wrong in it.
// In a --strict run the first thing that went wrong unexpectedly stops the
// run, naming the command and where it was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "at_server_setup.h"
#include "command_check.h"
#include "plugin_host.h"
#include "script.h"
#include "transcript.h"

namespace benchora {

class CommandRunner {
 public:
  CommandRunner(const PluginHost& plugin, const AtServerSetup& at_server, Transcript& transcript,
                bool strict)
      : plugin_(plugin), at_server_(at_server), transcript_(transcript), strict_(strict) {}

  // The host's log callback ends here: the line goes to the transcript, an
  // error line (flag 0) counts against the running command, and a failed
  // transport connection gets benchora's help.
  void LogLine(const char* text, uint8_t flag);

  // Shows the panel, checked like a command. False once a --strict run stopped.
  bool ShowPanel(void* host_application);
  // Runs one command. False once a --strict run stopped.
  bool Run(const ScriptCommand& command);
  bool stopped() const { return stopped_; }

  // benchora's own commands and the directive, one help line each.
  static std::string OwnHelp();

 private:
  // Fetches the boxes the plug-in recorded and shows them.
  void ShowBoxes();
  bool Finish(const std::string& what, const std::string& origin,
              const std::vector<Expectation>& expected);

  const PluginHost& plugin_;
  const AtServerSetup& at_server_;
  Transcript& transcript_;
  bool strict_;
  bool stopped_ = false;
  std::optional<CommandCheck> check_;  // while a command runs
};

}  // namespace benchora
