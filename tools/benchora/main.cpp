// benchora: a command-line stand-in for the handset test bench host. It
// loads the plug-in, hands it a simulated handset, shows the panel, runs
// automation commands and closes the panel.
#include <cstdio>
#include <iostream>
#include <string>

#include "handset.h"
#include "options.h"
#include "platform/platform.h"
#include "plugin_host.h"
#include "session.h"
#include "transcript.h"

namespace {

// The host's log callback carries no context: it writes to the session's
// transcript through this pointer.
benchora::Transcript* g_transcript = nullptr;

void PrintLogLine(const char* text, uint8_t flag) {
  if (g_transcript != nullptr) g_transcript->Line(benchora::LogLineText(text, flag));
}

}  // namespace

int main(int argc, char** argv) {
  benchora::Options options;
  benchora::Transcript transcript;
  if (auto code = benchora::StartFromCommandLine(argc, argv, options, transcript)) return *code;
  g_transcript = &transcript;

  benchora::BenchSession session(options.chip);
  std::string error;
  if (!benchora::OpenSession(options, &PrintLogLine, transcript, session, error)) {
    transcript.Error(error);
    return 1;
  }
  const benchora::PluginHost& plugin = session.plugin;

  int host_application = 0;  // the host's application object, opaque to the plug-in
  plugin.ShowMDIChildForm(&host_application);

  bool all_ok = true;
  for (const std::string& command : options.commands)
    all_ok = benchora::RunCommand(plugin, command, transcript) && all_ok;
  if (options.interactive) {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (line == "quit" || line == "exit") break;
      if (line.empty()) continue;
      all_ok = benchora::RunCommand(plugin, line, transcript) && all_ok;
    }
  }

  plugin.CloseMDIChildForm(&host_application);
  return (options.strict && !all_ok) ? 3 : 0;
}
