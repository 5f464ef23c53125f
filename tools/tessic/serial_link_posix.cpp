// The serial link on POSIX: termios raw mode, flock and TIOCEXCL for
// exclusive use (both given up at close), poll for timed reads.
#include "serial_link.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace tessic {
namespace {

// Gives up the exclusive use TIOCEXCL set. The flag belongs to the device,
// not to the descriptor: a pseudo-terminal keeps it for as long as its
// master is open, and while it is set every open but root's fails with
// EBUSY. Fails harmlessly on a device that is gone.
void ClearExclusive(int fd) {
  (void)::ioctl(fd, TIOCNXCL);
}

// Owns a descriptor until it is released to the link; once the exclusive
// flag is set on it, that is cleared again when the open fails after all.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() { Close(); }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  [[nodiscard]] int get() const { return fd_; }
  void MarkExclusive() { exclusive_ = true; }
  [[nodiscard]] int Release() {
    exclusive_ = false;
    return std::exchange(fd_, -1);
  }
  void Close() {
    if (fd_ >= 0 && exclusive_) ClearExclusive(fd_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    exclusive_ = false;
  }

 private:
  int fd_;
  bool exclusive_ = false;
};

speed_t SpeedConstant(uint32_t baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 230400:
      return B230400;
#ifdef B460800
    case 460800:
      return B460800;
#endif
#ifdef B921600
    case 921600:
      return B921600;
#endif
    default:
      return B115200;
  }
}

bool Busy(int error) {
  return error == EBUSY || error == EWOULDBLOCK;
}

// A read or write error that means the device is gone: unplugged, or the
// pseudo-terminal's master closed.
bool Gone(int error) {
  return error == EIO || error == ENXIO || error == EPIPE || error == ENODEV || error == EBADF;
}

std::string GroupOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  const group* g = ::getgrgid(info.st_gid);
  return g != nullptr ? g->gr_name : std::to_string(info.st_gid);
}

// The first process with a descriptor on `path`, as "PID (NAME)", or "".
std::string Holder(const std::string& path) {
  std::array<char, PATH_MAX> resolved{};
  const std::string device =
      ::realpath(path.c_str(), resolved.data()) != nullptr ? resolved.data() : path;
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return {};
  std::string found;
  while (found.empty()) {
    const dirent* entry = ::readdir(proc);
    if (entry == nullptr) break;
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string fds = "/proc/" + pid + "/fd";
    DIR* dir = ::opendir(fds.c_str());
    if (dir == nullptr) continue;  // another user's process
    while (const dirent* fd = ::readdir(dir)) {
      std::array<char, PATH_MAX> link{};
      const std::string name = fds + "/" + fd->d_name;
      const ssize_t n = ::readlink(name.c_str(), link.data(), link.size() - 1);
      if (n > 0 && device == std::string(link.data(), static_cast<size_t>(n))) {
        std::string comm;
        std::ifstream("/proc/" + pid + "/comm") >> comm;
        found = pid + (comm.empty() ? "" : " (" + comm + ")");
        break;
      }
    }
    ::closedir(dir);
  }
  ::closedir(proc);
  return found;
}

}  // namespace

std::string BusyMessage(const std::string& path) {
  const std::string holder = Holder(path);
  return "serial port " + path + " is busy" +
         (holder.empty() ? std::string(" (another program has it open)")
                         : ": held by process " + holder) +
         ". On Linux ModemManager often probes a new ACM port for a while after it appears; "
         "to make it leave the port alone, add a udev rule with ENV{ID_MM_DEVICE_IGNORE}=\"1\" "
         "for the device (ATTRS{idVendor}/ATTRS{idProduct}) and plug it in again";
}

SerialLink::SerialLink(SerialTarget target) : target_(std::move(target)) {}

SerialLink::~SerialLink() {
  Close();
}

bool SerialLink::connected() const {
  return fd_ >= 0;
}

void SerialLink::Close() {
  if (fd_ < 0) return;
  // The port goes back as it was found. Each step fails harmlessly on a
  // device that is gone, and none waits: output the device has not taken is
  // dropped, so the close does not wait for it to drain.
  ClearExclusive(fd_);
  (void)::tcflush(fd_, TCOFLUSH);
  (void)::tcsetattr(fd_, TCSANOW, &saved_);
  (void)::close(fd_);  // releases the lock
  fd_ = -1;
}

bool SerialLink::Open(int /*timeout_ms*/, std::string& error) {
  Close();
  const std::string& path = target_.path;
  FdGuard fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    const int e = errno;
    if (e == ENOENT) {
      error = "serial port " + path + " not found (is the handset plugged in?)";
    } else if (e == EACCES) {
      const std::string group = GroupOf(path);
      error = "no permission to open serial port " + path +
              (group.empty() ? std::string()
                             : " (owned by group " + group + ": sudo usermod -aG " + group +
                                   " $USER, then log in again)");
    } else if (Busy(e)) {
      error = BusyMessage(path);
    } else {
      error = "cannot open serial port " + path + ": " + std::strerror(e);
    }
    return false;
  }
  if (!::isatty(fd.get())) {
    error = path + " is not a serial port";
    return false;
  }
  // Another open of this port, by any program, fails while this one holds it.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd.get(), TIOCEXCL) != 0) {
    const int e = errno;
    fd.Close();  // so that the holder found is the other open
    error =
        Busy(e) ? BusyMessage(path) : "cannot lock serial port " + path + ": " + std::strerror(e);
    return false;
  }
  fd.MarkExclusive();
  termios saved{};
  if (::tcgetattr(fd.get(), &saved) != 0) {
    error = "cannot read the mode of serial port " + path + ": " + std::strerror(errno);
    return false;
  }
  termios mode = saved;
  ::cfmakeraw(&mode);  // 8 bits, no parity, no echo, no line-end translation
  mode.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | CRTSCTS);
  mode.c_cflag |= CLOCAL | CREAD;
  mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  mode.c_cc[VMIN] = 0;  // reads never wait; waits are polls
  mode.c_cc[VTIME] = 0;
  const speed_t speed = SpeedConstant(target_.baud);
  if (::cfsetispeed(&mode, speed) != 0 || ::cfsetospeed(&mode, speed) != 0 ||
      ::tcsetattr(fd.get(), TCSANOW, &mode) != 0) {
    error = "cannot set serial port " + path + " to raw mode at " + std::to_string(target_.baud) +
            " baud: " + std::strerror(errno);
    return false;
  }
  (void)::tcflush(fd.get(), TCIFLUSH);  // what arrived before this open is stale
  saved_ = saved;
  fd_ = fd.Release();
  return true;
}

bool SerialLink::SendAll(const char* data, size_t size) {
  while (size > 0 && fd_ >= 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n > 0) {
      data += n;
      size -= static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    pollfd wait{fd_, POLLOUT, 0};
    if (n < 0 && errno == EAGAIN && ::poll(&wait, 1, 1000) > 0 && (wait.revents & POLLOUT) != 0)
      continue;
    Close();
  }
  return fd_ >= 0;
}

Link::ReadResult SerialLink::Read(char* out, size_t capacity, int wait_ms, size_t& received) {
  received = 0;
  if (fd_ < 0) return ReadResult::kClosed;
  // With VMIN and VTIME 0 a read of nothing returns 0, as does one at a hang-up:
  // only a read the poll announced tells the two apart.
  pollfd wait{fd_, POLLIN, 0};
  const int ready = ::poll(&wait, 1, wait_ms);
  if (ready < 0) {
    if (errno == EINTR) return ReadResult::kNothing;
    Close();
    return ReadResult::kClosed;
  }
  if (ready == 0) return ReadResult::kNothing;
  if ((wait.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) == 0) return ReadResult::kNothing;
  const ssize_t n = ::read(fd_, out, capacity);
  if (n > 0) {
    received = static_cast<size_t>(n);
    return ReadResult::kData;
  }
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return ReadResult::kNothing;
  if (n < 0 && !Gone(errno)) return ReadResult::kNothing;
  Close();  // 0 after a poll that saw input or a hang-up, or the device gone
  return ReadResult::kClosed;
}

}  // namespace tessic
