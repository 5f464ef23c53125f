// The SVG plot of an RSSI scan: RSSI (dBuV, left axis) against frequency
// (MHz), the CP value on a right axis, markers coloured by injection
// sideband, station peaks labelled with their frequency, and a legend.
// Self-contained: styles inline, no scripts, fonts or images.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fmr-plot/scan_log.h"

namespace fmrplot {

struct PlotOptions {
  int width = 960;
  int height = 480;
  std::string title;  // empty: "RSSI scan <first> - <last> MHz (<n> points)"
  // Peaks are labelled from this level on; unset: the noise floor + 6 dB.
  std::optional<int> peak_threshold_dbuv;
};

inline constexpr int kMinPlotWidth = 660;
inline constexpr int kMinPlotHeight = 200;
inline constexpr int kMaxPlotSize = 10000;
inline constexpr int kDefaultPeakMarginDb = 6;

// `points` need not be sorted; at least one is expected.
std::string RenderSvg(std::vector<ScanPoint> points, const PlotOptions& options);

// 88100000 Hz: "88.1"
std::string MhzLabel(uint32_t frequency_hz);

}  // namespace fmrplot
