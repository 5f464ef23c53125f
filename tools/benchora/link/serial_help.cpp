#include "link/serial_help.h"

#include <filesystem>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace benchora {
namespace {

constexpr char kListPorts[] = "benchora --list-ports lists the serial ports found";

std::vector<std::string> DeviceHelp(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    return {"no device at " + path + ": is the handset plugged in, with its AT port switched on? " +
                kListPorts,
            "a port that comes and goes may get another number (ttyACM1 for ttyACM0)"};
  }
#if !defined(_WIN32)
  if (::access(path.c_str(), R_OK | W_OK) != 0) {
    return {"no permission to use " + path +
            ": add yourself to the group that owns it (dialout on most systems): "
            "sudo usermod -aG dialout $USER, then log in again"};
  }
#endif
  return {
      "if the port is busy, the TESSIC line above names the program holding it; close it "
      "or keep ModemManager off the port as that line says"};
}

std::vector<std::string> ComPortHelp(const std::string& name) {
  return {"check that the handset is plugged in and that its AT port is " + name +
              ": Device Manager shows the COM number under Ports (COM & LPT); " + kListPorts,
          "if the port is busy, close the other program that has it open (a terminal, or the "
          "handset's own software)"};
}

}  // namespace

std::vector<std::string> SerialConnectionHelp(const std::string& target,
                                              tessic::SerialNaming naming) {
  tessic::SerialTarget serial;
  std::string error;
  if (!tessic::ParseSerialTarget(target, naming, serial, error)) return {error};
  return naming == tessic::SerialNaming::kPath ? DeviceHelp(serial.path) : ComPortHelp(serial.name);
}

}  // namespace benchora
