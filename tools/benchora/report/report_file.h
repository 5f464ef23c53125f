// A report file that is either complete or left as it was. A regular file
// (or a new one) is written to a temporary file beside it and renamed into
// place on Commit, so a run that does not get that far never empties an
// older report. A special file (a FIFO, a device such as /dev/stdout) is
// opened once and written in place: reopening a FIFO would wait for a
// reader that has already gone. Every write, the flush and the close are
// checked; the first failure names the file and the system's reason.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace benchora {

class ReportFile {
 public:
  ReportFile() = default;
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;
  // An uncommitted temporary file is removed; the target stays as it was.
  ~ReportFile();

  // False with `error` set ("cannot write PATH: REASON") when the file (or
  // its temporary file) cannot be created.
  [[nodiscard]] bool Open(const std::string& path, std::string& error);
  [[nodiscard]] bool is_open() const { return file_ != nullptr; }
  [[nodiscard]] const std::string& path() const { return path_; }
  [[nodiscard]] bool in_place() const { return in_place_; }

  // Appends and flushes `text`. False once anything failed; error() says what.
  bool Write(std::string_view text);
  // Closes the file and renames it into place. False with `error` set when
  // a write, the close or the rename failed (the target then stays as it was).
  [[nodiscard]] bool Commit(std::string& error);
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  void Fail(const std::string& what);

  std::string path_;
  std::string temp_;  // empty when written in place
  bool in_place_ = false;
  std::unique_ptr<std::FILE, Closer> file_;
  std::string error_;
};

// True when `a` and `b` name the same file: the same existing file, or the
// same place for a file still to be made.
[[nodiscard]] bool SameFile(const std::string& a, const std::string& b);

}  // namespace benchora
