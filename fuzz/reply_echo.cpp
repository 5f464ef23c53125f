// The transport stand-in's reply framer after a command was sent with echo:
// the bytes of a stream in chunks the input chooses, framed after
// Expect(command), on a connection already in use or on a new one (the
// reply to the echo switch first).
//
// Input: one byte for the hold limit (0x7F: the default), one mode byte
// (bit 0: a new connection; bits 1 to 4: the command's length less one),
// the command's bytes, then a sequence of control bytes, each followed by
// the chunk it announces (low six bits: chunk size; bit 6: take the
// complete replies after this chunk).
//
// Checks: no reply text is longer than the limit; what the framer holds
// stays within the limit and its bookkeeping; and the replies and the
// unsolicited lines are those a plain line-by-line reading of the whole
// stream finds: on a connection in use every line up to the one ending with
// the command (its echo) is dropped; on a new one the switch's reply is
// dropped, and after its OK the first reply is the one after a line ending
// with the command, or, when a final line comes first, the lines before it
// (a handset that does not echo); after its ERROR every reply is framed
// without echo.
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "reply_framer.h"

namespace {

constexpr size_t kLongestCommand = 16;
// Held beyond the reply text: a possible unsolicited line with its line end,
// and the end of the current line while the echo is looked for.
constexpr size_t kMostBookkeeping = tessic::kLongestUnsolicitedLine + 2 + 2 * kLongestCommand;

struct Framed {
  bool error;
  std::string text;
  bool operator==(const Framed&) const = default;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

// The complete lines of a stream: each ends with CR LF, LF or CR.
std::vector<std::string> Lines(const std::string& stream) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < stream.size(); ++i) {
    const char c = stream[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    i += c == '\r' && i + 1 < stream.size() && stream[i + 1] == '\n' ? 1 : 0;
    lines.push_back(std::move(line));
    line.clear();
  }
  return lines;
}

// A line short enough to be held whole as a possible unsolicited line.
bool Held(const std::string& line) {
  return line.size() <= tessic::kLongestUnsolicitedLine;
}

bool Unsolicited(const std::string& line) {
  return Held(line) && tessic::IsUnsolicitedLine(line);
}

// "OK", "ERROR" or a held "+CME ERROR: ..." / "+CMS ERROR: ...".
bool Final(const std::string& line, bool& error) {
  error = line != "OK";
  return line == "OK" || line == "ERROR" || (Held(line) && tessic::IsFinalErrorLine(line));
}

// Reply lines read one at a time into replies, as ReplyFramer documents.
class ReplyReader {
 public:
  explicit ReplyReader(size_t limit) : limit_(limit) {}
  // True when `line` ended a reply.
  bool Read(const std::string& line, std::vector<Framed>& replies,
            std::vector<std::string>& unsolicited) {
    bool error = false;
    if (Final(line, error)) {
      if (line != "OK" && line != "ERROR") text_ += (text_.empty() ? "" : pending_end_) + line;
      replies.push_back({error, text_.substr(0, limit_)});
      Drop();
      return true;
    }
    if (Unsolicited(line)) {
      unsolicited.push_back(line);
    } else {
      text_ += pending_end_ + line;
      pending_end_ = "\r\n";
    }
    return false;
  }
  void Drop() {
    text_.clear();
    pending_end_.clear();
  }

 private:
  size_t limit_;
  std::string text_, pending_end_;
};

std::vector<Framed> ReadWhole(const std::vector<std::string>& lines, const std::string& command,
                              bool new_connection, size_t limit,
                              std::vector<std::string>& unsolicited) {
  std::vector<Framed> replies;
  ReplyReader reader(limit);
  size_t i = 0;
  if (new_connection) {
    bool answered = false, refused = false;
    for (; i < lines.size() && !answered; ++i) {
      answered = Final(lines[i], refused);
      if (!answered && Unsolicited(lines[i])) unsolicited.push_back(lines[i]);
    }
    if (answered && !refused) {
      for (bool done = false; i < lines.size() && !done; ++i) {
        done = lines[i].ends_with(command);
        if (done) reader.Drop();
        done = done || reader.Read(lines[i], replies, unsolicited);
      }
    }
  } else {
    for (bool echo = false; i < lines.size() && !echo; ++i) {
      echo = lines[i].ends_with(command);
      if (!echo && Unsolicited(lines[i])) unsolicited.push_back(lines[i]);
    }
  }
  for (; i < lines.size(); ++i) reader.Read(lines[i], replies, unsolicited);
  return replies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const uint8_t setup = in.U8();
  const size_t limit = (setup & 0x7F) == 0x7F ? 0xFFFF : (setup & 0x7F);
  const uint8_t mode = in.U8();
  const bool new_connection = (mode & 1) != 0;
  std::string command(in.Bytes(((mode >> 1) & 0x0F) + 1u));
  if (command.empty()) return 0;
  for (char& c : command) {
    if (c == '\r' || c == '\n') c = 'x';  // a command is one line
  }
  // "AT+NAME" commands keep their own "+NAME:" lines (tested apart).
  if (command.size() > 2 && command[2] == '+') command[2] = '-';

  tessic::ReplyFramer framer;
  framer.set_limit(limit);
  std::vector<std::string> unsolicited;
  framer.set_unsolicited_sink([&](std::string_view line) { unsolicited.emplace_back(line); });
  framer.Expect(command, new_connection);
  std::vector<Framed> replies;
  std::string stream;
  const auto take_all = [&] {
    while (std::optional<tessic::Reply> reply = framer.Take()) {
      Require(reply->text.size() <= limit);
      replies.push_back({reply->error, reply->text});
    }
    Require(framer.held() <= limit + kMostBookkeeping);
  };
  while (!in.empty()) {
    const uint8_t control = in.U8();
    const std::string_view chunk = in.Bytes(control & 0x3F);
    framer.Append(chunk.data(), chunk.size());
    stream.append(chunk);
    if ((control & 0x40) != 0) take_all();
  }
  take_all();

  std::vector<std::string> expected_unsolicited;
  Require(replies ==
          ReadWhole(Lines(stream), command, new_connection, limit, expected_unsolicited));
  Require(unsolicited == expected_unsolicited);
  return 0;
}
