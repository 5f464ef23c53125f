// The second-generation RDS report lists the last 28 groups, each with a
// running number, newest last (the panel shows them newest first), and
// successive reports overlap. ReportRowOrder turns the rows of any number
// of reports, in any order within a report, into each group once, oldest
// first: a group is handed out once a newer row proves that no later
// report can still list an older one.
//
// The running number has 16 bits and wraps after 65,536 groups (about 96
// minutes of reception): numbers are compared on that circle, each row's
// number taken as the one nearest to the newest row so far, so a session of
// any length keeps its order across every wrap.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

namespace fmrrds {

struct ReportRow {
  std::array<uint16_t, 4> blocks{};
  uint16_t group_type = 0;  // group type code << 1 | version B flag
  uint16_t sequence = 0;    // running number since power-on
  uint16_t level = 0;
  size_t line = 0;
};

// The row in `text` ("0xC202  0x2428  0x2020  0x2020  0x0004  0x0021
// 0x0012", or a read-out line holding it as text="..."); nullopt when there
// is none.
std::optional<ReportRow> ParseReportRow(std::string_view text);

// How far `to` lies ahead of `from` on the circle of 16-bit running
// numbers: from -32768 to 32767, negative when `to` is the older one.
[[nodiscard]] constexpr int32_t SequenceDistance(uint16_t from, uint16_t to) {
  return static_cast<int16_t>(static_cast<uint16_t>(to - from));
}

class ReportRowOrder {
 public:
  static constexpr uint32_t kReportEntries = 28;
  using Sink = std::function<void(const ReportRow&)>;

  void Add(const ReportRow& row, const Sink& sink);
  void Finish(const Sink& sink);

 private:
  // The row's number counted on past every wrap since the first row (or the
  // last restart): the value nearest to the newest row's.
  [[nodiscard]] int64_t Unwrapped(uint16_t sequence) const;
  void Emit(int64_t up_to, const Sink& sink);

  std::map<int64_t, ReportRow> pending_;  // by unwrapped number
  std::optional<int64_t> newest_;
  std::optional<int64_t> last_emitted_;
};

}  // namespace fmrrds
