// A tiny line-oriented TCP server on 127.0.0.1 for transport round trips: a
// thread accepts one connection at a time, reads command lines and writes
// back what the handler answers, optionally after a delay, or drops the
// connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gen2_test {

class LineServer {
 public:
  struct Response {
    std::string bytes;  // written back as they are
    int delay_ms = 0;   // wait before answering
    bool drop = false;  // close the connection instead of answering
  };
  using Handler = std::function<Response(const std::string& line)>;

  explicit LineServer(Handler handler);
  ~LineServer();
  LineServer(const LineServer&) = delete;
  LineServer& operator=(const LineServer&) = delete;

  uint16_t port() const { return port_; }
  // "127.0.0.1:PORT"
  std::string address() const;
  // The command lines received so far (without line ends).
  std::vector<std::string> lines() const;
  int connections() const { return connections_; }

 private:
  void Run();
  void Serve(int client);
  bool Wait(int ms) const;  // false when stopping

  Handler handler_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::thread thread_;
};

}  // namespace gen2_test
