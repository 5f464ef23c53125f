#include "session.h"

#include <cstdio>

#include "connection_help.h"
#include "list_ports.h"
#include "platform/platform.h"

namespace benchora {

bool PrepareHandset(const Options& options, SimulatedHandset& handset, AtServerSetup& at_server,
                    Transcript& transcript, std::string& error) {
  if (options.chip == Chip::kGen2) {
    // The second-generation plug-in connects to the AT server as soon as its
    // panel is created, so the server is up before the plug-in is loaded.
    if (!SetUpAtServer(options.at_server, options.faults, at_server, error)) return false;
    for (const std::string& note : at_server.notes) transcript.Notice("benchora: " + note);
    for (const std::string& help : NoServerHelp(at_server)) {
      transcript.Notice("benchora: " + help);
      at_server.told_unreachable = true;
    }
    return true;
  }
  if (!options.at_server.empty()) {
    transcript.Notice("benchora: --at-server applies only to --chip gen2; ignored");
  }
  NoteTransportTarget(at_server);
  for (const std::string& fault : options.faults) {
    if (!handset.AddFault(fault, error)) return false;
  }
  return true;
}

std::optional<int> StartFromCommandLine(int argc, char** argv, Options& options,
                                        Transcript& transcript) {
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "benchora: %s\n(benchora --help lists the options)\n", error.c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::printf("%s", UsageText().c_str());
    return 0;
  }
  if (options.list_ports) {
    std::printf("%s", PortListText(MachineSerialPorts()).c_str());
    return 0;
  }
  if (!options.output.empty() && !transcript.OpenFile(options.output, error)) {
    std::fprintf(stderr, "benchora: %s\n", error.c_str());
    return kExitUsage;
  }
  return std::nullopt;
}

bool OpenSession(const Options& options, PluginHost::ShowLineCallback log, Transcript& transcript,
                 BenchSession& session, std::string& error) {
  const std::string path =
      options.plugin.empty() ? platform::ProgramFolder() + "Sonvio.dll" : options.plugin;
  if (options.rds) {
    session.rds = std::make_unique<RdsWatch>(
        [&transcript](const std::string& line) { transcript.Line(line); });
    session.handset.on_test_function_reply = [&session](uint16_t id, const uint8_t* reply,
                                                        uint16_t length) {
      session.rds->OnReply(id, reply, length);
    };
  }
  if (!PrepareHandset(options, session.handset, session.at_server, transcript, error)) return false;
  if (session.rds && session.at_server.server) {
    RdsWatch* rds = session.rds.get();
    session.at_server.server->WithCommands([rds](fmrsim::AtCommands& commands) {
      commands.set_rds_listener(
          [rds](const fmrsim::RdsGroup& group) { rds->OnReportedGroup(group.blocks); });
    });
  } else if (session.rds && options.chip == Chip::kGen2) {
    transcript.Notice("benchora: --rds watches only the embedded AT server; ignored");
  }
  return session.plugin.Load(path, error) &&
         ConnectPlugin(session.plugin, session.handset, log, transcript, error);
}

bool ConnectPlugin(const PluginHost& plugin, const SimulatedHandset& handset,
                   PluginHost::ShowLineCallback log, Transcript& transcript, std::string& error) {
  plugin.SetShowLineFunc(log);
  plugin.SetFuncInterface(handset.table().data(),
                          static_cast<int32_t>(handset.table().size() * sizeof(void*)));
  plugin.SetComHandle(1);
  plugin.SetGetInterface(nullptr);
  plugin.SetBasebandType(0);
  const int32_t can_run = plugin.CanRun();
  transcript.Line("CanRun: " + std::to_string(can_run));
  if (can_run == 0) {
    error = "the plug-in cannot run with this host table";
    return false;
  }
  return true;
}

void ReportUnfiredFaults(BenchSession& session, Transcript& transcript) {
  std::vector<std::string> unfired = session.handset.UnfiredFaults();
  if (session.at_server.server) unfired = session.at_server.server->faults().Unfired();
  for (const std::string& rule : unfired) {
    transcript.Notice("benchora: fault rule \"" + rule + "\" never fired");
  }
}

}  // namespace benchora
