// Station peaks of an RSSI scan: local maxima at or above a threshold.
#pragma once

#include <cstddef>
#include <vector>

#include "fmr-plot/scan_log.h"

namespace fmrplot {

// The RSSI that most of the band shows: the median level.
int NoiseFloor(const std::vector<ScanPoint>& points);

// Indices of the peaks of `points` (sorted by frequency): a point, or the
// middle of a run of equal levels, higher than its neighbours on both sides
// (the ends of the scan need only their one neighbour), at or above
// `threshold_dbuv`.
std::vector<size_t> FindPeaks(const std::vector<ScanPoint>& points, int threshold_dbuv);

}  // namespace fmrplot
