#include "fmr-rds/group_reader.h"

#include <utility>
#include <vector>

#include "fmr-rds/hex_text.h"

namespace fmrrds {
namespace {

constexpr uint16_t kNotReceived = 0xF;

struct BlockLine {
  std::array<uint16_t, 4> blocks{};
  uint16_t status = 0;  // 0xF for each "----" block
  std::string time;
  bool interchange_only = false;  // has a time or a "----": not a decode-log line
};

// A time field: digits with at least one of ':' '.' and nothing but
// "-+TZ:." besides ("12:00:01.250", "2024-05-06T12:00:01Z", "17.5").
bool IsTime(std::string_view token) {
  bool digit = false;
  bool separator = false;
  for (char c : token) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == ':' || c == '.') {
      separator = true;
    } else if (c != '-' && c != '+' && c != 'T' && c != 'Z') {
      return false;
    }
  }
  return digit && separator;
}

// Four blocks of four digits each ("0x" optional, "----" for a block not
// received), after an optional time.
std::optional<BlockLine> ParseBlockLine(Tokens tokens) {
  BlockLine line;
  if (tokens.size() == 5 && IsTime(tokens[0])) {
    line.time = tokens[0];
    line.interchange_only = true;
    tokens.DropFirst();
  }
  if (tokens.size() != 4) return std::nullopt;
  for (size_t b = 0; b < 4; ++b) {
    line.status = static_cast<uint16_t>(line.status << 4);
    if (tokens[b] == "----") {
      line.status |= kNotReceived;
      line.interchange_only = true;
      continue;
    }
    const auto value = HexValue(WithoutHexPrefix(tokens[b]), 4);
    if (!value) return std::nullopt;
    line.blocks[b] = *value;
  }
  return line;
}

// Four nibbles, each "0x" and one digit.
std::optional<uint16_t> StatusLine(const Tokens& tokens) {
  if (tokens.size() != 4) return std::nullopt;
  uint16_t status = 0;
  for (size_t i = 0; i < 4; ++i) {
    const std::string_view token = tokens[i];
    if (token.size() != 3 || WithoutHexPrefix(token).size() != 1) return std::nullopt;
    const auto nibble = HexValue(token.substr(2), 1);
    if (!nibble) return std::nullopt;
    status = static_cast<uint16_t>((status << 4) | *nibble);
  }
  return status;
}

bool IsRecordHeader(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  return line.size() >= 6 && line.substr(0, 3) == "---" && line.substr(line.size() - 3) == "---";
}

bool IsEmptySlot(const ReportRow& row) {
  return row.sequence == 0 && row.group_type == 0 && row.blocks == std::array<uint16_t, 4>{};
}

}  // namespace

GroupReader::GroupReader(GroupSink groups, ProblemSink problems, InputFormat format)
    : groups_(std::move(groups)), problems_(std::move(problems)), forced_(format), format_(format) {
  log_layout_ = format == InputFormat::kLog;
}

void GroupReader::Problem(size_t line, const std::string& message) {
  if (format_ == InputFormat::kAuto) {
    held_problems_.emplace_back(line, message);
    // So much that is not RDS data is no transcript to pass over.
    if (held_problems_.size() >= kMostHeldProblems) Settle(InputFormat::kHex);
    return;
  }
  ++malformed_;
  if (problems_) problems_(line, message);
}

void GroupReader::Settle(InputFormat format) {
  // Hex lines before a record header: a decode log, all the same.
  if (forced_ == InputFormat::kAuto && format_ == InputFormat::kHex && format == InputFormat::kLog)
    format_ = format;
  if (format_ != InputFormat::kAuto) return;
  format_ = format;
  std::vector<std::pair<size_t, std::string>> held = std::move(held_problems_);
  held_problems_.clear();
  if (format == InputFormat::kGen2) {
    passed_over_ += held.size();
    return;
  }
  for (const auto& [line, message] : held) Problem(line, message);
}

void GroupReader::FlushPending() {
  if (!pending_) return;
  const RawGroup group = *pending_;
  pending_.reset();
  if (log_layout_) {
    Problem(group.line, "block line without its status line; group skipped");
    return;
  }
  Settle(InputFormat::kHex);
  if (groups_) groups_(group);
}

void GroupReader::EmitRow(const ReportRow& row) {
  if (static_cast<uint16_t>(row.blocks[1] >> 11) != row.group_type) {
    Problem(row.line, "group type column does not match block B; group skipped");
    return;
  }
  RawGroup group;
  group.blocks = row.blocks;
  group.line = row.line;
  if (groups_) groups_(group);
}

void GroupReader::Feed(std::string_view line) {
  ++line_;
  if (format_ == InputFormat::kAuto || format_ == InputFormat::kGen2) {
    if (auto row = ParseReportRow(line)) {
      Settle(InputFormat::kGen2);
      if (IsEmptySlot(*row)) return;
      row->line = line_;
      rows_.Add(*row, [this](const ReportRow& r) { EmitRow(r); });
      return;
    }
    if (format_ == InputFormat::kGen2) {
      ++passed_over_;
      return;
    }
  }
  const Tokens tokens(line);
  if (tokens.empty()) {
    FlushPending();
    return;
  }
  const std::optional<BlockLine> block_line = ParseBlockLine(tokens);
  // "---- 21E5 6172 ----" is a group with two blocks lost, not a header.
  if (!block_line && IsRecordHeader(line) && forced_ != InputFormat::kHex) {
    FlushPending();
    Settle(InputFormat::kLog);
    log_layout_ = true;
    ++records_;
    return;
  }
  if (const auto status = StatusLine(tokens); status && forced_ != InputFormat::kHex) {
    if (!pending_) {
      Problem(line_, "status line without a block line");
      return;
    }
    Settle(InputFormat::kLog);
    log_layout_ = true;
    RawGroup group = *pending_;
    pending_.reset();
    group.status = *status;
    if (groups_) groups_(group);
    return;
  }
  if (block_line) {
    FlushPending();
    if (block_line->interchange_only && forced_ == InputFormat::kLog) {
      Problem(line_, "not a decode-log line (a time or a \"----\" block)");
      return;
    }
    RawGroup group{block_line->blocks, block_line->status, line_, block_line->time};
    // A hex line gives its own status; only a decode log has status lines.
    if (block_line->interchange_only || forced_ == InputFormat::kHex) {
      Settle(InputFormat::kHex);
      if (groups_) groups_(group);
      return;
    }
    pending_ = std::move(group);
    return;
  }
  FlushPending();
  Problem(line_, forced_ == InputFormat::kHex ? "not a line of four hexadecimal blocks"
                                              : "not a record header, block line or status line");
}

void GroupReader::Finish() {
  FlushPending();
  rows_.Finish([this](const ReportRow& r) { EmitRow(r); });
  // Nothing told the layout: the lines held back were not RDS data.
  Settle(InputFormat::kHex);
}

}  // namespace fmrrds
