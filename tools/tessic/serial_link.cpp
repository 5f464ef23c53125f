// The serial target texts of both platforms; the links themselves are in
// serial_link_posix.cpp and serial_link_win32.cpp.
#include <array>
#include <charconv>

#include "serial_link.h"

namespace tessic {
namespace {

constexpr std::array<uint32_t, 8> kSpeeds = {9600,   19200,  38400,  57600,
                                             115200, 230400, 460800, 921600};
// The Win32 device namespace: \\.\COM10 and above open only through it.
constexpr std::string_view kDeviceNamespace = "\\\\.\\";
constexpr uint32_t kHighestComPort = 256;
constexpr char kNotComPort[] =
    " is not a COM port name; Windows names serial ports COMn (e.g. COM7 or "
    "serial:COM7,115200)";

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// "COM" (any case) and at least one digit, nothing else.
bool LooksLikeComName(std::string_view name) {
  if (name.size() < 4 || Upper(name[0]) != 'C' || Upper(name[1]) != 'O' || Upper(name[2]) != 'M')
    return false;
  for (const char c : name.substr(3)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The number of a COM name from COM1 to COM256 written without leading
// zeros; 0 for any other.
uint32_t ComNumber(std::string_view name) {
  const std::string_view digits = name.substr(3);
  if (digits.size() > 3 || digits[0] == '0') return 0;
  uint32_t number = 0;
  (void)std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return number <= kHighestComPort ? number : 0;
}

bool ParseBaud(std::string_view speed, uint32_t& baud, std::string& error) {
  const auto [end, ec] = std::from_chars(speed.data(), speed.data() + speed.size(), baud);
  bool known = false;
  for (const uint32_t s : kSpeeds) known = known || s == baud;
  if (speed.empty() || ec != std::errc() || end != speed.data() + speed.size() || !known) {
    error = "unsupported serial speed '" + std::string(speed) +
            "' (9600, 19200, 38400, 57600, 115200, 230400, 460800 or 921600)";
    return false;
  }
  return true;
}

// Windows: a COM name becomes its device path; another \\.\ device is kept.
bool ParseComPort(std::string_view path, SerialTarget& target, std::string& error) {
  const bool in_namespace = path.starts_with(kDeviceNamespace);
  const std::string_view name = in_namespace ? path.substr(kDeviceNamespace.size()) : path;
  if (LooksLikeComName(name)) {
    const uint32_t number = ComNumber(name);
    if (number == 0) {
      error = "no COM port " + std::string(name) + " (COM1 to COM256)";
      return false;
    }
    target.name = "COM" + std::to_string(number);
    target.path = std::string(kDeviceNamespace) + target.name;
    return true;
  }
  if (in_namespace && !name.empty()) {
    target.name = std::string(name);
    target.path = std::string(path);
    return true;
  }
  error = std::string(path) + kNotComPort;
  return false;
}

}  // namespace

SerialText ReadSerialText(std::string_view text, SerialNaming naming, SerialTarget& target,
                          std::string& error) {
  const bool prefixed = text.starts_with(kSerialPrefix);
  const std::string_view rest = prefixed ? text.substr(kSerialPrefix.size()) : text;
  const size_t comma = rest.find(',');
  const std::string_view path = rest.substr(0, comma);
  // Without the prefix only a COM name names a port (on Windows one in the
  // device namespace needs the prefix too).
  if (!prefixed && !LooksLikeComName(path)) return SerialText::kOther;
  if (path.empty()) {
    error = naming == SerialNaming::kPath
                ? "serial target without a device path (serial:/dev/ttyACM0[,BAUD])"
                : "serial target without a port (COM7[,BAUD])";
    return SerialText::kRefused;
  }
  uint32_t baud = kDefaultBaud;
  if (comma != std::string_view::npos && !ParseBaud(rest.substr(comma + 1), baud, error))
    return SerialText::kRefused;
  SerialTarget parsed;
  parsed.baud = baud;
  if (naming == SerialNaming::kComPort) {
    if (!ParseComPort(path, parsed, error)) return SerialText::kRefused;
  } else if (LooksLikeComName(path)) {
    error = std::string(path) +
            " is a Windows port name; Linux names serial devices by path (e.g. "
            "serial:/dev/ttyACM0)";
    return SerialText::kRefused;
  } else {
    parsed.path = std::string(path);
    parsed.name = parsed.path;
  }
  target = std::move(parsed);
  return SerialText::kTarget;
}

bool NamesSerialPort(std::string_view text) {
  SerialTarget target;
  std::string error;
  return ReadSerialText(text, kNativeNaming, target, error) != SerialText::kOther;
}

bool ParseSerialTarget(std::string_view text, SerialNaming naming, SerialTarget& target,
                       std::string& error) {
  switch (ReadSerialText(text, naming, target, error)) {
    case SerialText::kTarget:
      return true;
    case SerialText::kRefused:
      return false;
    case SerialText::kOther:
      break;
  }
  error = naming == SerialNaming::kPath
              ? "not a serial target: " + std::string(text) + " (serial:/dev/ttyACM0[,BAUD])"
              : std::string(text) + kNotComPort;
  return false;
}

}  // namespace tessic
