// benchora: a command-line stand-in for the handset test bench host. It
// loads the plug-in, hands it a simulated handset, shows the panel, runs
// automation commands and closes the panel.
#include <span>
#include <string>

#include "options.h"
#include "report/run_guard.h"
#include "report/transcript.h"
#include "script/command_runner.h"
#include "script/interactive.h"
#include "session.h"
#include "station/station_run.h"

namespace {

// The host's log callback carries no context: it reaches the command
// runner through this pointer.
benchora::CommandRunner* g_runner = nullptr;

void PrintLogLine(const char* text, uint8_t flag) {
  if (g_runner != nullptr) g_runner->LogLine(text, flag);
}

}  // namespace

int main(int argc, char** argv) {
  benchora::IgnoreBrokenPipes();
  benchora::Options options;
  benchora::Transcript transcript;
  if (auto code = benchora::StartFromCommandLine(argc, argv, options, transcript)) return *code;
  if (!options.station.empty()) return benchora::RunStation(options);

  benchora::BenchSession session(options.chip);
  benchora::CommandRunner runner(session.plugin, session.at_server, transcript, options.strict);
  std::string error;
  const auto guard = benchora::StartReportedRun(options, runner, transcript, error);
  if (!guard) {
    transcript.Error(error);
    return benchora::kExitUsage;
  }
  g_runner = &runner;
  if (!benchora::OpenSession(options, &PrintLogLine, transcript, session, error)) {
    g_runner = nullptr;
    return benchora::EndUnstartedRun(runner, transcript, error);
  }
  benchora::ConnectReports(options, session, runner);

  int host_application = 0;  // the host's application object, opaque to the plug-in
  if (runner.ShowPanel(&host_application)) {
    runner.RunAll(options.commands);
    if (options.interactive && !runner.stopped()) benchora::RunInteractive(runner, transcript);
    if (options.commands.empty() && !options.interactive) {
      transcript.Notice(
          "benchora: no commands given (-e, --script or --interactive); closing the panel");
    }
  }

  session.plugin.CloseMDIChildForm(&host_application);
  g_runner = nullptr;
  for (const std::string& rule : benchora::UnfiredFaults(session)) runner.RecordUnfiredFault(rule);
  return runner.Close();
}
