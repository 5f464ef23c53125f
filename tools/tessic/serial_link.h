// The link to a handset's serial AT port (a USB ACM or USB serial device,
// or a pseudo-terminal), named "serial:PATH[,BAUD]" in TESSIC_AT_SERVER.
// The device is opened for this process alone, in raw mode (8N1, no flow
// control, no echo or line-end translation by the driver), at the given
// speed; its previous mode is restored when it is closed. The parser is on
// every platform; the link itself on POSIX only.
#pragma once

#include <cstdint>
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

struct SerialTarget {
  std::string path;
  uint32_t baud = kDefaultBaud;
};

// Parses what follows "serial:": "PATH" or "PATH,BAUD" with one of the
// speeds 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600. False
// with `error` set otherwise.
[[nodiscard]] bool ParseSerialTarget(std::string_view text, SerialTarget& target,
                                     std::string& error);

#if !defined(_WIN32)

class SerialLink final : public Link {
 public:
  explicit SerialLink(SerialTarget target) : target_(std::move(target)) {}
  ~SerialLink() override;

  bool Open(int timeout_ms, std::string& error) override;
  void Close() override;
  bool connected() const override { return fd_ >= 0; }
  bool SendAll(const char* data, size_t size) override;
  ReadResult Read(char* out, size_t capacity, int wait_ms, size_t& received) override;

 private:
  SerialTarget target_;
  int fd_ = -1;
  termios saved_{};  // the device's mode before it was opened
};

// The message for a device another open holds: the process holding it when
// /proc tells (call it with no descriptor of this process's own open), and
// how to keep ModemManager off the port.
[[nodiscard]] std::string BusyMessage(const std::string& path);

#endif

}  // namespace tessic
