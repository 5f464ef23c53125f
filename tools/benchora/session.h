// The host's part of a bench session, shared by the command-line and the
// Windows front ends: hand the plug-in its callbacks and the simulated
// handset, and run automation commands on its panel.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/plugin_host.h"
#include "link/at_server_setup.h"
#include "link/handset.h"
#include "measure/rds_watch.h"
#include "measure/transport_events.h"
#include "options.h"
#include "report/run_guard.h"
#include "report/run_identity.h"
#include "report/transcript.h"
#include "script/command_runner.h"

namespace benchora {

// Exit statuses of both front ends.
inline constexpr int kExitFailed = 1;  // the session could not start, or --strict stopped it
inline constexpr int kExitUsage = 2;   // bad options, unreadable script, unwritable output

// Parses the command line and opens the transcript's file. An exit code when
// the program should stop here (help shown, bad options, unwritable output).
std::optional<int> StartFromCommandLine(int argc, char** argv, Options& options,
                                        Transcript& transcript);

// The host's side of one session: the simulated handset, the AT server it
// may need, and the loaded plug-in.
struct BenchSession {
  explicit BenchSession(Chip chip) : handset(chip) {}
  SimulatedHandset handset;
  AtServerSetup at_server;
  PluginHost plugin;
  std::unique_ptr<RdsWatch> rds;  // with --rds
  TransportEvents transport_events;
};

// What the reports say the run is about, as far as the options tell it
// before anything starts.
RunIdentity StartIdentity(const Options& options);
// How the handset is reached, once the session is open.
std::string LinkText(const Options& options, const BenchSession& session);
// The suite of what goes wrong outside the commands: the first script's,
// else "-e" for commands of the command line, else "benchora".
std::string StartOrigin(const Options& options);
// Hands the open session to the runner: the RDS station, the transport's
// outcomes, and what the reports say about the link and the handset.
void ConnectReports(const Options& options, const BenchSession& session, CommandRunner& runner);
// What both front ends do before the session opens: the reports opened and
// named, the guard started (before any other thread, so that the signals
// reach it only). nullptr with `error` set when a report cannot be written.
std::unique_ptr<RunGuard> StartReportedRun(const Options& options, CommandRunner& runner,
                                           Transcript& transcript, std::string& error);
// The session could not open: the run's report says so, and the exit status.
int EndUnstartedRun(CommandRunner& runner, Transcript& transcript, const std::string& error);

// How a guarded run ends from outside: the step it hung on (or the signal)
// is told, the reports are finished, and the process leaves.
RunGuard::End EndRun(CommandRunner& runner, Transcript& transcript);

// Readies the handset, loads the plug-in (the one beside the program unless
// the options name another) and connects it; false with `error` set.
bool OpenSession(const Options& options, PluginHost::ShowLineCallback log, Transcript& transcript,
                 BenchSession& session, std::string& error);

// Readies the simulated handset before the plug-in loads: for the second
// generation the embedded AT server (unless an external one is named), for
// the first the injected faults (and notes where a second-generation panel
// would connect, should the chip probe fail). Notes go to the transcript; false with
// `error` set when the server cannot start or a fault rule is bad.
bool PrepareHandset(const Options& options, SimulatedHandset& handset, AtServerSetup& at_server,
                    Transcript& transcript, std::string& error);

// Installs the log callback, the handset's function table and the
// communication handle, then asks CanRun (reported on the transcript).
// False with `error` set when the plug-in cannot run with this table.
bool ConnectPlugin(const PluginHost& plugin, const SimulatedHandset& handset,
                   PluginHost::ShowLineCallback log, Transcript& transcript, std::string& error);

// At the end of a run: the --fault rules that never met a command or
// exchange (a rule that never fired proves nothing).
std::vector<std::string> UnfiredFaults(BenchSession& session);

}  // namespace benchora
