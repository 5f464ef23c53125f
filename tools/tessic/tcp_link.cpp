#include "tcp_link.h"

#include <chrono>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tessic {
namespace {

#if defined(_WIN32)
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
int PollSockets(WSAPOLLFD* fds, ULONG count, int timeout_ms) {
  return WSAPoll(fds, count, timeout_ms);
}
using PollFd = WSAPOLLFD;
bool Interrupted() {
  return WSAGetLastError() == WSAEINTR;
}
bool WouldBlock() {
  const int error = WSAGetLastError();
  return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}
void CloseSocket(Socket s) {
  closesocket(s);
}
bool SetBlocking(Socket s, bool blocking) {
  u_long on = blocking ? 0 : 1;
  return ioctlsocket(s, FIONBIO, &on) == 0;
}
// Winsock has no per-call non-blocking flag, and a receive that its
// SO_RCVTIMEO ends leaves the connection in an undefined state; so the
// socket stays non-blocking and a wait is a poll.
constexpr bool kBlockingOnceConnected = false;
constexpr int kSendFlags = 0;
constexpr int kReceiveNowFlags = 0;

#else
using Socket = int;
constexpr Socket kNoSocket = -1;
using PollFd = pollfd;
int PollSockets(pollfd* fds, nfds_t count, int timeout_ms) {
  return ::poll(fds, count, timeout_ms);
}
bool Interrupted() {
  return errno == EINTR;
}
bool WouldBlock() {
  return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINPROGRESS;
}
void CloseSocket(Socket s) {
  ::close(s);
}
bool SetBlocking(Socket s, bool blocking) {
  const int flags = ::fcntl(s, F_GETFL, 0);
  return flags >= 0 &&
         ::fcntl(s, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}
// Once connected the socket blocks, with SO_RCVTIMEO bounding each receive:
// a waiting receive is then one system call instead of a poll and a
// receive. Calls that must not wait say so with MSG_DONTWAIT.
constexpr bool kBlockingOnceConnected = true;
// A dropped peer must not raise SIGPIPE.
constexpr int kSendFlags = MSG_NOSIGNAL | MSG_DONTWAIT;
constexpr int kReceiveNowFlags = MSG_DONTWAIT;
#endif

Socket AsSocket(intptr_t value) {
  return static_cast<Socket>(value);
}

// Waits until the socket is ready for `events`; false on timeout or error.
bool WaitFor(Socket s, short events, int timeout_ms) {
  PollFd fd{};
  fd.fd = s;
  fd.events = events;
  return PollSockets(&fd, 1, timeout_ms) > 0 && (fd.revents & (events | POLLHUP | POLLERR)) != 0;
}

// A receive that waits up to `wait_ms` for something to arrive; -1 with
// WouldBlock() when nothing did. `timeout_set` keeps the receive timeout
// last set on the socket (POSIX), which is set again only when it changes:
// a reply's first wait is a whole receive slice, the same from one exchange
// to the next.
#if defined(_WIN32)
int ReceiveWaiting(Socket s, char* out, int size, int wait_ms, int& /*timeout_set*/) {
  if (!WaitFor(s, POLLIN, wait_ms)) {
    WSASetLastError(WSAEWOULDBLOCK);
    return -1;
  }
  return ::recv(s, out, size, 0);
}
#else
ssize_t ReceiveWaiting(Socket s, char* out, int size, int wait_ms, int& timeout_set) {
  if (wait_ms != timeout_set) {
    timeval limit{};
    limit.tv_sec = wait_ms / 1000;
    limit.tv_usec = (wait_ms % 1000) * 1000;
    if (::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit)) != 0) {
      errno = EAGAIN;
      return -1;
    }
    timeout_set = wait_ms;
  }
  return ::recv(s, out, size, 0);
}
#endif

}  // namespace

#if defined(_WIN32)
NetworkScope::NetworkScope() {
  WSADATA data;
  ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
NetworkScope::~NetworkScope() {
  if (ok_) WSACleanup();
}
#else
NetworkScope::NetworkScope() : ok_(true) {}
NetworkScope::~NetworkScope() = default;
#endif

TcpLink::~TcpLink() {
  Close();
}

bool TcpLink::connected() const {
  return socket_ != -1;
}

void TcpLink::Close() {
  if (socket_ != -1) CloseSocket(AsSocket(socket_));
  socket_ = -1;
}

bool TcpLink::Open(int timeout_ms, std::string& error) {
  Close();
  const std::string target = host_ + ":" + std::to_string(port_);

  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port_);
  if (::getaddrinfo(host_.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr) {
    error = "cannot resolve the address " + target;
    return false;
  }

  Socket s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  bool ok = s != kNoSocket && SetBlocking(s, false);
  if (ok) {
    const int rc = ::connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen));
    if (rc != 0) {
      ok = WouldBlock() && WaitFor(s, POLLOUT, timeout_ms);
      if (ok) {
        int failure = 0;
        socklen_t length = sizeof(failure);
        ok = ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&failure), &length) ==
                 0 &&
             failure == 0;
      }
    }
  }
  ::freeaddrinfo(found);
  if (!ok) {
    if (s != kNoSocket) CloseSocket(s);
    error = "nothing answers at " + target;
    return false;
  }
  if (kBlockingOnceConnected && !SetBlocking(s, true)) {
    CloseSocket(s);
    error = "cannot set up the connection to " + target;
    return false;
  }
  int one = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof(one));
  socket_ = static_cast<intptr_t>(s);
  receive_timeout_ms_ = 0;
  return true;
}

bool TcpLink::SendAll(const char* data, size_t size) {
  if (!connected()) return false;
  const Socket s = AsSocket(socket_);
  while (size > 0) {
    const int chunk = size > 0x10000 ? 0x10000 : static_cast<int>(size);
    const auto sent = ::send(s, data, chunk, kSendFlags);
    if (sent > 0) {
      data += sent;
      size -= static_cast<size_t>(sent);
    } else if (sent < 0 && WouldBlock() && WaitFor(s, POLLOUT, 1000)) {
      continue;
    } else {
      Close();
      return false;
    }
  }
  return true;
}

TcpLink::ReadResult TcpLink::Read(char* out, size_t capacity, int wait_ms, size_t& received) {
  received = 0;
  if (!connected()) return ReadResult::kClosed;
  const Socket s = AsSocket(socket_);
  const int chunk = capacity > 0x10000 ? 0x10000 : static_cast<int>(capacity);
  // Without a wait the receive itself tells what is there.
  const auto n = wait_ms > 0 ? ReceiveWaiting(s, out, chunk, wait_ms, receive_timeout_ms_)
                             : ::recv(s, out, chunk, kReceiveNowFlags);
  if (n > 0) {
    received = static_cast<size_t>(n);
    return ReadResult::kData;
  }
  if (n < 0 && (WouldBlock() || Interrupted())) return ReadResult::kNothing;
  Close();  // orderly shutdown by the peer, or a failed connection
  return ReadResult::kClosed;
}

}  // namespace tessic
