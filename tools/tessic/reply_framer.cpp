#include "reply_framer.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace tessic {

namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";
// Reply lines are joined by CR LF whatever line end the handset uses: the
// reply decoder removes CRs and reads LFs as spaces, so lines joined by a
// lone CR would run together.
constexpr std::string_view kLineBreak = "\r\n";

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

bool IsNameChar(char c) {
  return IsCapital(c) || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool IsUnsolicitedLine(std::string_view line) {
  if (line.size() < 3 || line[0] != '+' || !IsCapital(line[1])) return false;
  size_t i = 2;
  while (i < line.size() && IsNameChar(line[i])) ++i;
  return i < line.size() && line[i] == ':';
}

bool IsFinalErrorLine(std::string_view line) {
  return line.starts_with("+CME ERROR:") || line.starts_with("+CMS ERROR:");
}

void ReplyFramer::Append(const char* data, size_t size) {
  if (has_complete_) {
    unread_.append(data, size);
    return;
  }
  const size_t used = Frame(data, size);
  unread_.assign(data + used, size - used);
  unread_pos_ = 0;
}

void ReplyFramer::Clear() {
  // after_cr_ stays: an LF that completes the last line end may still come.
  text_.clear();
  line_break_.clear();
  head_.clear();
  plain_line_ = false;
  plus_pending_ = false;
  plus_line_.clear();
  has_complete_ = false;
  unread_.clear();
  unread_pos_ = 0;
  phase_ = Phase::kReply;
  command_.clear();
  own_prefix_.clear();
  tail_.clear();
  echo_seen_ = false;
  echo_refused_ = false;
  echo_missing_ = false;
}

void ReplyFramer::Expect(std::string_view command, bool after_switch) {
  // An unsolicited line half received goes on being held: its end comes
  // before the echo, and the line still goes to the sink. A new connection
  // (the echo switch first) starts afresh.
  const bool plus_pending = plus_pending_ && !after_switch;
  std::string plus_line;
  if (plus_pending) plus_line.swap(plus_line_);
  Clear();
  plus_pending_ = plus_pending;
  plus_line_.swap(plus_line);
  command_.assign(command);
  // "AT+NAME" in any case, NAME up to the first character not of a name.
  own_prefix_.clear();
  if (command.size() > 3 && (command[0] | 0x20) == 'a' && (command[1] | 0x20) == 't' &&
      command[2] == '+') {
    own_prefix_ = "+";
    for (size_t i = 3; i < command.size(); ++i) {
      const char c = (command[i] >= 'a' && command[i] <= 'z') ? static_cast<char>(command[i] - 32)
                                                              : command[i];
      if (!IsNameChar(c)) break;
      own_prefix_.push_back(c);
    }
    own_prefix_.push_back(':');
  }
  phase_ = after_switch ? Phase::kSwitch : Phase::kEcho;
}

std::optional<Reply> ReplyFramer::Take() {
  Reply reply;
  if (!TakeInto(reply)) return std::nullopt;
  return reply;
}

bool ReplyFramer::TakeInto(Reply& into) {
  const bool taken = has_complete_;
  if (taken) {
    into.error = complete_.error;
    into.text.swap(complete_.text);
    complete_.text.clear();
    has_complete_ = false;
  }
  if (taken && unread_pos_ < unread_.size()) {
    unread_pos_ += Frame(unread_.data() + unread_pos_, unread_.size() - unread_pos_);
  }
  if (unread_pos_ == unread_.size()) {
    unread_.clear();
    unread_pos_ = 0;
  }
  return taken;
}

size_t ReplyFramer::Frame(const char* data, size_t size) {
  size_t i = 0;
  while (i < size && !has_complete_) {
    const char c = data[i];
    if (after_cr_) {
      after_cr_ = false;
      if (c == '\n') {
        ++i;
        continue;
      }
    }
    if (IsLineEnd(c)) {
      EndLine(c);
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < size && !IsLineEnd(data[end])) ++end;
    if (phase_ == Phase::kEcho) {
      if (tail_.empty() && data[i] == '+') plus_pending_ = true;
      if (plus_pending_) HoldPlusLine(data + i, end - i);
      Track(data + i, end - i);
    } else {
      if (phase_ == Phase::kEchoOrReply) Track(data + i, end - i);
      AddToLine(data + i, end - i);
    }
    i = end;
  }
  return i;
}

void ReplyFramer::AddToLine(const char* data, size_t size) {
  if (!plus_pending_ && !plain_line_ && head_.empty() && *data == '+') plus_pending_ = true;
  if (plus_pending_) {
    HoldPlusLine(data, size);
    return;
  }
  // At most five bytes go through head_ before the line is known to be a
  // reply line.
  while (!plain_line_ && size > 0) {
    head_.push_back(*data++);
    --size;
    if (!kOk.starts_with(head_) && !kError.starts_with(head_)) {
      plain_line_ = true;
      KeepLineStart();
    }
  }
  if (size > 0) Keep(data, size);
}

void ReplyFramer::HoldPlusLine(const char* data, size_t size) {
  if (plus_line_.size() + size <= kLongestUnsolicitedLine) {
    plus_line_.append(data, size);
    return;
  }
  // Too long for an unsolicited line: a reply line, or before the echo a
  // line to drop.
  plus_pending_ = false;
  if (phase_ == Phase::kEcho) {
    plus_line_.clear();
    return;
  }
  head_.swap(plus_line_);
  plus_line_.clear();
  plain_line_ = true;
  KeepLineStart();
  Keep(data, size);
}

void ReplyFramer::Track(const char* data, size_t size) {
  const size_t keep = command_.size();
  if (size >= keep) {
    tail_.assign(data + size - keep, keep);
    return;
  }
  tail_.append(data, size);
  // Trimmed now and then rather than at every byte: linear overall.
  if (tail_.size() > 2 * keep) tail_.erase(0, tail_.size() - keep);
}

void ReplyFramer::EndLine(char line_end) {
  after_cr_ = line_end == '\r';
  const bool plus = plus_pending_;
  plus_pending_ = false;
  if (phase_ == Phase::kEcho) {
    // A line of only the command's text, or one that ends with it after the
    // remains of a line an earlier reply left unfinished.
    if (!command_.empty() && std::string_view(tail_).ends_with(command_)) {
      phase_ = Phase::kReply;
      echo_seen_ = true;
    } else if (plus && IsUnsolicitedLine(plus_line_) && unsolicited_sink_) {
      unsolicited_sink_(plus_line_);
    }
    plus_line_.clear();
    tail_.clear();
    return;
  }
  if (phase_ == Phase::kEchoOrReply) {
    const bool echo = std::string_view(tail_).ends_with(command_);
    tail_.clear();
    if (echo) {
      // The lines before the echo are no part of the reply.
      phase_ = Phase::kReply;
      echo_seen_ = true;
      text_.clear();
      line_break_.clear();
      head_.clear();
      plain_line_ = false;
      plus_line_.clear();
      return;
    }
  }
  bool final_error = false;
  if (plus) {
    if (Unsolicited(plus_line_)) {
      if (unsolicited_sink_) unsolicited_sink_(plus_line_);
      plus_line_.clear();
      // The last reply line's break stays pending.
      return;
    }
    final_error = IsFinalErrorLine(plus_line_);
    if (!final_error) {
      // A reply line after all.
      head_.swap(plus_line_);
      plus_line_.clear();
      plain_line_ = true;
      KeepLineStart();
    }
  }
  const bool ok = !plain_line_ && head_ == kOk;
  const bool error = final_error || (!plain_line_ && head_ == kError);
  if (phase_ == Phase::kSwitch && (ok || error)) {
    echo_refused_ = error;
    phase_ = echo_refused_ ? Phase::kReply : Phase::kEchoOrReply;
    text_.clear();
    line_break_.clear();
    head_.clear();
    plus_line_.clear();
    return;
  }
  if (ok || error) {
    if (phase_ == Phase::kEchoOrReply) {
      echo_missing_ = true;
      phase_ = Phase::kReply;
    }
    Complete(error, final_error ? std::string_view(plus_line_) : std::string_view());
    plus_line_.clear();
    return;
  }
  if (!plain_line_) KeepLineStart();
  line_break_ = kLineBreak;
  plain_line_ = false;
}

void ReplyFramer::Complete(bool error, std::string_view final_line) {
  // The line break of the last reply line is not part of the text, unless
  // a final error line follows it there.
  if (!final_line.empty()) {
    if (!text_.empty()) Keep(line_break_.data(), line_break_.size());
    Keep(final_line.data(), final_line.size());
  }
  complete_.error = error;
  complete_.text.swap(text_);
  has_complete_ = true;
  text_.clear();
  line_break_.clear();
  head_.clear();
}

void ReplyFramer::KeepLineStart() {
  Keep(line_break_.data(), line_break_.size());
  line_break_.clear();
  Keep(head_.data(), head_.size());
  head_.clear();
}

void ReplyFramer::Keep(const char* data, size_t size) {
  const size_t room = limit_ - std::min(limit_, text_.size());
  text_.append(data, std::min(size, room));
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
