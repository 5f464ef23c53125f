// The second-generation handset on a TCP port: accepts one client at a
// time and answers its AT commands modem style. The client sends each
// command as one line ending in "\r\n", "\r" or "\n"; the server answers
// zero or more reply lines and then a final line "OK" or "ERROR", every line
// ending in "\r\n". "ATE1" switches the echo on for the connection (each
// command line is then sent back, with "\r\n", before anything of its
// answer), "ATE0" or "ATE" off; a new connection starts with echo off. A
// bare "AT" is answered "OK". Neither is subject to faults. A
// newer connection replaces the current one, so a client that reconnects
// without closing its old connection is served at once.
//
// Answers go out without ever blocking the serving thread: the connection
// is non-blocking, and while the client takes none of an answer the thread
// waits in short slices, so that it still stops when asked (within
// 50 ms), still takes a new connection (which replaces the stalled one, as
// any newer connection does) and drops a client that has read nothing for
// the send deadline, with a log line. A slow reader that keeps taking
// bytes is served to the end.
//
// The conversation itself (AtConnection) does not know its link: the pseudo-
// terminal device (fmr-sim/pty/pty_server.h) serves the same one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fmr-sim/net/socket_io.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim {

// The port the plug-in's transport connects to.
inline constexpr uint16_t kDefaultAtPort = 27018;
// How long a client may take none of an answer before it is dropped.
inline constexpr uint32_t kDefaultSendDeadlineMs = 5000;

using AtLog = std::function<void(const std::string&)>;

// The handset behind a link: the interpreter with its radio, the fault plan,
// the log and the stop request every wait of the serving thread obeys.
class AtDevice {
 public:
  AtDevice(RadioModel radio, int auto_search_polls, AtLog log);
  AtDevice(const AtDevice&) = delete;
  AtDevice& operator=(const AtDevice&) = delete;

  FaultPlan& faults() { return faults_; }

  // Runs `fn` with the command interpreter while no command is being executed.
  template <typename F>
  auto WithCommands(F&& fn) {
    const std::lock_guard lock(commands_mutex_);
    return fn(commands_);
  }

  void Log(const std::string& text) const;

  // Asks every wait to end; the serving thread then returns.
  void Stop();
  [[nodiscard]] bool stopping() const { return stopping_.load(); }
  // Waits `ms` unless the device stops first; false when it stops.
  [[nodiscard]] bool Pause(uint32_t ms);

 private:
  AtLog log_;
  RadioModel radio_;
  std::mutex commands_mutex_;
  AtCommands commands_;
  FaultPlan faults_;

  std::atomic<bool> stopping_{false};
  std::mutex stop_mutex_;
  std::condition_variable stop_signal_;
};

// How the device talks on one link. The defaults are the TCP server's.
struct AtLinkOptions {
  bool echo = false;  // the echo a connection starts with ("ATE" switches it)
  // A device that answers "ATE1" with OK as usual but never echoes a line.
  bool never_echo = false;
  std::string line_end = "\r\n";  // after each reply line and the echo
  // An unsolicited line (kUnsolicitedLine) after every N-th answer; 0: never.
  // With `unsolicited_inside` it goes between the answer's first and second
  // lines instead (after its only line when it has one). Faulted answers get
  // none, but count.
  uint32_t unsolicited_every = 0;
  bool unsolicited_inside = false;
  // After this many command lines of a connection, the device sends the
  // echo and the first half of that line's answer and then hangs up; 0: never.
  uint32_t hangup_after = 0;
};

inline constexpr std::string_view kUnsolicitedLine = "+FMRX: RSSI 32";

// One connection's conversation: gathers command lines from the received
// bytes and answers each through `send`, with echo, faults and the link's
// options. Used on the serving thread only.
class AtConnection {
 public:
  // Writes bytes to the link; false when the link failed.
  using Send = std::function<bool(std::string_view)>;

  AtConnection(AtDevice& device, AtLinkOptions options, Send send);

  // Answers every command line completed by `bytes`; false when the
  // connection is to be closed (the link failed, a fault dropped it or the
  // device hung up).
  [[nodiscard]] bool Receive(std::string_view bytes);
  // A new connection: echo as configured, nothing pending or held.
  void Reset();

  // Whether the last false of Receive was the device hanging up.
  [[nodiscard]] bool hung_up() const { return hung_up_; }
  const AtLinkOptions& options() const { return options_; }

 private:
  bool Answer(const std::string& line);
  // The bytes of the echo or of an answer with the link's line end.
  std::string OnLink(std::string framed) const;
  // `framed` (line ends of the link) with the unsolicited line put in.
  std::string WithUnsolicited(std::string framed) const;

  AtDevice& device_;
  AtLinkOptions options_;
  Send send_;
  std::string pending_;  // received bytes of an unfinished line
  bool echo_ = false;
  std::string held_;  // a late answer, sent before the next command's echo
  uint32_t lines_ = 0;
  uint32_t answers_ = 0;
  bool hung_up_ = false;
};

struct AtServerConfig {
  std::string address = "127.0.0.1";
  uint16_t port = kDefaultAtPort;  // 0 picks a free port (see AtServer::port)
  int auto_search_polls = 3;       // see AtCommands::set_auto_search_polls
  bool never_echo = false;         // see AtLinkOptions
  RadioModel radio;                // the simulated radio the server starts with
  // Receives one line per connection event, command and answer; called on
  // the server's thread. May be empty.
  AtLog log;
  // A client that takes no byte of an answer for this long is dropped.
  uint32_t send_deadline_ms = kDefaultSendDeadlineMs;
};

class AtServer {
 public:
  // Binds and listens, then serves on a thread of its own until destroyed.
  // Null with `error` set when the address cannot be bound (for example
  // "127.0.0.1:27018 is already in use").
  static std::unique_ptr<AtServer> Start(AtServerConfig config, std::string& error);

  ~AtServer();
  AtServer(const AtServer&) = delete;
  AtServer& operator=(const AtServer&) = delete;

  // The port actually bound.
  uint16_t port() const { return port_; }
  const std::string& address() const { return address_; }

  // Faults applied to the following commands; may be changed at any time.
  FaultPlan& faults() { return device_.faults(); }

  // Runs `fn` with the command interpreter (and through it the radio model)
  // while no command is being executed.
  template <typename F>
  auto WithCommands(F&& fn) {
    return device_.WithCommands(std::forward<F>(fn));
  }

  // Connections accepted so far.
  uint32_t connections() const { return connections_.load(); }

 private:
  AtServer(AtServerConfig config, net::Socket listener);
  void Run();
  // Sends `bytes` to the client as it takes them; false when the
  // connection failed, the client took nothing for the send deadline, a
  // new connection waits, or the server stops.
  bool SendToClient(std::string_view bytes);

  net::SocketLibrary socket_library_;  // first in, last out
  net::Socket listener_;
  net::Socket client_;
  std::string address_;
  uint16_t port_ = 0;
  uint32_t send_deadline_ms_;
  AtDevice device_;
  AtConnection connection_;  // of client_
  std::atomic<uint32_t> connections_{0};
  std::thread thread_;
};

}  // namespace fmrsim
