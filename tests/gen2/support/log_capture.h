// Captures the plug-in's host log lines while it exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gen2_test {

struct LogLine {
  std::string text;
  uint8_t flag;
  bool operator==(const LogLine&) const = default;
};

class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  const std::vector<LogLine>& lines() const;
  std::vector<std::string> texts() const;
  void Clear();
};

}  // namespace gen2_test
