#include "platform/posix/file_update_posix.h"

#include "platform/platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <utility>

namespace platform::files {
namespace {

// Restores errno when it goes out of scope, so clean-up after a failed step
// does not hide why the step failed.
class KeepErrno {
 public:
  KeepErrno() : saved_(errno) {}
  ~KeepErrno() { errno = saved_; }
  KeepErrno(const KeepErrno&) = delete;
  KeepErrno& operator=(const KeepErrno&) = delete;

 private:
  int saved_;
};

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes and reports whether the close succeeded (written data may only
  // fail to reach the file there).
  [[nodiscard]] bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }
  void Reset() {
    if (fd_ >= 0) {
      KeepErrno keep;
      ::close(std::exchange(fd_, -1));
    }
  }

 private:
  int fd_;
};

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
 public:
  TemporaryFile(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}
  ~TemporaryFile() {
    fd_.Reset();
    if (!kept_) {
      KeepErrno keep;
      ::unlink(path_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  UniqueFd& fd() { return fd_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  UniqueFd fd_;
  bool kept_ = false;
};

template <typename Call>
auto RetryOnInterrupt(Call call) {
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) return result;
  }
}

// Reads up to `most_bytes` from the file, straight into the text, sized from
// the file's length (which may still change while it is read).
bool ReadAll(int fd, size_t most_bytes, std::string& text) {
  struct stat info {};
  const size_t expected =
      ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
  text.resize(std::min(expected + 4096, most_bytes));
  size_t used = 0;
  while (used < most_bytes) {
    if (used == text.size()) text.resize(std::min(text.size() * 2, most_bytes));
    const ssize_t n =
        RetryOnInterrupt([&] { return ::read(fd, text.data() + used, text.size() - used); });
    if (n < 0) return false;
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  text.resize(used);
  return true;
}

// Opens `path` only when it is a regular file. The type is looked at before
// opening, so a device is never opened, and again on the open descriptor in
// case the file was replaced in between; O_NONBLOCK keeps a FIFO put there
// meanwhile from blocking the open. Fails with EINVAL for any other type.
UniqueFd OpenRegular(const char* path, int flags) {
  struct stat info {};
  if (::stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return UniqueFd();
  }
  UniqueFd fd(
      RetryOnInterrupt([&] { return ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); }));
  if (fd.valid() && (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))) {
    fd.Reset();
    errno = EINVAL;
  }
  return fd;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = RetryOnInterrupt([&] { return ::write(fd, text.data(), text.size()); });
    if (n < 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file that `path` names once symbolic links are followed; it need not
// exist. Nullopt for a loop of links.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path) {
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  errno = ELOOP;
  return std::nullopt;
}

// Temporary files are named after the file, so that the next writer knows
// which ones a killed writer left behind.
std::string TemporaryPrefix(const std::filesystem::path& file) {
  return file.filename().string() + ".tmp-";
}

void RemoveLeftoverTemporaries(const std::filesystem::path& folder, const std::string& prefix) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (it->path().filename().string().starts_with(prefix)) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

std::optional<TemporaryFile> CreateTemporary(const std::filesystem::path& folder,
                                             const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = (folder / (prefix + std::to_string(::getpid()) + "-" +
                                        std::to_string(counter.fetch_add(1))))
                                 .string();
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.valid()) return std::optional<TemporaryFile>(std::in_place, path, std::move(fd));
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

UniqueFd LockSidecar(const std::string& file) {
  const std::string path = file + ".lock";
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666));
  // A lock file made by another user may be read-only to us; a shared
  // read-only descriptor still takes the lock.
  if (!fd.valid() && errno == EACCES) {
    fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.valid()) errno = EACCES;  // a folder we may not write, not a missing file
  }
  if (!fd.valid()) return fd;
  if (RetryOnInterrupt([&] { return ::flock(fd.get(), LOCK_EX); }) != 0) return UniqueFd();
  return fd;
}

void SyncFolder(const std::filesystem::path& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // The rename has happened; a folder that cannot be synced (some file
  // systems refuse) does not undo it.
  if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

std::optional<std::string> UpdateFile(const std::string& path, size_t most_bytes,
                                      const Edit& edit) {
  const std::optional<std::filesystem::path> file = FollowLinks(path);
  if (!file) return std::nullopt;
  std::filesystem::path folder = file->parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);

  // The lock is taken beside the name the caller uses, never beside a
  // link's target, which may lie in a folder of someone else's.
  const UniqueFd lock = LockSidecar(path);
  if (!lock.valid()) return std::nullopt;

  // The file is read inside the lock, so writes another process committed
  // since this one last looked are kept. Opening it for writing as well
  // makes a file this process may not change stop the update here.
  std::string current;
  struct stat info {};
  bool exists = false;
  {
    const UniqueFd fd = OpenRegular(file->c_str(), O_RDWR | O_NOFOLLOW);
    if (fd.valid()) {
      exists = true;
      if (::fstat(fd.get(), &info) != 0 || !ReadAll(fd.get(), most_bytes + 1, current))
        return std::nullopt;
      if (current.size() > most_bytes) {
        errno = EFBIG;
        return std::nullopt;
      }
    } else if (errno != ENOENT) {
      return std::nullopt;
    }
  }
  const std::string prefix = TemporaryPrefix(*file);
  RemoveLeftoverTemporaries(folder, prefix);

  std::optional<std::string> replacement = edit(current);
  if (!replacement) return current;

  std::optional<TemporaryFile> temporary = CreateTemporary(folder, prefix);
  if (!temporary) return std::nullopt;
  UniqueFd& out = temporary->fd();
  if (exists) {
    // Keeping the owner needs privileges; without them the file becomes
    // the writer's, as any replaced file does. The mode comes after, as a
    // change of owner may clear the set-id bits.
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
      [[maybe_unused]] const int kept = ::fchown(out.get(), info.st_uid, info.st_gid);
    }
    if (::fchmod(out.get(), info.st_mode & 07777) != 0) return std::nullopt;
  }
  if (!WriteAll(out.get(), *replacement) || ::fsync(out.get()) != 0 || !out.Close())
    return std::nullopt;
  if (::rename(temporary->path().c_str(), file->c_str()) != 0) return std::nullopt;
  temporary->Keep();
  SyncFolder(folder);
  return replacement;
}

}  // namespace platform::files

namespace platform {

std::optional<std::string> ReadRegularFile(const std::string& path, size_t most_bytes) {
  const files::UniqueFd fd = files::OpenRegular(path.c_str(), O_RDONLY);
  std::string text;
  if (!fd.valid() || !files::ReadAll(fd.get(), most_bytes, text)) return std::nullopt;
  return text;
}

}  // namespace platform
