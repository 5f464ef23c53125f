// Runs automation commands on the plug-in's panel the way a bench engineer
// would watch them: each command, the log lines it caused, the message
// boxes it showed, its reply, and a mark when something went wrong in it.
// In a --strict run the first thing that went wrong unexpectedly stops the
// run, naming the command and where it was written.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "host/plugin_host.h"
#include "link/at_server_setup.h"
#include "measure/measurements.h"
#include "measure/rds_watch.h"
#include "measure/transport_events.h"
#include "report/reports.h"
#include "report/transcript.h"
#include "script/command_check.h"
#include "script/script.h"

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
  // What the reports say the run is about; the runner adds what it learns
  // from the panel (the plug-in's version, the handset's identity).
  void SetIdentity(const RunIdentity& identity) { reports_.SetIdentity(identity); }
  template <typename Change>
  void ChangeIdentity(Change change) {
    reports_.ChangeIdentity(change);
  }
  // The suite that what goes wrong outside the script's commands (the
  // plug-in not loading, the panel not starting) belongs to: the script's.
  void set_start_origin(std::string origin) { start_origin_ = std::move(origin); }
  // The first-generation handset's answer to the chip probe: its identity.
  void set_chip_probe_answer(const std::string* answer) { chip_probe_answer_ = answer; }
  // The run could not start (the plug-in did not load): an error of the run.
  void StartFailed(const std::string& why);
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
  // The commands the run is going to run, known before it starts: a run
  // ended early reports their checks as not run.
  void set_plan(std::span<const ScriptCommand> commands) { plan_ = commands; }
  // Runs the commands in order until a --strict run stops, `after_each`
  // after each one; the checks left are reported as not run.
  void RunAll(std::span<const ScriptCommand> commands,
              const std::function<void()>& after_each = {});
  bool stopped() const { return stopped_; }
  // Ends the run from another thread (a signal, --timeout) while the panel
  // may be stuck in the step it was on: the step becomes an error when
  // `step_is_error` (a hang), the checks not yet run are reported as not run
  // with `why`, and the reports are finished. Returns false when they could
  // not be written (the errors are printed).
  bool Abandon(const std::string& why, bool step_is_error);
  // The step the run is on, for a timeout's message: "checks.txt:12: click
  // btn_rds", "loading the plug-in".
  [[nodiscard]] std::string step() const;
  void set_step(std::string step);
  // Tells the steps, records and identity to `feed` as well.
  void set_feed(ProgressFeed* feed) {
    feed_ = feed;
    reports_.set_feed(feed);
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
  // Reads the plug-in's version and the handset's identity off the panel.
  void RefreshIdentity();
  // Tells a failed report write once, and fails the run.
  void TellWriteErrors();
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
  std::string start_origin_ = "benchora";
  const std::string* chip_probe_answer_ = nullptr;
  // The commands RunAll runs and the one it is on, for Abandon.
  std::span<const ScriptCommand> plan_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> in_command_{false};
  mutable std::mutex step_mutex_;
  std::string step_ = "starting";
  ProgressFeed* feed_ = nullptr;
  bool in_run_all_ = false;  // set_step is naming a command of RunAll
};

}  // namespace benchora
