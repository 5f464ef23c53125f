#include "fmr-rds/report_rows.h"

#include <limits>

#include "fmr-rds/hex_text.h"

namespace fmrrds {

std::optional<ReportRow> ParseReportRow(std::string_view text) {
  // A read-out line: kind=Edit ... text="0xC202  0x2428 ... "
  if (const size_t open = text.find("text=\""); open != std::string_view::npos) {
    text.remove_prefix(open + 6);
    const size_t close = text.find('"');
    if (close == std::string_view::npos) return std::nullopt;
    text = text.substr(0, close);
  }
  const Tokens tokens(text);
  if (tokens.size() != 7) return std::nullopt;
  uint16_t cells[7] = {};
  for (size_t i = 0; i < 7; ++i) {
    if (tokens[i].size() != 6 || WithoutHexPrefix(tokens[i]).size() != 4) return std::nullopt;
    const auto value = HexValue(tokens[i].substr(2), 4);
    if (!value) return std::nullopt;
    cells[i] = *value;
  }
  ReportRow row;
  for (size_t b = 0; b < 4; ++b) row.blocks[b] = cells[b];
  row.group_type = cells[4];
  row.sequence = cells[5];
  row.level = cells[6];
  return row;
}

int64_t ReportRowOrder::Unwrapped(uint16_t sequence) const {
  if (!newest_) return sequence;
  return *newest_ + SequenceDistance(static_cast<uint16_t>(*newest_), sequence);
}

void ReportRowOrder::Emit(int64_t up_to, const Sink& sink) {
  while (!pending_.empty() && pending_.begin()->first <= up_to) {
    last_emitted_ = pending_.begin()->first;
    sink(pending_.begin()->second);
    pending_.erase(pending_.begin());
  }
}

void ReportRowOrder::Add(const ReportRow& row, const Sink& sink) {
  int64_t sequence = Unwrapped(row.sequence);
  const auto held = pending_.find(sequence);
  // A row older than any report can still hold, or a number already taken
  // by another group: the handset started counting anew (switched on
  // again). So is a jump of more than half the circle, which reads as a
  // step back: what was held goes out and counting starts from this row.
  const bool restarted = (newest_ && sequence + kReportEntries <= *newest_) ||
                         (held != pending_.end() && held->second.blocks != row.blocks);
  if (restarted) {
    Finish(sink);
    sequence = row.sequence;
  } else if (held != pending_.end() || (last_emitted_ && sequence <= *last_emitted_)) {
    return;  // listed by an earlier report already
  }
  pending_.emplace(sequence, row);
  if (!newest_ || sequence > *newest_) newest_ = sequence;
  Emit(*newest_ - kReportEntries, sink);
}

void ReportRowOrder::Finish(const Sink& sink) {
  Emit(std::numeric_limits<int64_t>::max(), sink);
  newest_.reset();
  last_emitted_.reset();
}

}  // namespace fmrrds
