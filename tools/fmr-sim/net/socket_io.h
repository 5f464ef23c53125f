// Small wrappers over the BSD socket calls that the simulator needs, so the
// same server code runs over POSIX sockets and over Winsock. Only this
// module's .cpp includes the system socket headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fmrsim::net {

#ifdef _WIN32
using NativeSocket = uintptr_t;  // SOCKET
#else
using NativeSocket = int;
#endif

// Keeps the socket library initialised while alive (Winsock needs a start-up
// call per user; POSIX needs nothing). Create one before any socket.
class SocketLibrary {
 public:
  SocketLibrary();
  ~SocketLibrary();
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// One owned socket handle; closed when destroyed.
class Socket {
 public:
  Socket() = default;
  explicit Socket(NativeSocket handle) : handle_(handle) {}
  ~Socket();
  Socket(Socket&& other) noexcept;
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  bool valid() const;
  NativeSocket native() const { return handle_; }
  void Close();

 private:
  NativeSocket handle_ = InvalidHandle();
  static NativeSocket InvalidHandle();
};

// A listening TCP socket bound to `address` (dotted IPv4) and `port` (0 picks
// a free port). Invalid with `error` set when binding fails; `in_use` tells
// whether it failed because another program holds the address.
Socket ListenTcp(const std::string& address, uint16_t port, std::string& error, bool& in_use);
// A TCP connection to `address`:`port`; invalid with `error` set on failure.
Socket ConnectTcp(const std::string& address, uint16_t port, std::string& error);
// The port a socket is bound to; 0 when unknown.
uint16_t LocalPort(const Socket& socket);
// The next pending connection of a listener; invalid on failure.
Socket Accept(const Socket& listener);

// Waits up to `timeout_ms` until one of the two sockets has data (or a
// pending connection, or was closed by the peer). Either may be invalid and
// is then ignored. Sets the flags of the ready ones; false on timeout or error.
bool WaitReadable(const Socket& first, const Socket& second, int timeout_ms, bool& first_ready,
                  bool& second_ready);

// Waits up to `timeout_ms` until `socket` takes more bytes to send (or
// failed), or `listener` has a pending connection; `listener` may be
// invalid. Sets the flags of the ready ones; false on timeout or error.
bool WaitWritable(const Socket& socket, const Socket& listener, int timeout_ms, bool& writable,
                  bool& listener_ready);

// Puts a connection in non-blocking mode: a send takes what fits at once, a
// receive what has arrived. False when the system refused.
bool SetNonBlocking(const Socket& socket);

// Receive of a non-blocking socket with nothing arrived yet.
inline constexpr long kNothingYet = -2;

// Bytes received (> 0), 0 when the peer closed the connection, kNothingYet
// (non-blocking only), other values < 0 on error.
long Receive(const Socket& socket, char* buffer, size_t capacity);
// Sends all of `data`; false when the connection failed.
bool SendAll(const Socket& socket, std::string_view data);
// Sends what a non-blocking socket takes of `data` now: the bytes taken (0
// when it takes none before the peer reads), -1 when the connection failed.
long SendAvailable(const Socket& socket, std::string_view data);

// Text of the last socket error of the calling thread.
std::string LastErrorText();

}  // namespace fmrsim::net
