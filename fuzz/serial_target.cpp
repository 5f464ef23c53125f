// Fuzz target of the transport's serial target texts: any bytes, taken as a
// TESSIC_AT_SERVER or --at-server text, through ReadSerialText,
// NamesSerialPort and ParseSerialTarget under both platforms' naming.
// Besides not crashing: the three agree, and whether the text names a port
// at all does not depend on the platform; a parsed target has a device path
// and a name, a known speed, a Windows one opens through the device
// namespace, a Linux one is the path after "serial:" itself; a refusal
// always says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "serial_link.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool KnownSpeed(uint32_t baud) {
  for (const uint32_t s : {9600u, 19200u, 38400u, 57600u, 115200u, 230400u, 460800u, 921600u}) {
    if (s == baud) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool serial = tessic::NamesSerialPort(text);
  for (const tessic::SerialNaming naming :
       {tessic::SerialNaming::kPath, tessic::SerialNaming::kComPort}) {
    tessic::SerialTarget read_target;
    std::string read_error;
    const tessic::SerialText read = tessic::ReadSerialText(text, naming, read_target, read_error);
    Require(serial == (read != tessic::SerialText::kOther));
    tessic::SerialTarget target;
    std::string error;
    if (!tessic::ParseSerialTarget(text, naming, target, error)) {
      Require(!error.empty() && read != tessic::SerialText::kTarget);
      Require(read != tessic::SerialText::kRefused || error == read_error);
      continue;
    }
    Require(read == tessic::SerialText::kTarget && target.path == read_target.path &&
            target.name == read_target.name && target.baud == read_target.baud);
    Require(serial && !target.path.empty() && !target.name.empty() && KnownSpeed(target.baud));
    if (naming == tessic::SerialNaming::kComPort) {
      Require(target.path.starts_with("\\\\.\\") && target.path.ends_with(target.name));
    } else {
      Require(text.starts_with("serial:") && target.path == target.name &&
              text.substr(7).starts_with(target.path));
    }
  }
  return 0;
}
