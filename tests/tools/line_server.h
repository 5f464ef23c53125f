// A scripted handset for the transport stand-in's tests: a TCP server on a
// free loopback port that hands each command line it receives (without its
// line end) to the test's handler, which answers with Write whatever bytes
// it likes, or none, on the server's thread. With echo, the server answers
// the echo switch "ATE1" itself and sends every other command line back
// before its handler answers it. One client at a time; a newer connection
// replaces it.
#pragma once

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "fmr-sim/net/socket_io.h"

namespace tessic_test {

class LineServer {
 public:
  using Handler = std::function<void(const std::string& command, LineServer& server)>;

  explicit LineServer(Handler handler, bool echo = true)
      : handler_(std::move(handler)), echo_(echo) {
    std::string error;
    bool in_use = false;
    listener_ = fmrsim::net::ListenTcp("127.0.0.1", 0, error, in_use);
    if (!listener_.valid()) throw std::runtime_error(error);
    thread_ = std::thread([this] { Run(); });
  }
  ~LineServer() {
    stop_ = true;
    thread_.join();
  }

  std::string address() const {
    return "127.0.0.1:" + std::to_string(fmrsim::net::LocalPort(listener_));
  }
  // For the handler: sends bytes to the client; false when that failed.
  bool Write(const std::string& bytes) { return fmrsim::net::SendAll(client_, bytes); }
  // For the handler: closes the connection to the client.
  void Drop() { client_.Close(); }
  // True once the server is being destroyed: a handler that loops stops.
  bool stopping() const { return stop_; }
  // Connections the client closed so far.
  int disconnects() const { return disconnects_; }

 private:
  void Run() {
    std::string pending;
    char buffer[4096];
    while (!stop_) {
      bool listener_ready = false, client_ready = false;
      if (!fmrsim::net::WaitReadable(listener_, client_, 20, listener_ready, client_ready))
        continue;
      if (listener_ready) {
        client_ = fmrsim::net::Accept(listener_);
        pending.clear();
        continue;
      }
      const long received = fmrsim::net::Receive(client_, buffer, sizeof buffer);
      if (received <= 0) {
        client_.Close();
        ++disconnects_;
        continue;
      }
      pending.append(buffer, static_cast<size_t>(received));
      for (size_t end; client_.valid() && (end = pending.find('\n')) != std::string::npos;) {
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (echo_) Write(line == "ATE1" ? "OK\r\n" : line + "\r\n");
        if (!echo_ || line != "ATE1") handler_(line, *this);
      }
    }
  }

  fmrsim::net::SocketLibrary library_;
  fmrsim::net::Socket listener_, client_;
  Handler handler_;
  bool echo_;
  std::atomic<bool> stop_{false};
  std::atomic<int> disconnects_{0};
  std::thread thread_;
};

}  // namespace tessic_test
