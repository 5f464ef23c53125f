// What benchora reports (log lines, commands and their replies, message
// boxes, its own notes): written to standard output and, when asked, to a
// file as well, for hosts whose standard output is hard to reach (a GUI
// program under Wine).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace benchora {

class Transcript {
 public:
  // Also writes every line to `path` from now on; false with `error` set
  // when the file cannot be created.
  bool OpenFile(const std::string& path, std::string& error);
  void Line(const std::string& text);
  // A line the user should see wherever benchora shows things (a message
  // box, a mark, a note): written like Line, then handed to `on_notice`.
  void Notice(const std::string& text);
  // "> command". With echo off (the user has just typed it at the prompt)
  // it goes to the file only.
  void Command(const std::string& text);
  void set_echo_commands(bool echo) { echo_commands_ = echo; }
  // Writes `text` to standard output without a line break (a prompt).
  static void Prompt(const std::string& text);
  // A failure of benchora itself: standard error, and the file.
  void Error(const std::string& text);
  // What only one platform can tell (how the Windows frame shows the
  // panel): standard error only, so transcripts compare across platforms.
  static void PlatformNote(const std::string& text);

  // Another place that shows notices (the Windows frame's log pane).
  std::function<void(const std::string&)> on_notice;

  // True once a line could not be written to standard output or the file
  // (each failure is told once on standard error); the run then fails.
  [[nodiscard]] bool write_failed() const { return stdout_failed_ || file_failed_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  void ToFile(const std::string& text);
  void ToStdout(const std::string& text);
  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  bool echo_commands_ = true;
  std::atomic<bool> stdout_failed_{false};
  std::atomic<bool> file_failed_{false};
};

// A log line as the host shows it: "LOG[flag] text", control bytes escaped.
std::string LogLineText(const char* text, uint8_t flag);

}  // namespace benchora
