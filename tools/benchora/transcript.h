// What benchora reports (log lines, commands and their replies): written to
// standard output and, when asked, to a file as well, for hosts whose
// standard output is hard to reach (a GUI program under Wine).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace benchora {

class Transcript {
 public:
  // Also writes every line to `path` from now on; false with `error` set
  // when the file cannot be created.
  bool OpenFile(const std::string& path, std::string& error);
  void Line(const std::string& text);
  // A failure of benchora itself: standard error, and the file.
  void Error(const std::string& text);

 private:
  std::ofstream file_;
};

// A log line as the host shows it: "LOG[flag] text".
std::string LogLineText(const char* text, uint8_t flag);

}  // namespace benchora
