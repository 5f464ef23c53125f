#include "fmr-rds/line_input.h"

#include <cstring>

namespace fmrrds {

std::optional<std::string_view> LineInput::TooLong() {
  too_long_ = true;
  at_end_ = true;
  carry_.clear();
  begin_ = end_ = 0;
  return std::nullopt;
}

std::optional<std::string_view> LineInput::Next() {
  if (too_long_) return std::nullopt;
  if (carry_out_) {
    carry_.clear();
    carry_out_ = false;
  }
  for (;;) {
    if (begin_ < end_) {
      const char* from = chunk_.data() + begin_;
      const auto* feed = static_cast<const char*>(std::memchr(from, '\n', end_ - begin_));
      if (feed != nullptr) {
        const auto length = static_cast<size_t>(feed - from);
        begin_ += length + 1;
        ++lines_;
        if (carry_.size() + length > kMostLineBytes) return TooLong();
        if (carry_.empty()) return std::string_view(from, length);
        carry_.append(from, length);
        carry_out_ = true;
        return std::string_view(carry_);
      }
      carry_.append(from, end_ - begin_);
      begin_ = end_;
      if (carry_.size() > kMostLineBytes) {
        ++lines_;
        return TooLong();
      }
    }
    if (at_end_) {
      if (carry_.empty()) return std::nullopt;
      ++lines_;
      carry_out_ = true;
      return std::string_view(carry_);
    }
    const std::streamsize got =
        source_.sgetn(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
    begin_ = 0;
    end_ = got > 0 ? static_cast<size_t>(got) : 0;
    at_end_ = got <= 0;
  }
}

}  // namespace fmrrds
