// The link to a handset's serial AT port (a USB ACM or USB serial device,
// or a pseudo-terminal), named "serial:PATH[,BAUD]" in TESSIC_AT_SERVER, or
// on Windows also "COMn[,BAUD]". The device is opened for this process
// alone, in raw mode (8N1, no flow control, no echo or line-end translation
// by the driver), at the given speed; when it is closed its previous mode is
// restored and the exclusive use given up, so any user may open it next.
// The parser knows both platforms' names (serial_link.cpp); the link is
// serial_link_posix.cpp or serial_link_win32.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "link.h"

#if !defined(_WIN32)
#include <termios.h>
#endif

namespace tessic {

// The prefix of a serial target in TESSIC_AT_SERVER.
constexpr std::string_view kSerialPrefix = "serial:";
constexpr uint32_t kDefaultBaud = 115200;

// How a platform names its serial devices: by path (/dev/ttyACM0) or as a
// COM port (COM7, opened as \\.\COM7).
enum class SerialNaming { kPath, kComPort };
#if defined(_WIN32)
constexpr SerialNaming kNativeNaming = SerialNaming::kComPort;
#else
constexpr SerialNaming kNativeNaming = SerialNaming::kPath;
#endif

struct SerialTarget {
  std::string path;  // what is opened: /dev/ttyACM0, \\.\COM7
  std::string name;  // what messages call it: /dev/ttyACM0, COM7
  uint32_t baud = kDefaultBaud;
};

// What a TESSIC_AT_SERVER (or --at-server) text is.
enum class SerialText {
  kOther,    // not a serial port: HOST:PORT, or no target at all
  kTarget,   // a serial port, parsed
  kRefused,  // a serial port, but not one this platform can open as written
};

// The one reading of a target text. It names a serial port when it starts
// with "serial:" or is "COMn[,BAUD]" (any case), whatever the platform, so
// that a COM name on Linux gets its own error; anything else is kOther.
// A serial port is parsed under the given platform's names:
//   kPath:    "serial:PATH[,BAUD]"
//   kComPort: "COMn[,BAUD]", "serial:COMn[,BAUD]", "serial:\\.\NAME[,BAUD]"
// BAUD one of 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600.
// kTarget sets `target`; kRefused sets `error` (a COM name under kPath, a
// path under kComPort each say how the platform names its ports).
[[nodiscard]] SerialText ReadSerialText(std::string_view text, SerialNaming naming,
                                        SerialTarget& target, std::string& error);

// Whether ReadSerialText takes `text` for a serial port.
[[nodiscard]] bool NamesSerialPort(std::string_view text);

// ReadSerialText for a text that is meant to name a serial port: false with
// `error` set when it does not, or names one that cannot be opened.
[[nodiscard]] bool ParseSerialTarget(std::string_view text, SerialNaming naming,
                                     SerialTarget& target, std::string& error);

class SerialLink final : public Link {
 public:
  explicit SerialLink(SerialTarget target);
  ~SerialLink() override;

  bool Open(int timeout_ms, std::string& error) override;
  void Close() override;
  bool connected() const override;
  bool SendAll(const char* data, size_t size) override;
  ReadResult Read(char* out, size_t capacity, int wait_ms, size_t& received) override;

 private:
  SerialTarget target_;
#if defined(_WIN32)
  struct OpenPort;  // the handle and the settings it had before
  std::unique_ptr<OpenPort> port_;
#else
  int fd_ = -1;
  termios saved_{};  // the device's mode before it was opened
#endif
};

#if !defined(_WIN32)
// The message for a device another open holds: the process holding it when
// /proc tells (call it with no descriptor of this process's own open), and
// how to keep ModemManager off the port.
[[nodiscard]] std::string BusyMessage(const std::string& path);
#endif

}  // namespace tessic
