// Splits what a stream buffer gives into lines, each ended by a line feed
// (the last one may lack it), reading in large chunks: a line that lies
// whole in a chunk is handed out where it lies, without a copy. No RDS
// layout has lines of more than a few hundred bytes, so a line longer than
// kMostLineBytes ends the input as not being RDS text, and memory stays
// bounded whatever the input (a device of endless zero bytes included).
//
// Errors of the stream buffer (a failed read, memory) pass through.
#pragma once

#include <cstddef>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace fmrrds {

class LineInput {
 public:
  static constexpr size_t kMostLineBytes = size_t{1} << 20;

  explicit LineInput(std::streambuf& source) : source_(source) {}

  // The next line without its line feed, valid until the next call; nullopt
  // at the end of the input or at a line that is too long (too_long()).
  [[nodiscard]] std::optional<std::string_view> Next();

  [[nodiscard]] bool too_long() const { return too_long_; }
  // Lines handed out so far (the one too long counted too).
  [[nodiscard]] size_t lines() const { return lines_; }

 private:
  [[nodiscard]] std::optional<std::string_view> TooLong();

  std::streambuf& source_;
  std::vector<char> chunk_ = std::vector<char>(size_t{1} << 16);
  size_t begin_ = 0;  // the unread part of chunk_
  size_t end_ = 0;
  std::string carry_;       // the start of a line that runs past a chunk
  bool carry_out_ = false;  // carry_ was handed out: emptied at the next call
  bool at_end_ = false;
  bool too_long_ = false;
  size_t lines_ = 0;
};

}  // namespace fmrrds
