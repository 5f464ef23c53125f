// The trace file on Windows: the C library's file, every write checked.
// There is no SIGPIPE to keep from the host: a write to a pipe whose reader
// closed fails like any other, and opening a named pipe never waits.
#include <cerrno>
#include <cstring>

#include "trace_file.h"

namespace tessic {

bool TraceFile::Open(const std::string& path, std::string& reason) {
  Close();
  errno = 0;
  file_.reset(std::fopen(path.c_str(), "w"));
  if (!file_) reason = errno != 0 ? std::strerror(errno) : "cannot be opened";
  return file_ != nullptr;
}

bool TraceFile::Write(std::string_view bytes, std::string& reason) {
  if (!file_) {
    reason = "not open";
    return false;
  }
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size() &&
      std::fflush(file_.get()) == 0)
    return true;
  reason = errno != 0 ? std::strerror(errno) : "write failed";
  return false;
}

void TraceFile::Close() {
  file_.reset();
}

bool TraceFile::is_open() const {
  return file_ != nullptr;
}

}  // namespace tessic
