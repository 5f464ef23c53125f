// The second-generation panel shows the handset's RDS report in two
// read-outs: LData the newest entry, MData the 27 before it, newest first.
// Successive reports overlap. PanelRdsReport turns each report read from the
// panel into the groups not handed out before, oldest first, and counts the
// groups the running numbers say the chip lost between them (it lists only
// groups it decoded whole).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fmr-rds/report_rows.h"

namespace benchora {

struct NewReportRow {
  fmrrds::ReportRow row;
  uint32_t lost_before = 0;  // groups missing between the previous row handed out and this one
};

class PanelRdsReport {
 public:
  static constexpr size_t kEntries = 28;

  // One report as the panel shows it: LData's text and MData's lines.
  [[nodiscard]] std::vector<NewReportRow> Read(std::string_view newest,
                                               std::span<const std::string> older);

  // The radio receives something else from now on: rows listed before are
  // never handed out again, and the gap before the next new row is no loss
  // (the handset dropped its report). With `recounting` the handset starts
  // its running number anew (switched off and on).
  void NewTuning(bool recounting);

 private:
  bool FromBeforeRecount(const fmrrds::ReportRow& row) const;

  std::optional<uint16_t> last_;  // running number of the last row handed out
  std::array<uint16_t, 4> last_blocks_{};
  bool gap_counts_ = false;
  // The rows of the last report read before the handset started counting
  // anew: never new, whatever their numbers now mean.
  std::vector<fmrrds::ReportRow> before_recount_;
  std::vector<fmrrds::ReportRow> last_report_;
};

}  // namespace benchora
