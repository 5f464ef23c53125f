// One TCP connection of the transport stand-in, over BSD sockets or Winsock.
// On POSIX the connected socket blocks and each waiting receive is bounded by
// SO_RCVTIMEO; on Windows it is non-blocking and a wait is a poll.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
class TcpLink {
 public:
  TcpLink() = default;
  ~TcpLink();
  TcpLink(const TcpLink&) = delete;
  TcpLink& operator=(const TcpLink&) = delete;

  // Connects to host:port (an IPv4 address or a host name), waiting at most
  // `timeout_ms`. Closes any earlier connection first.
  bool Connect(const std::string& host, uint16_t port, int timeout_ms);
  void Close();
  bool connected() const;

  // Writes all bytes; false (and the link closed) when the connection fails.
  bool SendAll(const char* data, size_t size);

  enum class ReadResult { kData, kNothing, kClosed };
  // Waits up to `wait_ms` for data, then reads what is there (up to
  // `capacity` bytes) into `out`.
  ReadResult Read(char* out, size_t capacity, int wait_ms, size_t& received);
  // Reads and drops whatever has already arrived, without waiting, for at
  // most `limit_ms`. A connection found closed is closed here too.
  void Drain(int limit_ms);

 private:
  intptr_t socket_ = -1;
  int receive_timeout_ms_ = 0;  // SO_RCVTIMEO as last set; 0 = never set
};

}  // namespace tessic
