// The assembled station as readable text, one field per line.
#pragma once

#include <string>

#include "fmr-rds/programme_types.h"
#include "fmr-rds/report_json.h"
#include "fmr-rds/station_decoder.h"

namespace fmrrds {

std::string SummaryText(const StationSummary& station, const InputCounts& input, PtyTable table);

}  // namespace fmrrds
