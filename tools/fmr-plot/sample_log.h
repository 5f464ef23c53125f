// Reads the measurement CSV benchora writes (--csv): a header beginning
// "time_ms,name,value,unit", then one row per check or sample. The sample
// rows (no verdict) with a numeric value become time series, one per name,
// in the order the names first appear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fmrplot {

struct SamplePoint {
  uint64_t time_ms = 0;
  double value = 0;
};

struct SampleSeries {
  std::string name;
  std::string unit;
  std::vector<SamplePoint> points;
};

struct SampleLog {
  std::vector<SampleSeries> series;
  std::vector<size_t> skipped_lines;  // malformed rows, or values that are no numbers
  std::string error;                  // non-empty: nothing to plot
};

// Whether a file's first line is the measurement CSV's header.
bool IsSampleHeader(std::string_view first_line);

SampleLog ReadSampleLog(std::string_view text);

}  // namespace fmrplot
