#include "measure/rds_watch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fmr-rds/programme_types.h"
#include "measure/measurement.h"
#include "measure/tuning_events.h"
#include "text/report_text.h"

namespace benchora {
namespace {

constexpr uint16_t kRdsReceive = 0x07;   // count at 2, blocks at 4, status words at 132
constexpr uint16_t kRdsReadBack = 0x1A;  // count at 8, blocks at 10; sent clean
constexpr size_t kRdsReceiveLength = 168;
constexpr size_t kRdsReadBackLength = 252;
constexpr size_t kMostGroups = 16;

// The second generation's read of the RDS report, as the panel logs it.
constexpr std::string_view kReportAction = "get FM RX RDS report";
constexpr std::string_view kReportCommand = "at@audapp:fmrx_get_rds_data(";

uint16_t Word(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The decoded texts are UTF-8; what a report cannot hold shows as \xHH.
std::string Quoted(const std::string& text) {
  return "\"" + tooltext::ReportText(text) + "\"";
}

// The lines of a `lines` reply.
std::vector<std::string> Lines(const std::string& reply) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < reply.size()) {
    const size_t end = std::min(reply.find('\n', at), reply.size());
    out.push_back(reply.substr(at, end - at));
    at = end + 1;
  }
  return out;
}

}  // namespace

uint64_t RdsWatch::Now() const {
  std::string reply;
  if (!automate_ || !automate_("clock", reply)) return 0;
  return std::strtoull(reply.c_str(), nullptr, 10);
}

void RdsWatch::NewTuning(std::string event, bool recounting) {
  tuning_ = RdsTuning{};
  tuning_.event = std::move(event);
  tuning_.since_ms = Now();
  decoder_ = fmrrds::StationDecoder{};
  last_line_.clear();
  panel_report_.NewTuning(recounting);
}

void RdsWatch::OnTestFunction(uint16_t message_id, std::span<const uint8_t> request,
                              std::span<const uint8_t> reply) {
  if (auto event = Gen1TuningEvent(message_id, request)) NewTuning(std::move(*event), false);
  if (reply.size() < 2 || Word(reply, 0) != 1) return;  // failed or refused
  const uint64_t now = Now();
  const size_t before = tuning_.groups;
  if (message_id == kRdsReceive && reply.size() == kRdsReceiveLength) {
    const size_t count = std::min<size_t>(reply[2], kMostGroups);
    for (size_t g = 0; g < count; ++g) {
      fmrrds::RawGroup group;
      for (size_t b = 0; b < 4; ++b) group.blocks[b] = Word(reply, 4 + 8 * g + 2 * b);
      group.status = Word(reply, 132 + 2 * g);
      Feed(group, now);
    }
  } else if (message_id == kRdsReadBack && reply.size() == kRdsReadBackLength) {
    const size_t count = std::min<size_t>(reply[8], kMostGroups);
    for (size_t g = 0; g < count; ++g) {
      fmrrds::RawGroup group;
      for (size_t b = 0; b < 4; ++b) group.blocks[b] = Word(reply, 10 + 8 * g + 2 * b);
      Feed(group, now);
    }
  }
  if (tuning_.groups != before) ReportStation();
}

void RdsWatch::OnLogLine(std::string_view text, uint8_t flag) {
  // The panel has filled its read-outs by the time it logs anything else.
  if (report_waiting_) TakePanelReport();
  if (const auto command = LoggedAtCommand(text)) {
    if (auto event = Gen2TuningEvent(*command)) {
      const bool recounting = *event == "power on" || *event == "power off";
      NewTuning(std::move(*event), recounting);
    }
    report_read_ = report_read_ == ReportRead::kAction && command->starts_with(kReportCommand)
                       ? ReportRead::kSent
                       : ReportRead::kNone;
    return;
  }
  if (text == kReportAction && flag != 0) {
    report_read_ = ReportRead::kAction;
    return;
  }
  report_waiting_ = report_read_ == ReportRead::kSent && text == "OK" && flag != 0;
  report_read_ = ReportRead::kNone;
}

void RdsWatch::Settle() {
  if (report_waiting_) TakePanelReport();
}

void RdsWatch::TakePanelReport() {
  report_waiting_ = false;
  std::string newest;
  std::string older;
  if (!automate_ || !automate_("get LData", newest) || !automate_("lines MData", older)) return;
  const std::optional<std::string> newest_text = StateValue(newest, "text");
  if (!newest_text) return;  // not the second-generation panel
  const std::vector<std::string> older_lines = Lines(older);
  const std::vector<NewReportRow> rows = panel_report_.Read(*newest_text, older_lines);
  if (rows.empty()) return;
  const uint64_t now = Now();
  for (const NewReportRow& taken : rows) {
    for (uint32_t i = 0; i < taken.lost_before; ++i) tuning_.bler.Add(4);
    fmrrds::RawGroup group;
    group.blocks = taken.row.blocks;  // the chip lists only groups it decoded whole
    Feed(group, now);
  }
  ReportStation();
}

void RdsWatch::Feed(const fmrrds::RawGroup& group, uint64_t now) {
  const fmrrds::GroupReport report = decoder_.Decode(group);
  if (report.pi_changed) {
    // Another station: what was counted belonged to the one before.
    tuning_ = RdsTuning{};
    tuning_.event = "PI change";
    tuning_.since_ms = now;
  }
  ++tuning_.groups;
  tuning_.bler.Add(static_cast<unsigned>(report.lost.size()));
  tuning_.last_group_ms = now;
}

void RdsWatch::ReportStation() {
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
