// One TCP connection of the transport stand-in, over BSD sockets or Winsock.
// On POSIX the connected socket blocks and each waiting receive is bounded by
// SO_RCVTIMEO; on Windows it is non-blocking and a wait is a poll.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "link.h"

namespace tessic {

// Keeps the socket library started while alive: Winsock needs a start-up
// call before any socket and a clean-up after the last one is closed; POSIX
// needs nothing.
class NetworkScope {
 public:
  NetworkScope();
  ~NetworkScope();
  NetworkScope(const NetworkScope&) = delete;
  NetworkScope& operator=(const NetworkScope&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// Every link must be closed while a NetworkScope is alive.
class TcpLink final : public Link {
 public:
  TcpLink(std::string host, uint16_t port) : host_(std::move(host)), port_(port) {}
  ~TcpLink() override;

  // Connects to host:port (an IPv4 address or a host name).
  bool Open(int timeout_ms, std::string& error) override;
  void Close() override;
  bool connected() const override;
  bool SendAll(const char* data, size_t size) override;
  ReadResult Read(char* out, size_t capacity, int wait_ms, size_t& received) override;

 private:
  std::string host_;
  uint16_t port_ = 0;
  intptr_t socket_ = -1;
  int receive_timeout_ms_ = 0;  // SO_RCVTIMEO as last set; 0 = never set
};

}  // namespace tessic
