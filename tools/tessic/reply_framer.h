// Modem-style reply framing: the handset answers a command with reply lines
// and then a final line "OK" or "ERROR". The framer takes received bytes as
// they come and hands out complete replies. A line ends with CR LF, LF or a
// lone CR; in a reply's text the lines are joined by CR LF. Framing is linear in the bytes
// received, and a reply's text is held only up to a limit: a longer reply is cut there and the rest
// of it is scanned for its final line and dropped.
//
// With echo on, the handset repeats each command line before its reply.
// After Expect(command) the framer drops every byte up to the end of a line
// that ends with the command's text (the line may begin with the remains of
// an unfinished earlier line) and frames the reply only after it; whatever
// an earlier command's late, repeated or unfinished reply left on the link
// comes before that echo and is dropped with it. Optionally a reply to the
// echo switch ("ATE1") comes first; it is dropped, and when it is "ERROR"
// the handset has no echo and the command's reply follows without one. When
// it is "OK", the command's echo is looked for while its lines are framed as
// a reply all the same: the echo drops the lines before it, but a final line
// that comes first ends the reply, from a handset that acknowledged the
// switch yet does not echo (on a new connection nothing stale comes before).
//
// A handset may report events at any time with unsolicited result lines,
// "+NAME: ..." (for example "+FMRX: RSSI 32"), between replies or inside
// one. Such a line is never part of a reply: it is handed to the
// unsolicited-line sink and dropped, unless the command is "AT+NAME..."
// and the line is its information line "+NAME: ..." (the usual modem form).
// The audio application's commands ("at@...") are answered with numbers, so
// no line of their replies has that form. "+CME ERROR: n" and "+CMS ERROR:
// n" look alike but are final lines: they end the reply as "ERROR" does,
// and stay in its text as the reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tessic {

struct Reply {
  bool error = false;  // final line "ERROR", "+CME ERROR: n" or "+CMS ERROR: n"
  // The lines before the final line, joined by CR LF.
  std::string text;
};

// The longest line taken for an unsolicited line; a longer one is a reply
// line.
constexpr size_t kLongestUnsolicitedLine = 256;

// "+NAME: ..." with NAME a capital letter followed by capitals, digits or
// "_", other than the final error lines.
[[nodiscard]] bool IsUnsolicitedLine(std::string_view line);
// "+CME ERROR: ..." or "+CMS ERROR: ...".
[[nodiscard]] bool IsFinalErrorLine(std::string_view line);

class ReplyFramer {
 public:
  // Gets each unsolicited line, without its line end, as it is dropped.
  using LineSink = std::function<void(std::string_view)>;
  void set_unsolicited_sink(LineSink sink) { unsolicited_sink_ = std::move(sink); }
  // The longest reply text kept; longer texts are cut to it.
  void set_limit(size_t limit) { limit_ = limit; }
  void Append(const char* data, size_t size);
  // Drops the reply collected so far and the bytes not framed yet; the
  // next final line ends a reply (no echo is looked for).
  void Clear();
  // Clear(), then drops bytes up to the echo of `command` (after the reply
  // to the echo switch when `after_switch`), as described above.
  void Expect(std::string_view command, bool after_switch);
  // The echo of the expected command has been seen.
  bool echo_seen() const { return echo_seen_; }
  // The handset answered the echo switch with "ERROR".
  bool echo_refused() const { return echo_refused_; }
  // The handset answered the echo switch with "OK", but the command's reply
  // came without its echo.
  bool echo_missing() const { return echo_missing_; }
  // The first complete reply; framing goes on with the bytes after it.
  // TakeInto swaps the reply's text into `into`, so the buffers of earlier
  // replies are used again rather than allocated anew.
  bool TakeInto(Reply& into);
  std::optional<Reply> Take();
  // Bytes held: the unfinished reply's text and the bytes not framed yet.
  size_t held() const {
    return text_.size() + line_break_.size() + head_.size() + tail_.size() + plus_line_.size() +
           unread_.size() - unread_pos_;
  }

 private:
  // Frames bytes until a reply is complete; the number of bytes used.
  size_t Frame(const char* data, size_t size);
  // Bytes of a line while the echo is looked for: only its last bytes, as
  // many as the command has, are kept.
  void Track(const char* data, size_t size);
  void AddToLine(const char* data, size_t size);
  // Bytes of a line that began with "+": held whole until its end tells
  // whether it is unsolicited, a final error line or a reply line.
  void HoldPlusLine(const char* data, size_t size);
  void EndLine(char line_end);
  // Ends the reply being framed; its text is text_ and, for a final error
  // line, the line itself after the last line break.
  void Complete(bool error, std::string_view final_line);
  [[nodiscard]] bool Unsolicited(std::string_view line) const {
    return IsUnsolicitedLine(line) && (own_prefix_.empty() || !line.starts_with(own_prefix_));
  }
  // The current line turned out to be a reply line: the line break before
  // it and its start go to the text.
  void KeepLineStart();
  void Keep(const char* data, size_t size);

  // What the bytes being framed are: the reply to the echo switch, bytes
  // before the echo, the first reply after the switch with or without its
  // echo before it, or the reply.
  enum class Phase { kSwitch, kEcho, kEchoOrReply, kReply };
  Phase phase_ = Phase::kReply;
  std::string command_;  // the expected echo
  // "+NAME:" for a command "AT+NAME...": its own information lines.
  std::string own_prefix_;
  std::string tail_;  // the end of the current line while in kEcho or kEchoOrReply
  bool echo_seen_ = false;
  bool echo_refused_ = false;
  bool echo_missing_ = false;

  size_t limit_ = 0xFFFF;
  std::string text_;  // the unfinished reply's text, at most limit_ bytes
  // The line break of the last reply line; it goes to the text only once
  // another reply line follows, so the final line's predecessor keeps none.
  std::string line_break_;
  // The start of the current line while it may still be a final line; once
  // it cannot, it goes to text_ and so does the rest of the line.
  std::string head_;
  bool plain_line_ = false;
  // The current line began with "+" and is held in plus_line_ (see
  // HoldPlusLine); in kEcho only to tell an unsolicited line to the sink.
  bool plus_pending_ = false;
  std::string plus_line_;
  LineSink unsolicited_sink_;
  // The last line ended with a CR: an LF right after it belongs to that line
  // end.
  bool after_cr_ = false;
  Reply complete_;
  bool has_complete_ = false;
  std::string unread_;  // bytes after a complete reply, framed after Take
  size_t unread_pos_ = 0;
};

// Parses "FMR/TCPIPc_" + host + ":" + port.
bool ParseConnectionText(const std::string& text, std::string& host, uint16_t& port);

}  // namespace tessic
