#include "session.h"

namespace benchora {

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

bool RunCommand(const PluginHost& plugin, const std::string& command, Transcript& transcript) {
  transcript.Line("> " + command);
  std::string reply;
  if (!plugin.Automate(command, reply)) {
    transcript.Line("error: no panel is shown");
    return false;
  }
  transcript.Line(reply);
  return reply.rfind("error: ", 0) != 0;
}

}  // namespace benchora
