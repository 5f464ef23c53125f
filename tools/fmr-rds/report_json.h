// The JSON output: one object per group, and the assembled station.
#pragma once

#include <cstddef>
#include <string>

#include "fmr-rds/group_reader.h"
#include "fmr-rds/programme_types.h"
#include "fmr-rds/station_decoder.h"

namespace fmrrds {

struct InputCounts {
  InputFormat format = InputFormat::kAuto;
  size_t records = 0;  // decode-log record headers
  size_t malformed_lines = 0;
  size_t passed_over_lines = 0;  // transcript lines without a report row
};

// "log", "hex", "gen2"; "unknown" when nothing told.
std::string_view InputFormatName(InputFormat format);

std::string GroupJson(const GroupReport& report, PtyTable table);
std::string SummaryJson(const StationSummary& station, const InputCounts& input, PtyTable table);

}  // namespace fmrrds
