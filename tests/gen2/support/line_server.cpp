#include "line_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace gen2_test {

LineServer::LineServer(Handler handler) : handler_(std::move(handler)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof(address);
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 4) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("line server: cannot listen");
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LineServer::~LineServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string LineServer::address() const {
  return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LineServer::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool LineServer::Wait(int ms) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (stop_) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return !stop_;
}

void LineServer::Run() {
  while (!stop_) {
    pollfd fd{listener_, POLLIN, 0};
    if (::poll(&fd, 1, 20) <= 0) continue;
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0) continue;
    ++connections_;
    Serve(client);
    ::close(client);
  }
}

void LineServer::Serve(int client) {
  std::string pending;
  while (!stop_) {
    pollfd fd{client, POLLIN, 0};
    if (::poll(&fd, 1, 20) <= 0) continue;
    char chunk[4096];
    const ssize_t n = ::recv(client, chunk, sizeof(chunk), 0);
    if (n <= 0) return;
    pending.append(chunk, static_cast<size_t>(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
      }
      const Response response = handler_(line);
      if (response.delay_ms > 0 && !Wait(response.delay_ms)) return;
      if (response.drop) return;
      size_t sent = 0;
      while (sent < response.bytes.size()) {
        const ssize_t w = ::send(client, response.bytes.data() + sent, response.bytes.size() - sent,
                                 MSG_NOSIGNAL);
        if (w <= 0) return;
        sent += static_cast<size_t>(w);
      }
    }
  }
}

}  // namespace gen2_test
