#include "line_server.h"

#include <stdexcept>

namespace tessic_test {

bool LineServer::Writer::Write(std::string_view bytes) {
  return fmrsim::net::SendAll(server_.client_, bytes);
}

bool LineServer::Writer::stopping() const {
  return server_.stop_.load();
}

LineServer::LineServer(Handler handler) : handler_(std::move(handler)) {
  std::string error;
  bool in_use = false;
  listener_ = fmrsim::net::ListenTcp("127.0.0.1", 0, error, in_use);
  if (!listener_.valid()) throw std::runtime_error(error);
  port_ = fmrsim::net::LocalPort(listener_);
  thread_ = std::thread([this] { Run(); });
}

LineServer::~LineServer() {
  stop_ = true;
  thread_.join();
}

std::string LineServer::connection() const {
  return "FMR/TCPIPc_127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> LineServer::commands() const {
  const std::lock_guard lock(mutex_);
  return commands_;
}

void LineServer::Run() {
  std::string pending;
  char buffer[4096];
  while (!stop_) {
    bool listener_ready = false;
    bool client_ready = false;
    if (!fmrsim::net::WaitReadable(listener_, client_, 20, listener_ready, client_ready)) continue;
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
      {
        const std::lock_guard lock(mutex_);
        commands_.push_back(line);
      }
      Writer writer(*this);
      handler_(line, writer);
    }
  }
}

}  // namespace tessic_test
