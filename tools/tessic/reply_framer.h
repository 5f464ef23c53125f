// Modem-style reply framing: the handset answers a command with reply lines
// and then a final line "OK" or "ERROR". The framer collects received bytes
// and hands out complete replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tessic {

struct Reply {
  bool error = false;  // final line "ERROR"
  // The lines before the final line, with their line breaks, except the one
  // that ends the last of them.
  std::string text;
};

class ReplyFramer {
 public:
  void Append(const char* data, size_t size);
  void Clear();
  // The first complete reply, removed from the collected bytes.
  std::optional<Reply> Take();
  size_t pending() const { return bytes_.size(); }

 private:
  std::string bytes_;
  size_t scanned_ = 0;  // complete lines before this offset are not final lines
};

// Parses "FMR/TCPIPc_" + host + ":" + port.
bool ParseConnectionText(const std::string& text, std::string& host, uint16_t& port);

}  // namespace tessic
