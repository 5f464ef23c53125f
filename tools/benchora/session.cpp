#include "session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/connection_help.h"
#include "link/list_ports.h"
#include "measure/measurement.h"
#include "measure/sampling.h"
#include "measure/verdict.h"
#include "platform/platform.h"
#include "text/sha256.h"

namespace benchora {
namespace {

// The first rds. name a verify or sample command reads.
std::optional<std::string> ReadsRds(const std::string& command) {
  std::string error;
  if (const auto arguments = CommandArguments(command, "verify")) {
    const std::optional<CheckSpec> check = ParseCheck(*arguments, error);
    if (check && RdsFieldName(check->name)) return check->name;
  } else if (const auto sampled = CommandArguments(command, "sample")) {
    if (const std::optional<SampleRequest> request = ParseSample(*sampled, error)) {
      for (const SampledValue& value : request->values) {
        if (RdsFieldName(value.name)) return value.name;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

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
  // A script that reads RDS values needs them decoded.
  if (!options.rds) {
    for (const ScriptCommand& command : options.commands) {
      if (const std::optional<std::string> name = ReadsRds(command.text)) {
        std::fprintf(stderr, "benchora: %s: %s needs --rds\n", command.origin.c_str(),
                     name->c_str());
        return kExitUsage;
      }
    }
  }
  if (!options.output.empty() && !transcript.OpenFile(options.output, error)) {
    std::fprintf(stderr, "benchora: %s\n", error.c_str());
    return kExitUsage;
  }
  return std::nullopt;
}

RunIdentity StartIdentity(const Options& options) {
  RunIdentity identity;
  identity.timestamp = IsoTimestamp(std::chrono::system_clock::now());
  identity.hostname = HostName();
  identity.chip = options.chip == Chip::kGen2 ? "gen2" : "gen1";
  identity.plugin =
      options.plugin.empty() ? platform::ProgramFolder() + "Sonvio.dll" : options.plugin;
  identity.benchora_version = BENCHORA_VERSION;
  for (const std::string& script : options.scripts) {
    std::ifstream in(script, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    identity.scripts.emplace_back(script, tooltext::Sha256Hex(text.str()));
  }
  identity.dut = options.dut;
  return identity;
}

std::string LinkText(const Options& options, const BenchSession& session) {
  if (options.chip == Chip::kGen1) return "simulated first-generation handset (host callbacks)";
  const AtServerSetup& at = session.at_server;
  switch (at.origin) {
    case TargetOrigin::kEmbedded:
      return "embedded simulated handset at " + at.target;
    case TargetOrigin::kOption:
      return at.target.starts_with("serial:") ? "serial port " + at.target.substr(7)
                                              : "AT server " + at.target;
    case TargetOrigin::kEnvironment:
      return "AT server " + at.target + " (from TESSIC_AT_SERVER)";
    case TargetOrigin::kPluginDefault:
      break;
  }
  return "AT server " + at.target + " (the plug-in's own)";
}

std::string StartOrigin(const Options& options) {
  if (!options.scripts.empty()) return options.scripts.front();
  if (!options.commands.empty()) return SuiteOf(options.commands.front().origin);
  return "benchora";
}

void ConnectReports(const Options& options, const BenchSession& session, CommandRunner& runner) {
  runner.set_rds(session.rds.get());
  runner.set_transport_events(&session.transport_events);
  if (options.chip == Chip::kGen1)
    runner.set_chip_probe_answer(&session.handset.chip_probe_answer());
  const std::string link = LinkText(options, session);
  runner.ChangeIdentity([&link](RunIdentity& identity) { identity.link = link; });
}

std::unique_ptr<RunGuard> StartReportedRun(const Options& options, CommandRunner& runner,
                                           Transcript& transcript, std::string& error) {
  if (!runner.OpenReports(options.csv, options.report, options.json, error)) return nullptr;
  if (!options.progress.empty()) {
    // A station's handset run: the station follows it through this file
    // until the process ends, however it ends.
    static std::unique_ptr<ProgressFeed> feed;
    feed = ProgressFeed::Open(options.progress);
    if (!feed) {
      error = "cannot write " + options.progress;
      return nullptr;
    }
    runner.set_feed(feed.get());
  }
  runner.SetIdentity(StartIdentity(options));
  runner.set_start_origin(StartOrigin(options));
  runner.set_plan(options.commands);
  auto guard = RunGuard::Start(options.timeout_s, EndRun(runner, transcript));
  runner.set_step("loading the plug-in");
  return guard;
}

int EndUnstartedRun(CommandRunner& runner, Transcript& transcript, const std::string& error) {
  transcript.Error(error);
  runner.StartFailed(error);
  static_cast<void>(runner.Close());
  return kExitFailed;
}

RunGuard::End EndRun(CommandRunner& runner, Transcript& transcript) {
  return [&runner, &transcript](const RunEnding& ending) {
    const std::string why =
        ending.hang ? ending.cause + " at " + runner.step() : "stopped by " + ending.cause;
    transcript.Error(why);
    static_cast<void>(runner.Abandon(why, ending.hang));
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(ending.exit_code);
  };
}

bool OpenSession(const Options& options, PluginHost::ShowLineCallback log, Transcript& transcript,
                 BenchSession& session, std::string& error) {
  const std::string path =
      options.plugin.empty() ? platform::ProgramFolder() + "Sonvio.dll" : options.plugin;
  if (options.rds) {
    // The decoder reads what the panel itself receives: the first
    // generation's replies as the host hands them back, the second's RDS
    // reports as the panel shows them, over whatever link.
    const PluginHost& plugin = session.plugin;
    session.rds = std::make_unique<RdsWatch>(
        [&transcript](const std::string& line) { transcript.Line(line); },
        [&plugin](const std::string& command, std::string& reply) {
          return plugin.Automate(command, reply);
        });
    session.handset.on_test_function = [&session](uint16_t id, std::span<const uint8_t> request,
                                                  std::span<const uint8_t> reply) {
      session.rds->OnTestFunction(id, request, reply);
    };
  }
  if (!PrepareHandset(options, session.handset, session.at_server, transcript, error)) return false;
  // The transport the plug-in loads lies beside the program; loaded here
  // first, it is the same library the plug-in then uses.
  static_cast<void>(session.transport_events.Watch(platform::ProgramFolder() + "TESSIC.dll"));
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

std::vector<std::string> UnfiredFaults(BenchSession& session) {
  if (session.at_server.server) return session.at_server.server->faults().Unfired();
  return session.handset.UnfiredFaults();
}

}  // namespace benchora
