// The trace file on POSIX: opened without waiting for a FIFO's reader,
// written with SIGPIPE blocked on the writing thread for the write alone.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "trace_file.h"

namespace tessic {
namespace {

// Keeps SIGPIPE from this thread while alive: a write to a pipe without a
// reader then fails with EPIPE and the SIGPIPE it raised stays pending for
// this thread; Consume takes that one away before the old mask comes back,
// so the host never sees it. Signals of other threads and of other causes
// are left as they are: a SIGPIPE already pending before stays pending.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    blocked_ = ::pthread_sigmask(SIG_BLOCK, &pipe_, &old_) == 0;
    sigset_t pending;
    sigemptyset(&pending);
    was_pending_ = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigpipeBlock() {
    if (blocked_) (void)::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeBlock(const SigpipeBlock&) = delete;
  SigpipeBlock& operator=(const SigpipeBlock&) = delete;

  // After a write failed with EPIPE: takes away the SIGPIPE it raised.
  void Consume() {
    if (!blocked_ || was_pending_) return;
    const timespec now{};
    while (::sigtimedwait(&pipe_, nullptr, &now) < 0 && errno == EINTR) {
    }
  }

 private:
  sigset_t pipe_{};
  sigset_t old_{};
  bool blocked_ = false;
  bool was_pending_ = false;
};

}  // namespace

bool TraceFile::Open(const std::string& path, std::string& reason) {
  Close();
  // Without O_NONBLOCK the open of a FIFO waits for a reader, for ever if
  // none comes; with it, a FIFO nobody reads fails at once with ENXIO.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    reason = errno == ENXIO ? "no program reads the FIFO" : std::strerror(errno);
    return false;
  }
  // Writes wait for room as a plain file's do.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    reason = std::strerror(errno);
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool TraceFile::Write(std::string_view bytes, std::string& reason) {
  if (fd_ < 0) {
    reason = "not open";
    return false;
  }
  SigpipeBlock no_sigpipe;
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    const int error = n < 0 ? errno : EIO;
    if (error == EPIPE) no_sigpipe.Consume();
    reason = std::strerror(error);
    return false;
  }
  return true;
}

void TraceFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool TraceFile::is_open() const {
  return fd_ >= 0;
}

}  // namespace tessic
