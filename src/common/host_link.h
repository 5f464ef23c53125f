// How the back ends and panels reach the host: one small interface for the
// host's send functions, its error text and its log, handed to them in a
// module context together with the window system's services. The host layer
// implements the link over the host's function table; tests implement it
// with a recording stand-in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ui {
class Services;
}

namespace common {

// The flag of a host log line.
enum class LogFlag : uint8_t {
  kFailure = 0,   // a failure line
  kProgress = 1,  // an ordinary progress line
};

// Picks the flag from a check's outcome: progress when it passed.
constexpr LogFlag FlagFor(bool passed) {
  return passed ? LogFlag::kProgress : LogFlag::kFailure;
}

// The host's four send functions.
enum class HostChannel : uint8_t {
  kTestFunction,  // binary test-function requests
  kAtCommand,     // AT command texts
  kAudioRequest,  // binary audio requests
  kInfoRequest,   // binary information requests
};

class HostLink {
 public:
  virtual ~HostLink() = default;

  // Carries one message over `channel`: message id, request (null when
  // `request_length` is 0), the reply length the host reports and the reply
  // buffer. False when the host call failed or the host gave no function for
  // the channel.
  [[nodiscard]] virtual bool Send(HostChannel channel, uint16_t message_id, uint16_t request_length,
                                  const void* request, uint16_t& reply_length, void* reply) = 0;

  // The host's last error text (reading it resets the host's error state),
  // valid until the next call of the link; nullopt when the host gave no
  // error function.
  virtual std::optional<std::string_view> LastError() = 0;

  // Hands one line to the host's log; dropped when the host gave no log.
  virtual void Log(const char* text, LogFlag flag) = 0;
  void Log(const std::string& text, LogFlag flag) { Log(text.c_str(), flag); }
};

// What a back end or a panel gets from the module: the host and the window
// system's services.
struct ModuleContext {
  HostLink& host;
  ui::Services& services;
};

}  // namespace common
