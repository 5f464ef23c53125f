// benchora: a command-line stand-in for the handset test bench host. It
// loads the plug-in, hands it a simulated handset, shows the panel, runs
// automation commands and closes the panel.
#include <cstdio>
#include <iostream>
#include <string>

#include "at_server_setup.h"
#include "handset.h"
#include "options.h"
#include "platform/platform.h"
#include "plugin_host.h"

namespace {

void PrintLogLine(const char* text, uint8_t flag) {
  std::printf("LOG[%u] %s\n", static_cast<unsigned>(flag), text != nullptr ? text : "");
  std::fflush(stdout);
}

// Runs one command and prints it with its reply; false when refused.
bool RunCommand(const benchora::PluginHost& plugin, const std::string& command) {
  std::printf("> %s\n", command.c_str());
  std::string reply;
  if (!plugin.Automate(command, reply)) {
    std::printf("error: no panel is shown\n");
    return false;
  }
  std::printf("%s\n", reply.c_str());
  std::fflush(stdout);
  return reply.rfind("error: ", 0) != 0;
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

  // The second-generation plug-in connects to the AT server as soon as its
  // panel is created, so the server is up before the plug-in is loaded.
  benchora::AtServerSetup at_server;
  if (options.chip == benchora::Chip::kGen2) {
    if (!benchora::SetUpAtServer(options.at_server, options.faults, at_server, error)) {
      std::fprintf(stderr, "benchora: %s\n", error.c_str());
      return 1;
    }
    for (const std::string& note : at_server.notes) std::printf("benchora: %s\n", note.c_str());
  } else if (!options.at_server.empty()) {
    std::printf("benchora: --at-server applies only to --chip gen2; ignored\n");
  }

  benchora::SimulatedHandset handset(options.chip);
  if (options.chip == benchora::Chip::kGen1) {
    for (const std::string& fault : options.faults) {
      if (!handset.AddFault(fault, error)) {
        std::fprintf(stderr, "benchora: %s\n", error.c_str());
        return 2;
      }
    }
  }
  benchora::PluginHost plugin;
  const std::string path =
      options.plugin.empty() ? platform::ProgramFolder() + "Sonvio.dll" : options.plugin;
  if (!plugin.Load(path, error)) {
    std::fprintf(stderr, "benchora: %s\n", error.c_str());
    return 1;
  }

  plugin.SetShowLineFunc(&PrintLogLine);
  plugin.SetFuncInterface(handset.table().data(),
                          static_cast<int32_t>(handset.table().size() * sizeof(void*)));
  plugin.SetComHandle(1);
  plugin.SetGetInterface(nullptr);
  plugin.SetBasebandType(0);
  const int32_t can_run = plugin.CanRun();
  std::printf("CanRun: %d\n", can_run);
  if (can_run == 0) {
    std::fprintf(stderr, "benchora: the plug-in cannot run with this host table\n");
    return 1;
  }

  int host_application = 0;  // the host's application object, opaque to the plug-in
  plugin.ShowMDIChildForm(&host_application);

  bool all_ok = true;
  for (const std::string& command : options.commands)
    all_ok = RunCommand(plugin, command) && all_ok;
  if (options.interactive) {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (line == "quit" || line == "exit") break;
      if (line.empty()) continue;
      all_ok = RunCommand(plugin, line) && all_ok;
    }
  }

  plugin.CloseMDIChildForm(&host_application);
  return (options.strict && !all_ok) ? 3 : 0;
}
