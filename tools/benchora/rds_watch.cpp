#include "rds_watch.h"

#include <algorithm>
#include <cstdio>

#include "fmr-rds/programme_types.h"

namespace benchora {
namespace {

constexpr uint16_t kRdsReceive = 0x07;   // count at 2, blocks at 4, status words at 132
constexpr uint16_t kRdsReadBack = 0x1A;  // count at 8, blocks at 10; sent clean
constexpr uint16_t kRdsReceiveLength = 168;
constexpr uint16_t kRdsReadBackLength = 252;
constexpr size_t kMostGroups = 16;

uint16_t Word(const uint8_t* bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

void RdsWatch::OnReply(uint16_t message_id, const uint8_t* reply, uint16_t length) {
  if (reply == nullptr || length < 2 || Word(reply, 0) != 1) return;  // refused
  if (message_id == kRdsReceive && length == kRdsReceiveLength) {
    const size_t count = std::min<size_t>(reply[2], kMostGroups);
    for (size_t g = 0; g < count; ++g) {
      fmrrds::RawGroup group;
      for (size_t b = 0; b < 4; ++b) group.blocks[b] = Word(reply, 4 + 8 * g + 2 * b);
      group.status = Word(reply, 132 + 2 * g);
      Feed(group);
    }
  } else if (message_id == kRdsReadBack && length == kRdsReadBackLength) {
    const size_t count = std::min<size_t>(reply[8], kMostGroups);
    for (size_t g = 0; g < count; ++g) {
      fmrrds::RawGroup group;
      for (size_t b = 0; b < 4; ++b) group.blocks[b] = Word(reply, 10 + 8 * g + 2 * b);
      Feed(group);
    }
  }
}

void RdsWatch::OnReportedGroup(const std::array<uint16_t, 4>& blocks) {
  const std::lock_guard lock(queue_mutex_);
  queue_.push_back(blocks);
}

void RdsWatch::Drain() {
  std::vector<std::array<uint16_t, 4>> groups;
  {
    const std::lock_guard lock(queue_mutex_);
    groups.swap(queue_);
  }
  for (const auto& blocks : groups) {
    fmrrds::RawGroup group;
    group.blocks = blocks;
    Feed(group);  // the report holds only groups the chip decoded whole
  }
}

void RdsWatch::Feed(const fmrrds::RawGroup& group) {
  decoder_.Decode(group);
  const std::string line = StationLine(decoder_.Summary());
  if (line != last_line_) {
    last_line_ = line;
    report_(line);
  }
}

std::string RdsWatch::StationLine(const fmrrds::StationSummary& station) {
  char pi[8] = "?";
  if (station.pi) std::snprintf(pi, sizeof pi, "%04X", *station.pi);
  std::string line = std::string("RDS station: PI ") + pi;
  if (station.pty) {
    line += ", PTY " + std::to_string(*station.pty) + " " +
            std::string(fmrrds::ProgrammeTypeName(fmrrds::PtyTable::kRds, *station.pty));
  }
  if (station.ps) line += ", PS " + Quoted(*station.ps);
  if (station.rt) line += ", RT " + Quoted(*station.rt);
  return line;
}

}  // namespace benchora
