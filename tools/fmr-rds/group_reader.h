// Reads RDS groups from text, line by line: either the panel's decode log
// ("decode_data.log": a "--- time ---" header per record, then per group a
// line of four block cells "0x1A2B " and a line of four status nibbles
// "   0x0    0x0    0x0    0x0") or plain lines of four hexadecimal blocks
// ("1A2B C3D4 0000 FFFF", with or without 0x), which count as received clean.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fmrrds {

struct RawGroup {
  std::array<uint16_t, 4> blocks{};  // A, B, C, D
  // One nibble per block, A in the top nibble to D in the bottom one: 0 clean,
  // 1 to 5 corrected bits, 0xF uncorrectable.
  uint16_t status = 0;
  size_t line = 0;  // input line of the block line, counted from 1
};

class GroupReader {
 public:
  using GroupSink = std::function<void(const RawGroup&)>;
  using ProblemSink = std::function<void(size_t line, const std::string& message)>;

  GroupReader(GroupSink groups, ProblemSink problems);

  // One input line, without its line feed (a trailing carriage return is
  // ignored). Lines are numbered from 1 in the order they are fed.
  void Feed(std::string_view line);
  // The end of the input: hands out a group still waiting for its status line.
  void Finish();

  size_t records() const { return records_; }
  size_t malformed_lines() const { return malformed_; }

 private:
  void FlushPending();
  void Problem(size_t line, const std::string& message);

  GroupSink groups_;
  ProblemSink problems_;
  size_t line_ = 0;
  size_t records_ = 0;
  size_t malformed_ = 0;
  // Once a record header or a status line was seen, every block line must
  // be followed by its status line.
  bool log_layout_ = false;
  std::optional<RawGroup> pending_;
};

}  // namespace fmrrds
