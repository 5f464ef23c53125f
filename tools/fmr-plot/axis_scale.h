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

// Values beyond this are no axis's business: MakeAxis clamps its ends to
// it, and the readers refuse them.
inline constexpr double kAxisLimit = 1e15;

// An axis over [low, high] with about `target_ticks` ticks. `snap` widens
// the range outwards to whole steps. A range that is empty or too narrow
// for its magnitude (under a billionth of it) is widened around its middle
// first, so the span is always positive and the ticks distinct. A
// non-finite end counts as 0 (low) or as the other end (high).
[[nodiscard]] AxisScale MakeAxis(double low, double high, int target_ticks, bool snap);

// `value` with `decimals` digits after the point ("87.5", "-3").
[[nodiscard]] std::string TickLabel(double value, int decimals);

}  // namespace fmrplot
