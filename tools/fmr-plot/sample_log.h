// Reads the measurement CSV benchora writes (--csv): comment lines starting
// with '#' first, should there be any, then a header naming the columns
// (time_ms, name and value needed; unit, low, high, verdict, origin and dut
// read when present, in any order; a missing one reads as empty), then one
// row per sample (empty verdict) or check (PASS or FAIL, with its low and
// high limits, either of which may be empty). Fields are quoted as RFC 4180
// has it (a quoted field may hold a line break); a cell benchora guarded
// against spreadsheet formulas ('=...) loses its quote.
//
// The sample rows with a numeric value become time series, one per name, in
// the order the names first appear. The check rows of a name give its limit
// lines and, with a numeric value, check points. A number that is not
// finite or beyond the plot's range (values beyond +-1e12, times below 0 or
// beyond 1e12 ms) refuses the whole file: its line is named.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fmrplot {

inline constexpr double kMostValue = 1e12;   // |value|, limits included
inline constexpr double kMostTimeMs = 1e12;  // about 31 years
// The series one picture holds at most.
inline constexpr size_t kMostSeries = 16;

struct SamplePoint {
  double time_ms = 0;
  double value = 0;
  // A check that failed, or a sample outside the limits of its name's checks.
  bool failed = false;
};

// One value at which the checks of a name draw a limit line.
struct LimitLine {
  double value = 0;
  bool low = false;    // some check's low limit
  bool high = false;   // some check's high limit
  bool equal = false;  // some check's low and high limit both
};

struct SampleSeries {
  std::string name;
  std::string unit;                 // the unit of its first sample row
  std::string label;                // what legends and axes call it; empty: the name
  std::vector<SamplePoint> points;  // the sample rows, in file order
  std::vector<SamplePoint> checks;  // the check rows with a numeric value
  std::vector<LimitLine> limits;    // ascending by value

  [[nodiscard]] const std::string& Shown() const { return label.empty() ? name : label; }
};

struct SampleLog {
  std::vector<SampleSeries> series;
  // Rows that are malformed, lack a time, or are samples whose value is no
  // number (a text, a code): left out.
  std::vector<size_t> skipped_lines;
  std::string error;      // non-empty: nothing to plot
  size_t error_line = 0;  // the line of a refused number; 0: the file as a whole
};

// Whether `text` starts (after any comment lines) with a measurement CSV
// header.
[[nodiscard]] bool LooksLikeSampleLog(std::string_view text);

[[nodiscard]] SampleLog ReadSampleLog(std::string_view text);

}  // namespace fmrplot
