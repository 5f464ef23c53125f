// The second-generation handset on a pseudo-terminal (POSIX only), as a
// handset's USB serial AT port appears: the slave side is a tty in raw mode
// that a reader opens, writes command lines to (ending in "\r") and reads the
// answers from. The conversation is the TCP server's (AtConnection); what
// differs is the link: the line end, the echo a device starts with, pieces
// and pacing of the writes, and what happens when either side goes away.
//
// - When the reader closes the slave, the device keeps serving: the next open
//   of the same path starts a new conversation (echo as configured, nothing
//   pending, bytes the last reader left unread discarded).
// - With `hangup_after` the device is pulled: the master is closed half way
//   through an answer, and a new device appears on a new path (a pulled
//   device never comes back at the same path), announced like the first.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/pty/unique_fd.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim::pty {

struct PtyServerConfig {
  int auto_search_polls = 3;         // see AtCommands::set_auto_search_polls
  RadioModel radio;                  // the simulated radio the device starts with
  AtLinkOptions link{.echo = true};  // a modem's default: echo on
  uint32_t split = 0;                // each write() at most this many bytes; 0: whole answers
  // Pace both ways as a serial line of 10 bits a byte: a command is answered
  // once its bytes would have arrived, the answer is written no faster than
  // the line sends it. 0: unpaced.
  uint32_t baud = 0;
  AtLog log;  // connection events, commands and answers; may be empty
  // Lines for the user: "serving on PATH" for every device that appears,
  // "hung up after N command lines" when one is pulled. Called on the
  // serving thread (the first time before Start returns). May be empty.
  AtLog announce;
  // Sees the size of every write() to the master; may be empty.
  std::function<void(size_t)> on_write;
};

class PtyServer {
 public:
  // Opens the first device, then serves on a thread of its own until
  // destroyed. Null with `error` set when no pseudo-terminal can be opened.
  static std::unique_ptr<PtyServer> Start(PtyServerConfig config, std::string& error);

  struct Key {
   private:
    Key() = default;
    friend class PtyServer;
  };
  PtyServer(Key, PtyServerConfig config);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // The slave path of the current device.
  [[nodiscard]] std::string slave_path() const;
  // Devices opened so far (1 + hang-ups).
  [[nodiscard]] uint32_t devices() const { return devices_.load(); }

  FaultPlan& faults() { return device_.faults(); }
  template <typename F>
  auto WithCommands(F&& fn) {
    return device_.WithCommands(std::forward<F>(fn));
  }

 private:
  [[nodiscard]] bool OpenDevice(std::string& error);
  void Run();
  // Writes `bytes` in pieces, paced; false when the reader went away.
  bool Write(std::string_view bytes);
  bool WriteAll(std::string_view piece);
  // How long the line takes for `bytes` at the configured speed.
  [[nodiscard]] std::chrono::nanoseconds LineTime(size_t bytes) const;
  // Waits until `until`, serving stop requests; false when stopping.
  [[nodiscard]] bool WaitUntil(std::chrono::steady_clock::time_point until);
  // Closes the device half way through an answer and opens the next one.
  void HangUp();
  // The reader closed the slave: what it left unread goes.
  void ForgetReader();

  AtDevice device_;
  AtConnection connection_;
  PtyServerConfig config_;  // what is left of it: the link, pieces, pacing, callbacks
  UniqueFd master_;
  mutable std::mutex path_mutex_;
  std::string path_;
  std::atomic<uint32_t> devices_{0};
  bool reader_open_ = false;
  // The serial line's clock: when the bytes written so far have been sent.
  std::chrono::steady_clock::time_point line_free_{};
  // ... and when the bytes received so far have arrived.
  std::chrono::steady_clock::time_point receive_free_{};
  std::thread thread_;
};

}  // namespace fmrsim::pty
