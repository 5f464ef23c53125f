// An output a tool writes its results to (standard output, standard error
// or a file) with every write, the flush and the close checked. The first
// failure is kept as a message that names the output and gives the
// system's reason ("standard output: No space left on device", "out.json:
// Broken pipe"): what a tool prints before it exits with status 1. After a
// failure nothing more is written.
//
// A tool that writes to a pipe ignores SIGPIPE (POSIX), so that a reader
// that went away shows as the error EPIPE here instead of ending the tool.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tooltext {

class CheckedOutput {
 public:
  [[nodiscard]] static CheckedOutput StandardOutput();
  [[nodiscard]] static CheckedOutput StandardError();
  // Creates `path` or empties it; nullopt when it cannot be opened, with
  // `error` saying why ("cannot write out.json: Permission denied").
  [[nodiscard]] static std::optional<CheckedOutput> OpenFile(const std::string& path,
                                                             std::string& error);

  // False when this write or an earlier one failed.
  [[nodiscard]] bool Write(std::string_view data);
  // Hands what is buffered to the system.
  [[nodiscard]] bool Flush();
  // Flushes and closes (standard output and error too: nothing may be
  // written to them afterwards). False when that or anything before failed.
  [[nodiscard]] bool Close();

  [[nodiscard]] bool failed() const { return !error_.empty(); }
  // "NAME: reason" after a failure, empty before.
  [[nodiscard]] const std::string& error() const { return error_; }
  // "standard output", "standard error" or the file's path.
  [[nodiscard]] const std::string& name() const { return name_; }

 private:
  // Closes a file the output opened and dropped without Close (its errors
  // go unseen); standard output and error are left to the program's end.
  struct FileCloser {
    bool owned = true;
    void operator()(std::FILE* file) const;
  };
  CheckedOutput(std::FILE* file, std::string name, bool owned)
      : file_(file, FileCloser{owned}), name_(std::move(name)) {}
  bool Fail(int code);

  std::unique_ptr<std::FILE, FileCloser> file_;  // empty once closed
  std::string name_;
  std::string error_;
};

// True when `input` is a regular file and `output` names it too (by any
// path or link), so that opening the output would destroy the input.
// Devices and pipes (/dev/null, a terminal as both) are never refused.
[[nodiscard]] bool SameFile(const std::string& output, const std::string& input);

}  // namespace tooltext
