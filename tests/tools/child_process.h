// Runs a tool as a child process (POSIX) with each of its outputs going to
// a pipe the test reads, to /dev/full, or to a pipe whose reader is gone;
// the child starts with SIGPIPE at its default, so a tool that does not
// ignore it dies of it. Lines can be read while it runs; Finish collects the
// rest and the exit status.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace childtest {

enum class Sink { kRead, kFull, kNoReader };

struct Finished {
  int status = -1;  // the exit status; 128 + N when killed by signal N
  std::string out, err;
};

class ChildProcess {
 public:
  // `argv[0]` is the program's path. `fd3`: what the child has as file
  // descriptor 3 (for an output named /dev/fd/3); `input`: a file as its
  // standard input (/dev/null when empty).
  ChildProcess(const std::vector<std::string>& argv, Sink out, Sink err,
               std::optional<Sink> fd3 = std::nullopt, const std::string& input = "") {
    const int out_fd = Open(out, out_read_);
    const int err_fd = Open(err, err_read_);
    int fd3_read = -1;
    const int fd3_fd = fd3 ? Open(*fd3, fd3_read) : -1;
    const int in_fd = ::open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
    EXPECT_GE(in_fd, 0) << input;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::signal(SIGPIPE, SIG_DFL);
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::dup2(in_fd, 0);
      ::dup2(out_fd, 1);
      ::dup2(err_fd, 2);
      if (fd3_fd >= 0) ::dup2(fd3_fd, 3);
      for (int fd = fd3_fd >= 0 ? 4 : 3; fd < 256; ++fd) ::close(fd);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    for (const int fd : {out_fd, err_fd, fd3_fd, in_fd, fd3_read}) {
      if (fd >= 0) ::close(fd);
    }
  }
  ~ChildProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    for (const int fd : {out_read_, err_read_}) {
      if (fd >= 0) ::close(fd);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of standard output (without its line feed); empty when
  // the child ends or `timeout` passes first.
  std::string ReadOutLine(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
      const size_t end = out_.find('\n', out_taken_);
      if (end != std::string::npos) {
        std::string line = out_.substr(out_taken_, end - out_taken_);
        out_taken_ = end + 1;
        return line;
      }
      if (out_read_ < 0 || std::chrono::steady_clock::now() >= deadline) return {};
      ReadSome(out_read_, out_, 100);
    }
  }

  // Reads standard error until it holds `text` (kept for Finish); false
  // when the child ends or `timeout` passes first.
  bool WaitForErr(const std::string& text,
                  std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (err_.find(text) == std::string::npos) {
      if (err_read_ < 0 || std::chrono::steady_clock::now() >= deadline) return false;
      ReadSome(err_read_, err_, 100);
    }
    return true;
  }

  void Signal(int number) { ::kill(pid_, number); }

  // Reads both outputs to their end and waits for the exit; a child still
  // running after `timeout` is killed (status 128 + 9).
  Finished Finish(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while ((out_read_ >= 0 || err_read_ >= 0) && std::chrono::steady_clock::now() < deadline) {
      if (out_read_ >= 0) ReadSome(out_read_, out_, 10);
      if (err_read_ >= 0) ReadSome(err_read_, err_, 10);
    }
    int status = 0;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
      ended = ::waitpid(pid_, &status, WNOHANG) == pid_;
      if (!ended) ::usleep(10000);
    }
    if (!ended) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    Finished finished;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.out = out_.substr(out_taken_);
    finished.err = err_;
    return finished;
  }

 private:
  // The child's end of `sink`; `reader` the test's end when it reads.
  static int Open(Sink sink, int& reader) {
    reader = -1;
    if (sink == Sink::kFull) return ::open("/dev/full", O_WRONLY);
    int fds[2] = {-1, -1};
    EXPECT_EQ(::pipe(fds), 0);
    if (sink == Sink::kNoReader) {
      ::close(fds[0]);
    } else {
      reader = fds[0];
    }
    return fds[1];
  }

  // Appends what `fd` has within `wait_ms`; closes it at its end.
  static void ReadSome(int& fd, std::string& into, int wait_ms) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, wait_ms) <= 0) return;
    char chunk[4096];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) {
      into.append(chunk, static_cast<size_t>(n));
    } else {
      ::close(fd);
      fd = -1;
    }
  }

  pid_t pid_ = -1;
  int out_read_ = -1;
  int err_read_ = -1;
  std::string out_;
  size_t out_taken_ = 0;  // read by ReadOutLine
  std::string err_;
};

}  // namespace childtest
