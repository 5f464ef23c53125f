// Runs automation commands on the plug-in's panel the way a bench engineer
// would watch them: each command, the log lines it caused, the message
// boxes it showed, its reply, and a mark when something went wrong in it.
// In a --strict run the first thing that went wrong unexpectedly stops the
// run, naming the command and where it was written.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "at_server_setup.h"
#include "command_check.h"
#include "measurements.h"
#include "plugin_host.h"
#include "rds_watch.h"
#include "reports.h"
#include "script.h"
#include "transcript.h"
#include "transport_events.h"

namespace benchora {

class CommandRunner {
 public:
  CommandRunner(const PluginHost& plugin, const AtServerSetup& at_server, Transcript& transcript,
                bool strict)
      : plugin_(plugin),
        at_server_(at_server),
        transcript_(transcript),
        strict_(strict),
        measurements_([this](const std::string& command,
                             std::string& reply) { return plugin_.Automate(command, reply); },
                      transcript, reports_) {}

  // Opens the report files the options name (--csv, --report, --json);
  // false with `error` set when one cannot be written.
  [[nodiscard]] bool OpenReports(const std::string& csv, const std::string& junit, bool json,
                                 std::string& error) {
    return reports_.Open(csv, junit, json, error);
  }
  // The RDS station that `verify rds.FIELD` reads (with --rds): it follows
  // the log lines, and takes what the panel shows at the end of each command.
  void set_rds(RdsWatch* rds) {
    rds_ = rds;
    measurements_.set_rds(rds);
  }
  // How the transport's exchanges ended, for the verdicts of error lines.
  void set_transport_events(const TransportEvents* events) { transport_events_ = events; }

  // The host's log callback ends here: the line goes to the transcript, an
  // error line (flag 0) counts against the running command, and a failed
  // transport connection gets benchora's help.
  void LogLine(const char* text, uint8_t flag);

  // Shows the panel, checked like a command. False once a --strict run stopped.
  bool ShowPanel(void* host_application);
  // Runs one command. False once a --strict run stopped.
  bool Run(const ScriptCommand& command);
  bool stopped() const { return stopped_; }
  // The commands left when a --strict run stopped: their checks are
  // reported as not run.
  void NotRun(std::span<const ScriptCommand> commands) {
    for (const ScriptCommand& command : commands) measurements_.RecordSkipped(command);
  }
  // A --fault rule that never met a command or exchange: it proves
  // nothing, so the run fails.
  void RecordUnfiredFault(const std::string& rule);
  // Writes the JUnit report; the exit status of the run: 1 when --strict
  // stopped it, a check failed, a fault rule never fired or the report
  // could not be written.
  int Close();

  // benchora's own commands and the directive, one help line each.
  static std::string OwnHelp();

 private:
  // Fetches the boxes the plug-in recorded and shows them.
  void ShowBoxes();
  bool Finish(const ScriptCommand& command, const std::vector<Expectation>& expected);
  // What failed behind an error line: the action and the exchange.
  std::string ErrorDetail(const std::string& line) const;

  const PluginHost& plugin_;
  const AtServerSetup& at_server_;
  Transcript& transcript_;
  bool strict_;
  bool stopped_ = false;
  std::optional<CommandCheck> check_;  // while a command runs
  Reports reports_;
  Measurements measurements_;
  RdsWatch* rds_ = nullptr;
  const TransportEvents* transport_events_ = nullptr;
  // The panel's last action line and the AT command logged after it.
  std::string action_;
  std::string at_command_;
  int unfired_faults_ = 0;
};

}  // namespace benchora
