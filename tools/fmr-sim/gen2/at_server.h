// The second-generation handset on a TCP port: accepts one client at a
// time and answers its AT commands modem style. The client sends each
// command as one line ending in "\r\n" (or "\n"); the server answers zero or
// more reply lines and then a final line "OK" or "ERROR", every line ending
// in "\r\n". "ATE1" switches the echo on for the connection (each command
// line is then sent back, with "\r\n", before anything of its answer),
// "ATE0" or "ATE" off; a new connection starts with echo off. A newer
// connection replaces the current one, so a client that reconnects without
// closing its old connection is served at once.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "fmr-sim/net/socket_io.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim {

// The port the plug-in's transport connects to.
inline constexpr uint16_t kDefaultAtPort = 27018;

struct AtServerConfig {
  std::string address = "127.0.0.1";
  uint16_t port = kDefaultAtPort;  // 0 picks a free port (see AtServer::port)
  int auto_search_polls = 3;       // see AtCommands::set_auto_search_polls
  RadioModel radio;                // the simulated radio the server starts with
  // Receives one line per connection event, command and answer; called on
  // the server's thread. May be empty.
  std::function<void(const std::string&)> log;
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
  FaultPlan& faults() { return faults_; }

  // Runs `fn` with the command interpreter (and through it the radio model)
  // while no command is being executed.
  template <typename F>
  auto WithCommands(F&& fn) {
    const std::lock_guard lock(commands_mutex_);
    return fn(commands_);
  }

  // Connections accepted so far.
  uint32_t connections() const { return connections_.load(); }

 private:
  AtServer(AtServerConfig config, net::Socket listener);
  void Run();
  // Answers one command line; false when the connection is to be closed.
  bool Answer(const std::string& line);
  // The connection's echo and a held late answer end with it.
  void ForgetConnection();
  // Waits `ms` unless the server stops first; false when it stops.
  bool Pause(uint32_t ms);
  void Log(const std::string& text) const;

  net::SocketLibrary socket_library_;  // first in, last out
  net::Socket listener_;
  net::Socket client_;
  // Of the current connection, used on the serving thread only.
  bool echo_ = false;
  std::string held_;  // a late answer, sent before the next command's echo
  std::string address_;
  uint16_t port_ = 0;
  std::function<void(const std::string&)> log_;

  RadioModel radio_;
  std::mutex commands_mutex_;
  AtCommands commands_;
  FaultPlan faults_;

  std::atomic<bool> stopping_{false};
  std::mutex stop_mutex_;
  std::condition_variable stop_signal_;
  std::atomic<uint32_t> connections_{0};
  std::thread thread_;
};

}  // namespace fmrsim
