// Reads a fuzz input front to back as the values a target needs. Reads
// past the end give zeros and empty texts, so every input is usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ == size_; }
  size_t remaining() const { return size_ - pos_; }

  uint8_t U8() { return empty() ? 0 : data_[pos_++]; }
  uint16_t U16() {
    const uint8_t low = U8();
    return static_cast<uint16_t>(low | (U8() << 8));
  }
  bool Bit() { return (U8() & 1) != 0; }

  // The next `count` bytes, fewer at the end.
  std::string_view Bytes(size_t count) {
    const size_t n = count < remaining() ? count : remaining();
    const std::string_view bytes(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return bytes;
  }
  // A text of at most `longest` bytes, its length taken from the input.
  std::string Text(size_t longest) { return std::string(Bytes(U8() % (longest + 1))); }
  // The bytes up to the next `end` byte (which is skipped), or to the end.
  std::string_view Until(char end) {
    const std::string_view rest(reinterpret_cast<const char*>(data_ + pos_), remaining());
    const size_t at = rest.find(end);
    if (at == std::string_view::npos) {
      pos_ = size_;
      return rest;
    }
    pos_ += at + 1;
    return rest.substr(0, at);
  }
  std::string_view Rest() { return Bytes(remaining()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace fuzz
