// The JSON output: one object per group, and the assembled station.
#pragma once

#include <cstddef>
#include <string>

#include "fmr-rds/programme_types.h"
#include "fmr-rds/station_decoder.h"

namespace fmrrds {

struct InputCounts {
  size_t records = 0;  // decode-log record headers
  size_t malformed_lines = 0;
};

std::string GroupJson(const GroupReport& report, PtyTable table);
std::string SummaryJson(const StationSummary& station, const InputCounts& input, PtyTable table);

}  // namespace fmrrds
