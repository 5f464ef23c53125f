#include "log_capture.h"

#include "host/exports.h"

namespace gen2_test {
namespace {

std::vector<LogLine>& Captured() {
  static std::vector<LogLine> lines;
  return lines;
}

void Capture(const char* text, uint8_t flag) {
  Captured().push_back({text != nullptr ? text : "", flag});
}

}  // namespace

LogCapture::LogCapture() {
  Captured().clear();
  SetShowLineFunc(&Capture);
}

LogCapture::~LogCapture() {
  SetShowLineFunc(nullptr);
  Captured().clear();
}

const std::vector<LogLine>& LogCapture::lines() const {
  return Captured();
}

std::vector<std::string> LogCapture::texts() const {
  std::vector<std::string> out;
  for (const LogLine& line : Captured()) out.push_back(line.text);
  return out;
}

void LogCapture::Clear() {
  Captured().clear();
}

}  // namespace gen2_test
