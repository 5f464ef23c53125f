// benchora: a command-line stand-in for the handset test bench host. It
// loads the plug-in, hands it a simulated handset, shows the panel, runs
// automation commands and closes the panel.
#include <span>
#include <string>

#include "command_runner.h"
#include "interactive.h"
#include "options.h"
#include "session.h"
#include "transcript.h"

namespace {

// The host's log callback carries no context: it reaches the command
// runner through this pointer.
benchora::CommandRunner* g_runner = nullptr;

void PrintLogLine(const char* text, uint8_t flag) {
  if (g_runner != nullptr) g_runner->LogLine(text, flag);
}

}  // namespace

int main(int argc, char** argv) {
  benchora::Options options;
  benchora::Transcript transcript;
  if (auto code = benchora::StartFromCommandLine(argc, argv, options, transcript)) return *code;

  benchora::BenchSession session(options.chip);
  benchora::CommandRunner runner(session.plugin, session.at_server, transcript, options.strict);
  g_runner = &runner;
  std::string error;
  if (!runner.OpenReports(options.csv, options.report, options.json, error)) {
    transcript.Error(error);
    return benchora::kExitUsage;
  }
  if (!benchora::OpenSession(options, &PrintLogLine, transcript, session, error)) {
    transcript.Error(error);
    g_runner = nullptr;
    return benchora::kExitFailed;
  }
  runner.set_rds(session.rds.get());
  runner.set_transport_events(&session.transport_events);

  int host_application = 0;  // the host's application object, opaque to the plug-in
  if (runner.ShowPanel(&host_application)) {
    const std::span<const benchora::ScriptCommand> commands(options.commands);
    for (size_t i = 0; i < commands.size(); ++i) {
      if (!runner.Run(commands[i])) {
        runner.NotRun(commands.subspan(i + 1));
        break;
      }
    }
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
