#include "trace.h"

namespace tessic {

bool Trace::Start(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "w"));
  return file_ != nullptr;
}

void Trace::Write(int32_t session, std::string_view event, std::string_view text) {
  if (sink_ != nullptr) {
    event_.assign(event);
    sink_(sink_context_, session, event_.c_str(), text.data(), static_cast<int32_t>(text.size()));
  }
  if (!file_) return;
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
  std::fwrite(line_.data(), 1, line_.size(), file_.get());
  std::fflush(file_.get());
}

}  // namespace tessic
