#include "trace.h"

#include <cstdio>

namespace tessic {

bool Trace::Start(const std::string& path) {
  path_ = path;
  std::string reason;
  if (file_.Open(path, reason)) return true;
  Log(0, "trace " + path + ": " + reason + "; tracing off");
  return false;
}

void Trace::Write(int32_t session, std::string_view event, std::string_view text) {
  if (sink_ != nullptr) {
    event_.assign(event);
    sink_(sink_context_, session, event_.c_str(), text.data(), static_cast<int32_t>(text.size()));
  }
  if (!file_.is_open()) return;
  line_.clear();
  if (session != 0) line_ = "session " + std::to_string(session) + ": ";
  line_.append(event);
  if (!text.empty()) line_ += ' ';
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      line_ += "\\r";
    } else if (c == '\n') {
      line_ += "\\n";
    } else if (c == '\\') {
      line_ += "\\\\";
    } else if (byte < 0x20 || byte == 0x7f) {
      line_ += "\\x";
      line_ += kHex[byte >> 4];
      line_ += kHex[byte & 15];
    } else {
      line_ += c;
    }
  }
  line_ += '\n';
  std::string reason;
  if (file_.Write(line_, reason)) return;
  // Told once: the trace is off before the line is logged.
  file_.Close();
  Log(0, "trace " + path_ + ": " + reason + "; tracing stopped");
}

void Trace::Log(int32_t session, std::string_view line) {
  std::fprintf(stderr, "TESSIC: %.*s\n", static_cast<int>(line.size()), line.data());
  std::fflush(stderr);
  Write(session, kLogEvent, line);
}

}  // namespace tessic
