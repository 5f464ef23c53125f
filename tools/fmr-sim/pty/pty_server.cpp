#include "fmr-sim/pty/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace fmrsim::pty {
namespace {

// How long the serving thread waits for input before it looks at the stop
// flag again; also how often it looks for a reader while none has the slave open.
constexpr int kWaitSliceMs = 50;
// How long the half answer of a hang-up stays readable before the master closes.
constexpr uint32_t kHangUpGraceMs = 300;

std::string ErrnoText(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<PtyServer> PtyServer::Start(PtyServerConfig config, std::string& error) {
  auto server = std::make_unique<PtyServer>(Key{}, std::move(config));
  if (!server->OpenDevice(error)) return nullptr;
  server->thread_ = std::thread([raw = server.get()] { raw->Run(); });
  return server;
}

PtyServer::PtyServer(Key, PtyServerConfig config)
    : device_(std::move(config.radio), config.auto_search_polls, std::move(config.log)),
      connection_(device_, config.link, [this](std::string_view bytes) { return Write(bytes); }),
      config_(std::move(config)) {}

PtyServer::~PtyServer() {
  device_.Stop();
  if (thread_.joinable()) thread_.join();
}

std::string PtyServer::slave_path() const {
  const std::lock_guard lock(path_mutex_);
  return path_;
}

bool PtyServer::OpenDevice(std::string& error) {
  UniqueFd master(::posix_openpt(O_RDWR | O_NOCTTY));
  if (!master.valid()) {
    error = ErrnoText("posix_openpt");
    return false;
  }
  if (::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0) {
    error = ErrnoText("grantpt/unlockpt");
    return false;
  }
  char name[256] = {};
  if (::ptsname_r(master.get(), name, sizeof name) != 0) {
    error = ErrnoText("ptsname");
    return false;
  }
  // The master never blocks the serving thread, so a stop request is seen.
  const int flags = ::fcntl(master.get(), F_GETFL);
  if (flags < 0 || ::fcntl(master.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
    error = ErrnoText("fcntl");
    return false;
  }
  // Raw mode on the slave: its line discipline neither echoes nor turns CR
  // into LF, so what the device writes is what the reader gets. The setting
  // stays with the pair while the master is open, whoever opens the slave.
  {
    const UniqueFd slave(::open(name, O_RDWR | O_NOCTTY));
    termios mode{};
    if (!slave.valid() || ::tcgetattr(slave.get(), &mode) != 0) {
      error = ErrnoText(name);
      return false;
    }
    ::cfmakeraw(&mode);
    if (::tcsetattr(slave.get(), TCSANOW, &mode) != 0) {
      error = ErrnoText("tcsetattr");
      return false;
    }
  }
  master_ = std::move(master);
  {
    const std::lock_guard lock(path_mutex_);
    path_ = name;
  }
  reader_open_ = false;
  connection_.Reset();
  ++devices_;
  device_.Log(std::string("device at ") + name);
  if (config_.announce) config_.announce(std::string("serving on ") + name);
  return true;
}

void PtyServer::ForgetReader() {
  reader_open_ = false;
  connection_.Reset();
  // What was written for the last reader would greet the next one.
  const UniqueFd slave(::open(slave_path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  if (slave.valid()) (void)::tcflush(slave.get(), TCIFLUSH);
  device_.Log("reader closed the device");
}

void PtyServer::HangUp() {
  const uint32_t lines = config_.link.hangup_after;
  (void)device_.Pause(kHangUpGraceMs);
  master_.Close();
  device_.Log("device pulled");
  if (config_.announce)
    config_.announce("hung up after " + std::to_string(lines) + " command lines");
  std::string error;
  while (!device_.stopping() && !OpenDevice(error)) {
    device_.Log("no new device: " + error);
    (void)device_.Pause(1000);
  }
}

bool PtyServer::WriteAll(std::string_view piece) {
  while (!piece.empty()) {
    const ssize_t written = ::write(master_.get(), piece.data(), piece.size());
    if (written > 0) {
      if (config_.on_write) config_.on_write(static_cast<size_t>(written));
      piece.remove_prefix(static_cast<size_t>(written));
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    // The reader does not read: wait until it does, goes away or we stop.
    pollfd wait{master_.get(), POLLOUT, 0};
    if (::poll(&wait, 1, kWaitSliceMs) > 0 && (wait.revents & (POLLHUP | POLLERR)) != 0)
      return false;
    if (device_.stopping()) return false;
  }
  return true;
}

bool PtyServer::Write(std::string_view bytes) {
  using std::chrono::steady_clock;
  size_t most = bytes.size();
  if (config_.split > 0) most = std::min<size_t>(most, config_.split);
  // Paced writes go in pieces of about a millisecond of line time, so the
  // reader sees a stream rather than bursts.
  if (config_.baud > 0) most = std::min<size_t>(most, std::max<uint32_t>(1, config_.baud / 10000));
  if (config_.baud > 0) line_free_ = std::max(line_free_, steady_clock::now());
  while (!bytes.empty()) {
    const std::string_view piece = bytes.substr(0, most);
    // Nobody reads any more: the rest of the answer is for nobody.
    pollfd hup{master_.get(), 0, 0};
    if (::poll(&hup, 1, 0) > 0 && (hup.revents & POLLHUP) != 0) return false;
    if (config_.baud > 0) {
      // A byte is 10 bits on the line; the piece goes out when the line has
      // sent it, so the bytes written never run ahead of the line. The
      // pieces of one answer follow each other on the line's clock, so a
      // late wake-up delays one piece, not all that follow.
      line_free_ += LineTime(piece.size());
      if (!WaitUntil(line_free_)) return false;
    }
    if (!WriteAll(piece)) return false;
    bytes.remove_prefix(piece.size());
  }
  return true;
}

std::chrono::nanoseconds PtyServer::LineTime(size_t bytes) const {
  return std::chrono::nanoseconds((bytes * 10'000'000'000ULL + config_.baud - 1) / config_.baud);
}

bool PtyServer::WaitUntil(std::chrono::steady_clock::time_point until) {
  using std::chrono::steady_clock;
  for (auto at = steady_clock::now(); at < until; at = steady_clock::now()) {
    if (until - at > std::chrono::milliseconds(kWaitSliceMs)) {
      if (!device_.Pause(kWaitSliceMs)) return false;
    } else {
      std::this_thread::sleep_until(until);
    }
  }
  return true;
}

void PtyServer::Run() {
  char buffer[4096];
  while (!device_.stopping()) {
    pollfd wait{master_.get(), POLLIN, 0};
    const int ready = ::poll(&wait, 1, kWaitSliceMs);
    if (ready < 0) {
      if (errno != EINTR) (void)device_.Pause(kWaitSliceMs);
      continue;
    }
    bool no_reader = (wait.revents & (POLLHUP | POLLERR)) != 0;
    if ((wait.revents & POLLIN) != 0) {
      const ssize_t received = ::read(master_.get(), buffer, sizeof buffer);
      if (received > 0) {
        if (!reader_open_) device_.Log("reader opened the device");
        reader_open_ = true;
        if (config_.baud > 0) {
          // The pseudo-terminal hands the bytes over at once; on a serial
          // line the last of them arrives only after their line time.
          receive_free_ = std::max(receive_free_, std::chrono::steady_clock::now()) +
                          LineTime(static_cast<size_t>(received));
          if (!WaitUntil(receive_free_)) continue;
        }
        if (connection_.Receive(std::string_view(buffer, static_cast<size_t>(received)))) continue;
        if (connection_.hung_up()) {
          HangUp();
        } else {
          // A dropped connection only forgets the conversation: a tty cannot
          // be closed from this side. (A reader that went away is seen below.)
          connection_.Reset();
          device_.Log("conversation dropped");
        }
        continue;
      }
      // EIO: the last reader closed the slave.
      no_reader = no_reader || (received < 0 && errno == EIO);
    }
    if (no_reader) {
      if (reader_open_) ForgetReader();
      // The master reports the hang-up until a reader opens the slave again.
      (void)device_.Pause(kWaitSliceMs);
    } else if (!reader_open_) {
      reader_open_ = true;
      device_.Log("reader opened the device");
    }
  }
}

}  // namespace fmrsim::pty
