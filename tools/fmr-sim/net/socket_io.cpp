#include "fmr-sim/net/socket_io.h"

#include <cstring>

// The platform section: the system socket headers and the few calls that
// differ between Winsock and POSIX sockets. Everything below it is portable.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

namespace fmrsim::net {
namespace {

using SockLen = int;
using PollFd = WSAPOLLFD;
constexpr int kSendFlags = 0;
constexpr NativeSocket kInvalidNative = static_cast<NativeSocket>(INVALID_SOCKET);

bool StartNetwork() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}
void StopNetwork() {
  WSACleanup();
}
int LastError() {
  return WSAGetLastError();
}
std::string ErrorText(int code) {
  return "socket error " + std::to_string(code);
}
bool IsAddressInUse(int code) {
  return code == WSAEADDRINUSE || code == WSAEACCES;
}
void CloseNative(NativeSocket s) {
  closesocket(static_cast<SOCKET>(s));
}
void PrepareListener(NativeSocket s) {
  // Windows lets SO_REUSEADDR steal a port in use; ask for the opposite.
  int on = 1;
  setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
}
int PollSockets(PollFd* fds, unsigned count, int timeout_ms) {
  return WSAPoll(fds, count, timeout_ms);
}
// recv and send take int lengths.
long ReceiveSome(NativeSocket s, char* buffer, size_t capacity) {
  const int max = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
  return recv(s, buffer, max, 0);
}
long SendSome(NativeSocket s, const char* data, size_t size) {
  const int chunk = size > 0x10000 ? 0x10000 : static_cast<int>(size);
  return send(s, data, chunk, kSendFlags);
}
bool WouldBlock(int code) {
  return code == WSAEWOULDBLOCK;
}
bool MakeNonBlocking(NativeSocket s) {
  u_long on = 1;
  return ioctlsocket(static_cast<SOCKET>(s), FIONBIO, &on) == 0;
}

}  // namespace
}  // namespace fmrsim::net
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace fmrsim::net {
namespace {

using SockLen = socklen_t;
using PollFd = pollfd;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a dropped peer must not raise SIGPIPE
constexpr NativeSocket kInvalidNative = -1;

bool StartNetwork() {
  return true;
}
void StopNetwork() {}
int LastError() {
  return errno;
}
std::string ErrorText(int code) {
  return std::strerror(code);
}
bool IsAddressInUse(int code) {
  return code == EADDRINUSE;
}
void CloseNative(NativeSocket s) {
  close(s);
}
void PrepareListener(NativeSocket s) {
  // Rebinding right after a restart must not wait for TIME_WAIT; a second
  // listener on the same port still fails.
  int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}
int PollSockets(PollFd* fds, unsigned count, int timeout_ms) {
  return poll(fds, count, timeout_ms);
}
long ReceiveSome(NativeSocket s, char* buffer, size_t capacity) {
  return static_cast<long>(recv(s, buffer, capacity, 0));
}
long SendSome(NativeSocket s, const char* data, size_t size) {
  return static_cast<long>(send(s, data, size, kSendFlags));
}
bool WouldBlock(int code) {
  return code == EAGAIN || code == EWOULDBLOCK || code == EINTR;
}
bool MakeNonBlocking(NativeSocket s) {
  const int flags = fcntl(s, F_GETFL, 0);
  return flags >= 0 && fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace
}  // namespace fmrsim::net
#endif

namespace fmrsim::net {
namespace {

bool FillAddress(const std::string& address, uint16_t port, sockaddr_in& out) {
  std::memset(&out, 0, sizeof out);
  out.sin_family = AF_INET;
  out.sin_port = htons(port);
  return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

std::string Endpoint(const std::string& address, uint16_t port) {
  return address + ":" + std::to_string(port);
}

// A new TCP socket, with `addr` filled in for `address`:`port`; invalid,
// with `error` set, when the address is not IPv4 or no socket can be had.
Socket NewTcpSocket(const std::string& address, uint16_t port, sockaddr_in& addr,
                    std::string& error) {
  if (!FillAddress(address, port, addr)) {
    error = "not an IPv4 address: " + address;
    return {};
  }
  Socket s(static_cast<NativeSocket>(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)));
  if (!s.valid()) error = "cannot create a socket: " + LastErrorText();
  return s;
}

void SetNoDelay(NativeSocket s) {
  // Replies are small and each exchange waits for the previous one.
  int on = 1;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

}  // namespace

SocketLibrary::SocketLibrary() : ok_(StartNetwork()) {}

SocketLibrary::~SocketLibrary() {
  if (ok_) StopNetwork();
}

NativeSocket Socket::InvalidHandle() {
  return kInvalidNative;
}

Socket::~Socket() {
  Close();
}

Socket::Socket(Socket&& other) noexcept : handle_(other.handle_) {
  other.handle_ = InvalidHandle();
}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = InvalidHandle();
  }
  return *this;
}

bool Socket::valid() const {
  return handle_ != InvalidHandle();
}

void Socket::Close() {
  if (valid()) {
    CloseNative(handle_);
    handle_ = InvalidHandle();
  }
}

Socket ListenTcp(const std::string& address, uint16_t port, std::string& error, bool& in_use) {
  in_use = false;
  sockaddr_in addr{};
  Socket s = NewTcpSocket(address, port, addr, error);
  if (!s.valid()) return {};
  PrepareListener(s.native());
  if (bind(s.native(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    const int code = LastError();
    in_use = IsAddressInUse(code);
    error = in_use ? Endpoint(address, port) + " is already in use"
                   : "cannot bind " + Endpoint(address, port) + ": " + ErrorText(code);
    return {};
  }
  if (listen(s.native(), 4) != 0) {
    error = "cannot listen on " + Endpoint(address, port) + ": " + LastErrorText();
    return {};
  }
  return s;
}

Socket ConnectTcp(const std::string& address, uint16_t port, std::string& error) {
  sockaddr_in addr{};
  Socket s = NewTcpSocket(address, port, addr, error);
  if (!s.valid()) return {};
  if (connect(s.native(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    error = "cannot connect to " + Endpoint(address, port) + ": " + LastErrorText();
    return {};
  }
  SetNoDelay(s.native());
  return s;
}

uint16_t LocalPort(const Socket& socket) {
  sockaddr_in addr{};
  SockLen length = sizeof addr;
  if (getsockname(socket.native(), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return 0;
  return ntohs(addr.sin_port);
}

Socket Accept(const Socket& listener) {
  Socket s(static_cast<NativeSocket>(accept(listener.native(), nullptr, nullptr)));
  if (s.valid()) SetNoDelay(s.native());
  return s;
}

bool WaitReadable(const Socket& first, const Socket& second, int timeout_ms, bool& first_ready,
                  bool& second_ready) {
  first_ready = false;
  second_ready = false;
  PollFd fds[2]{};
  unsigned count = 0;
  // The socket's index in `fds`, or -1 when it is not watched.
  auto watch = [&fds, &count](const Socket& socket) {
    if (!socket.valid()) return -1;
    fds[count].fd = socket.native();
    fds[count].events = POLLIN;
    return static_cast<int>(count++);
  };
  const int first_index = watch(first);
  const int second_index = watch(second);
  if (count == 0) return false;
  const int n = PollSockets(fds, count, timeout_ms);
  if (n <= 0) return false;
  constexpr short kReady = POLLIN | POLLHUP | POLLERR;
  if (first_index >= 0) first_ready = (fds[first_index].revents & kReady) != 0;
  if (second_index >= 0) second_ready = (fds[second_index].revents & kReady) != 0;
  return first_ready || second_ready;
}

bool WaitWritable(const Socket& socket, const Socket& listener, int timeout_ms, bool& writable,
                  bool& listener_ready) {
  writable = false;
  listener_ready = false;
  if (!socket.valid()) return false;
  PollFd fds[2]{};
  fds[0].fd = socket.native();
  fds[0].events = POLLOUT;
  unsigned count = 1;
  if (listener.valid()) {
    fds[1].fd = listener.native();
    fds[1].events = POLLIN;
    count = 2;
  }
  if (PollSockets(fds, count, timeout_ms) <= 0) return false;
  writable = (fds[0].revents & (POLLOUT | POLLHUP | POLLERR)) != 0;
  listener_ready = count == 2 && (fds[1].revents & (POLLIN | POLLERR)) != 0;
  return writable || listener_ready;
}

bool SetNonBlocking(const Socket& socket) {
  return socket.valid() && MakeNonBlocking(socket.native());
}

long Receive(const Socket& socket, char* buffer, size_t capacity) {
  const long received = ReceiveSome(socket.native(), buffer, capacity);
  if (received < 0 && WouldBlock(LastError())) return kNothingYet;
  return received;
}

long SendAvailable(const Socket& socket, std::string_view data) {
  size_t taken = 0;
  while (taken < data.size()) {
    const long sent = SendSome(socket.native(), data.data() + taken, data.size() - taken);
    if (sent > 0) {
      taken += static_cast<size_t>(sent);
      continue;
    }
    if (sent < 0 && WouldBlock(LastError())) break;
    return -1;
  }
  return static_cast<long>(taken);
}

bool SendAll(const Socket& socket, std::string_view data) {
  while (!data.empty()) {
    const long sent = SendSome(socket.native(), data.data(), data.size());
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

std::string LastErrorText() {
  return ErrorText(LastError());
}

}  // namespace fmrsim::net
