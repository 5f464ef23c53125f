#include "fmr-plot/peak_finder.h"

#include <algorithm>

namespace fmrplot {

int NoiseFloor(const std::vector<ScanPoint>& points) {
  if (points.empty()) return 0;
  std::vector<int> levels;
  levels.reserve(points.size());
  for (const ScanPoint& p : points) levels.push_back(p.rssi_dbuv);
  const auto middle = levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2);
  std::nth_element(levels.begin(), middle, levels.end());
  return *middle;
}

std::vector<size_t> FindPeaks(const std::vector<ScanPoint>& points, int threshold_dbuv) {
  std::vector<size_t> peaks;
  size_t i = 0;
  while (i < points.size()) {
    const int level = points[i].rssi_dbuv;
    size_t j = i;
    while (j + 1 < points.size() && points[j + 1].rssi_dbuv == level) ++j;
    const bool above_left = i == 0 || points[i - 1].rssi_dbuv < level;
    const bool above_right = j + 1 == points.size() || points[j + 1].rssi_dbuv < level;
    if (above_left && above_right && level >= threshold_dbuv) peaks.push_back((i + j) / 2);
    i = j + 1;
  }
  return peaks;
}

}  // namespace fmrplot
