// Reads RDS groups from text, line by line, in one of three layouts:
// - the first-generation panel's decode log ("decode_data.log": a
//   "--- time ---" header per record, then per group a line of four block
//   cells "0x1A2B " and a line of four status nibbles
//   "   0x0    0x0    0x0    0x0");
// - the four-block hex interchange lines ("1A2B C3D4 ---- FFFF", with or
//   without 0x, "----" for a block not received, optionally a time as the
//   first field: "12:00:01.250 1A2B C3D4 0000 FFFF");
// - the second-generation RDS report rows, as the panel's MData and LData
//   show them and as benchora prints them: seven cells "0xC202  0x2428
//   0x2020  0x2020  0x0004  0x0021  0x0012" (blocks A to D, group type code,
//   running number, level); every other line of such a transcript is passed
//   over.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fmr-rds/report_rows.h"

namespace fmrrds {

enum class InputFormat { kAuto, kLog, kHex, kGen2 };

struct RawGroup {
  std::array<uint16_t, 4> blocks{};  // A, B, C, D
  // One nibble per block, A in the top nibble to D in the bottom one: 0 clean,
  // 1 to 5 corrected bits, 0xF uncorrectable.
  uint16_t status = 0;
  size_t line = 0;   // input line of the block line, counted from 1
  std::string time;  // the hex line's time field, when it had one
};

class GroupReader {
 public:
  using GroupSink = std::function<void(const RawGroup&)>;
  using ProblemSink = std::function<void(size_t line, const std::string& message)>;

  GroupReader(GroupSink groups, ProblemSink problems, InputFormat format = InputFormat::kAuto);

  // One input line, without its line feed (a trailing carriage return is
  // ignored). Lines are numbered from 1 in the order they are fed.
  void Feed(std::string_view line);
  // The end of the input: hands out groups still held back.
  void Finish();

  size_t records() const { return records_; }
  size_t malformed_lines() const { return malformed_; }
  // Lines of a second-generation transcript that hold no report row.
  size_t passed_over_lines() const { return passed_over_; }
  // The layout read: the one given, or the one guessed (kAuto until known).
  InputFormat format() const { return format_; }

 private:
  void FlushPending();
  void Problem(size_t line, const std::string& message);
  void Settle(InputFormat format);
  void EmitRow(const ReportRow& row);

  GroupSink groups_;
  ProblemSink problems_;
  const InputFormat forced_;  // kAuto: guessed from the lines
  InputFormat format_;
  size_t line_ = 0;
  size_t records_ = 0;
  size_t malformed_ = 0;
  size_t passed_over_ = 0;
  // Once a record header or a status line was seen, every block line must
  // be followed by its status line.
  bool log_layout_ = false;
  std::optional<RawGroup> pending_;
  // Unrecognised lines while the layout is unknown: problems unless the
  // input turns out to be a transcript with report rows.
  std::vector<std::pair<size_t, std::string>> held_problems_;
  static constexpr size_t kMostHeldProblems = 100000;
  ReportRowOrder rows_;
};

}  // namespace fmrrds
