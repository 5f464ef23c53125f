#include "measure/panel_rds_report.h"

namespace benchora {
namespace {

bool IsEmptySlot(const fmrrds::ReportRow& row) {
  return row.blocks == std::array<uint16_t, 4>{} && row.group_type == 0 && row.sequence == 0 &&
         row.level == 0;
}

}  // namespace

void PanelRdsReport::NewTuning(bool recounting) {
  if (recounting) {
    last_.reset();
    before_recount_ = last_report_;
  }
  gap_counts_ = false;
}

bool PanelRdsReport::FromBeforeRecount(const fmrrds::ReportRow& row) const {
  for (const fmrrds::ReportRow& old : before_recount_) {
    if (old.sequence == row.sequence && old.blocks == row.blocks) return true;
  }
  return false;
}

std::vector<NewReportRow> PanelRdsReport::Read(std::string_view newest,
                                               std::span<const std::string> older) {
  // The report oldest first: MData's lines from the last, then LData.
  std::vector<fmrrds::ReportRow> rows;
  for (size_t i = older.size(); i-- > 0;) {
    if (const auto row = fmrrds::ParseReportRow(older[i]); row && !IsEmptySlot(*row))
      rows.push_back(*row);
  }
  if (const auto row = fmrrds::ParseReportRow(newest); row && !IsEmptySlot(*row))
    rows.push_back(*row);
  std::vector<NewReportRow> out;
  if (rows.empty()) return out;
  last_report_ = rows;

  // Running numbers are compared on the 16-bit circle the handset counts
  // on (fmrrds::SequenceDistance, as fmr-rds reads the same rows).
  // A report whose newest row lies further back than any report reaches, or
  // that gives the last number handed out to another group: the handset
  // counts anew without the panel having switched it off (a restart).
  if (last_) {
    const fmrrds::ReportRow& top = rows.back();
    const int ahead = fmrrds::SequenceDistance(*last_, top.sequence);
    if (ahead <= -static_cast<int>(kEntries) || (ahead == 0 && top.blocks != last_blocks_)) {
      last_.reset();
      gap_counts_ = false;
    }
  }
  // A full report may have lost older rows to newer ones before the panel
  // read it: its first gap is no loss the chip made.
  const bool full = rows.size() >= kEntries;
  for (size_t i = 0; i < rows.size(); ++i) {
    const fmrrds::ReportRow& row = rows[i];
    NewReportRow taken{row, 0};
    if (last_) {
      const int ahead = fmrrds::SequenceDistance(*last_, row.sequence);
      if (ahead <= 0) continue;  // handed out from an earlier report
      if (gap_counts_ && !(i == 0 && full)) taken.lost_before = static_cast<uint32_t>(ahead - 1);
    } else if (FromBeforeRecount(row)) {
      continue;
    }
    last_ = row.sequence;
    last_blocks_ = row.blocks;
    gap_counts_ = true;
    out.push_back(taken);
  }
  if (!out.empty()) before_recount_.clear();
  return out;
}

}  // namespace benchora
