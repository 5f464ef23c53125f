// A scripted handset for the transport stand-in's tests: a TCP server on a
// free loopback port that hands each command line it receives to the test's
// handler, which answers with whatever bytes it likes (or none), on the
// server's thread. One client at a time; a newer connection replaces it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "fmr-sim/net/socket_io.h"

namespace tessic_test {

class LineServer {
 public:
  // What a handler may do with the connection.
  class Writer {
   public:
    // False when the connection failed.
    bool Write(std::string_view bytes);
    // True once the server is being destroyed: a handler that loops stops.
    bool stopping() const;

   private:
    friend class LineServer;
    explicit Writer(LineServer& server) : server_(server) {}
    LineServer& server_;
  };
  using Handler = std::function<void(const std::string& command, Writer& writer)>;

  explicit LineServer(Handler handler);
  ~LineServer();
  LineServer(const LineServer&) = delete;
  LineServer& operator=(const LineServer&) = delete;

  // "FMR/TCPIPc_127.0.0.1:" and the port.
  std::string connection() const;
  // Command lines received so far, without their line ends.
  std::vector<std::string> commands() const;
  // Connections the client closed so far.
  int disconnects() const { return disconnects_.load(); }

 private:
  void Run();

  fmrsim::net::SocketLibrary library_;
  fmrsim::net::Socket listener_;
  fmrsim::net::Socket client_;
  uint16_t port_ = 0;
  Handler handler_;
  std::atomic<bool> stop_{false};
  std::atomic<int> disconnects_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::thread thread_;
};

}  // namespace tessic_test
