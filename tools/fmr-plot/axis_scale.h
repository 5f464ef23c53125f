// Axis ranges with round tick steps (1, 2 or 5 times a power of ten).
#pragma once

#include <string>
#include <vector>

namespace fmrplot {

struct AxisScale {
  double low = 0;
  double high = 1;
  double step = 1;
  std::vector<double> ticks;  // multiples of step within [low, high]
  int decimals = 0;           // digits after the point that tick labels need
};

// An axis over [low, high] with about `target_ticks` ticks. `snap` widens
// the range outwards to whole steps. An empty range is widened around its
// value first.
AxisScale MakeAxis(double low, double high, int target_ticks, bool snap);

// `value` with `decimals` digits after the point ("87.5", "-3").
std::string TickLabel(double value, int decimals);

}  // namespace fmrplot
