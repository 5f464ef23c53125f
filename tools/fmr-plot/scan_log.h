// Reads the first-generation panel's RSSI scan log ("rssi_logging.log"): a
// header line "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband", then one
// tab-separated line per scanned frequency: frequency (Hz), RSSI (dBuV), CP
// value, and "High" or "Low" for the injection sideband. Line ends may be
// CRLF (the panel writes in text mode) or LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace fmrplot {

enum class Sideband { kHigh, kLow };

struct ScanPoint {
  uint32_t frequency_hz = 0;
  int rssi_dbuv = 0;
  uint32_t cp = 0;
  Sideband sideband = Sideband::kHigh;
  size_t line = 0;
};

struct ScanProblem {
  size_t line = 0;
  std::string message;
};

struct ScanLog {
  std::vector<ScanPoint> points;      // in file order
  std::vector<ScanProblem> problems;  // malformed scan lines, skipped
  // Non-empty when the log cannot be plotted: empty, no header, no valid
  // scan line.
  std::string error;
};

ScanLog ReadScanLog(std::istream& in);

}  // namespace fmrplot
