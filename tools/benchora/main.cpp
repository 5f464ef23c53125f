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
  std::string error;
  if (!benchora::ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "benchora: %s\n%s", error.c_str(), benchora::UsageText().c_str());
    return 2;
  }
  if (options.help) {
    std::printf("%s", benchora::UsageText().c_str());
    return 0;
  }
  benchora::Transcript transcript;
  if (!options.output.empty() && !transcript.OpenFile(options.output, error)) {
    std::fprintf(stderr, "benchora: %s\n", error.c_str());
    return 2;
  }
  g_transcript = &transcript;

  benchora::SimulatedHandset handset(options.chip);
  benchora::AtServerSetup at_server;
  if (!benchora::PrepareHandset(options, handset, at_server, transcript, error)) {
    transcript.Error(error);
    return 1;
  }
  benchora::PluginHost plugin;
  const std::string path =
      options.plugin.empty() ? platform::ProgramFolder() + "Sonvio.dll" : options.plugin;
  if (!plugin.Load(path, error) ||
      !benchora::ConnectPlugin(plugin, handset, &PrintLogLine, transcript, error)) {
    transcript.Error(error);
    return 1;
  }

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
