#include "link/connection_help.h"

#include <cstdlib>
#include <filesystem>

#include "fmr-sim/net/socket_io.h"
#include "link/serial_help.h"
#include "platform/platform.h"

namespace benchora {
namespace {

struct HostPort {
  std::string host;
  uint16_t port = 0;
};

HostPort Split(const std::string& target) {
  const size_t colon = target.rfind(':');
  if (colon == std::string::npos) return {target, 0};
  return {target.substr(0, colon),
          static_cast<uint16_t>(std::strtoul(target.c_str() + colon + 1, nullptr, 10))};
}

bool IsLoopback(const std::string& host) {
  return host == "localhost" || host.rfind("127.", 0) == 0;
}

// The standalone simulator beside benchora when it was built there.
std::string SimulatorCommand(uint16_t port) {
  std::string program = platform::ProgramFolder() + "fmr-sim";
  std::error_code code;
  if (!std::filesystem::exists(program, code)) program = "fmr-sim";
  return program + " --port " + std::to_string(port);
}

}  // namespace

bool IsConnectionFailure(std::string_view log_line) {
  return log_line.starts_with("Error setting connection.") ||
         log_line.starts_with("ERROR: Dedicated channel could not be opened.");
}

std::vector<std::string> ConnectionHelp(const AtServerSetup& setup) {
  std::vector<std::string> lines;
  lines.push_back("the plug-in could not connect to the AT server at " + setup.target + " (" +
                  OriginText(setup.origin) + ")");
  if (tessic::NamesSerialPort(setup.target)) {
    for (std::string& line : SerialConnectionHelp(setup.target, tessic::kNativeNaming))
      lines.push_back(std::move(line));
    return lines;
  }
  const HostPort where = Split(setup.target);
  if (!IsLoopback(where.host)) {
    lines.push_back("check that an AT server runs at " + setup.target + " and can be reached");
    return lines;
  }
  fmrsim::net::SocketLibrary sockets;
  std::string why;
  const std::string address = where.host == "localhost" ? "127.0.0.1" : where.host;
  if (fmrsim::net::ConnectTcp(address, where.port, why).valid()) {
    lines.push_back("something answers at " + setup.target + " now; is it the simulated handset?");
    return lines;
  }
  lines.push_back("nothing answers at " + setup.target +
                  "; start the simulated handset there: " + SimulatorCommand(where.port));
  if (setup.origin == TargetOrigin::kEmbedded) return lines;
  lines.push_back(setup.origin == TargetOrigin::kOption
                      ? "or leave out --at-server: benchora --chip gen2 starts its own"
                      : "or run benchora --chip gen2, which starts its own");
  return lines;
}

std::vector<std::string> NoServerHelp(const AtServerSetup& setup) {
  const HostPort where = Split(setup.target);
  if (setup.server != nullptr || where.port == 0 || !IsLoopback(where.host)) return {};
  fmrsim::net::SocketLibrary sockets;
  std::string why;
  const std::string address = where.host == "localhost" ? "127.0.0.1" : where.host;
  if (fmrsim::net::ConnectTcp(address, where.port, why).valid()) return {};
  return {"no AT server answers at " + setup.target +
              ": the panel's commands will fail (\"Error\") until one does",
          "start the simulated handset there: " + SimulatorCommand(where.port),
          "or leave out --at-server: benchora --chip gen2 starts its own"};
}

}  // namespace benchora
