#include "reply_framer.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace tessic {

namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

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
  has_complete_ = false;
  unread_.clear();
  unread_pos_ = 0;
  phase_ = Phase::kReply;
  command_.clear();
  tail_.clear();
  echo_seen_ = false;
  echo_refused_ = false;
}

void ReplyFramer::Expect(std::string_view command, bool after_switch) {
  Clear();
  command_.assign(command);
  phase_ = after_switch ? Phase::kSwitch : Phase::kEcho;
  after_cr_kept_ = false;
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
        if (after_cr_kept_ && phase_ == Phase::kReply) line_break_.push_back(c);
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
      Track(data + i, end - i);
    } else {
      AddToLine(data + i, end - i);
    }
    i = end;
  }
  return i;
}

void ReplyFramer::AddToLine(const char* data, size_t size) {
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
  if (phase_ == Phase::kEcho) {
    // A line of only the command's text, or one that ends with it after the
    // remains of a line an earlier reply left unfinished.
    if (!command_.empty() && std::string_view(tail_).ends_with(command_)) {
      phase_ = Phase::kReply;
      echo_seen_ = true;
    }
    tail_.clear();
    after_cr_kept_ = false;
    return;
  }
  if (phase_ == Phase::kSwitch && !plain_line_ && (head_ == kOk || head_ == kError)) {
    echo_refused_ = head_ == kError;
    phase_ = echo_refused_ ? Phase::kReply : Phase::kEcho;
    text_.clear();
    line_break_.clear();
    head_.clear();
    after_cr_kept_ = false;
    return;
  }
  if (!plain_line_ && (head_ == kOk || head_ == kError)) {
    // The line break of the last reply line is not part of the text.
    complete_.error = head_ == kError;
    complete_.text.swap(text_);
    has_complete_ = true;
    text_.clear();
    line_break_.clear();
    head_.clear();
    after_cr_kept_ = false;
    return;
  }
  if (!plain_line_) KeepLineStart();
  line_break_.assign(1, line_end);
  plain_line_ = false;
  after_cr_kept_ = true;
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
