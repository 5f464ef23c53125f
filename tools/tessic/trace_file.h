// The file the transport's trace is written to: any path a bench engineer
// names, so also a FIFO another program reads, a terminal or /dev/full. The
// trace must never harm the host: opening never waits for a FIFO's reader
// (a FIFO nobody reads is refused at once), and on POSIX a write to a FIFO
// whose reader went away fails with EPIPE without raising SIGPIPE in the
// host, whose signal dispositions the library leaves alone. A write that
// fails is reported; the caller then stops tracing.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tessic {

class TraceFile {
 public:
  TraceFile() = default;
  ~TraceFile() { Close(); }
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  // Opens `path` for writing, made or emptied, closing any earlier file.
  // False with `reason` (a few words for the user) when it cannot be opened.
  [[nodiscard]] bool Open(const std::string& path, std::string& reason);
  // Writes all bytes; false with `reason` when the file took not all of
  // them (the file stays open; the caller closes it).
  [[nodiscard]] bool Write(std::string_view bytes, std::string& reason);
  void Close();
  [[nodiscard]] bool is_open() const;

 private:
#if defined(_WIN32)
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
#else
  int fd_ = -1;
#endif
};

}  // namespace tessic
