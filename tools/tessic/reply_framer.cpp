#include "reply_framer.h"

#include <cstdint>
#include <string_view>

namespace tessic {

void ReplyFramer::Append(const char* data, size_t size) {
  bytes_.append(data, size);
}

void ReplyFramer::Clear() {
  bytes_.clear();
  scanned_ = 0;
}

std::optional<Reply> ReplyFramer::Take() {
  for (size_t end; (end = bytes_.find('\n', scanned_)) != std::string::npos; scanned_ = end + 1) {
    std::string_view line(bytes_.data() + scanned_, end - scanned_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line != "OK" && line != "ERROR") continue;

    Reply reply;
    reply.error = line == "ERROR";
    size_t text_end = scanned_;
    if (text_end > 0 && bytes_[text_end - 1] == '\n') --text_end;
    if (text_end > 0 && bytes_[text_end - 1] == '\r') --text_end;
    reply.text = bytes_.substr(0, text_end);
    bytes_.erase(0, end + 1);
    scanned_ = 0;
    return reply;
  }
  return std::nullopt;
}

bool ParseConnectionText(const std::string& text, std::string& host, uint16_t& port) {
  static constexpr std::string_view kPrefix = "FMR/TCPIPc_";
  if (text.compare(0, kPrefix.size(), kPrefix) != 0) return false;
  const std::string address = text.substr(kPrefix.size());
  const size_t colon = address.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= address.size()) return false;
  uint32_t value = 0;
  for (size_t i = colon + 1; i < address.size(); ++i) {
    const char c = address[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
    if (value > 65535) return false;
  }
  if (value == 0) return false;
  host = address.substr(0, colon);
  port = static_cast<uint16_t>(value);
  return true;
}

}  // namespace tessic
