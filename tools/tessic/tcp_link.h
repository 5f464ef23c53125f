// One TCP connection of the transport stand-in, over BSD sockets or Winsock.
// The socket is non-blocking once connected; waiting is done with poll.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tessic {

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

 private:
  intptr_t socket_ = -1;
};

}  // namespace tessic
