#include "fmr-rds/group_reader.h"

#include <utility>
#include <vector>

namespace fmrrds {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view WithoutHexPrefix(std::string_view token) {
  if (token.size() >= 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
    return token.substr(2);
  return token;
}

// Exactly `digits` hexadecimal digits.
std::optional<uint16_t> HexValue(std::string_view digits, size_t count) {
  if (digits.size() != count) return std::nullopt;
  uint16_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = static_cast<uint16_t>((value << 4) | d);
  }
  return value;
}

// Four blocks of four digits each, "0x" optional.
std::optional<std::array<uint16_t, 4>> BlockLine(const std::vector<std::string_view>& tokens) {
  if (tokens.size() != 4) return std::nullopt;
  std::array<uint16_t, 4> blocks{};
  for (size_t b = 0; b < 4; ++b) {
    const auto value = HexValue(WithoutHexPrefix(tokens[b]), 4);
    if (!value) return std::nullopt;
    blocks[b] = *value;
  }
  return blocks;
}

// Four nibbles, each "0x" and one digit.
std::optional<uint16_t> StatusLine(const std::vector<std::string_view>& tokens) {
  if (tokens.size() != 4) return std::nullopt;
  uint16_t status = 0;
  for (std::string_view token : tokens) {
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

}  // namespace

GroupReader::GroupReader(GroupSink groups, ProblemSink problems)
    : groups_(std::move(groups)), problems_(std::move(problems)) {}

void GroupReader::Problem(size_t line, const std::string& message) {
  ++malformed_;
  if (problems_) problems_(line, message);
}

void GroupReader::FlushPending() {
  if (!pending_) return;
  const RawGroup group = *pending_;
  pending_.reset();
  if (log_layout_) {
    Problem(group.line, "block line without its status line; group skipped");
    return;
  }
  if (groups_) groups_(group);
}

void GroupReader::Feed(std::string_view line) {
  ++line_;
  const std::vector<std::string_view> tokens = Tokens(line);
  if (tokens.empty()) {
    FlushPending();
    return;
  }
  if (IsRecordHeader(line)) {
    FlushPending();
    log_layout_ = true;
    ++records_;
    return;
  }
  if (const auto status = StatusLine(tokens)) {
    if (!pending_) {
      Problem(line_, "status line without a block line");
      return;
    }
    log_layout_ = true;
    RawGroup group = *pending_;
    pending_.reset();
    group.status = *status;
    if (groups_) groups_(group);
    return;
  }
  if (const auto blocks = BlockLine(tokens)) {
    FlushPending();
    pending_ = RawGroup{*blocks, 0, line_};
    return;
  }
  FlushPending();
  Problem(line_, "not a record header, block line or status line");
}

void GroupReader::Finish() {
  FlushPending();
}

}  // namespace fmrrds
