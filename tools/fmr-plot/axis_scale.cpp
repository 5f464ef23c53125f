#include "fmr-plot/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fmrplot {
namespace {

// No axis needs more ticks than this; it bounds the loop below whatever
// the range.
constexpr int kMostTicks = 1000;

}  // namespace

AxisScale MakeAxis(double low, double high, int target_ticks, bool snap) {
  // The callers hand over finite values of a sane size; the clamps keep
  // every step below defined should one ever not.
  if (!std::isfinite(low)) low = 0;
  if (!std::isfinite(high)) high = low;
  low = std::clamp(low, -kAxisLimit, kAxisLimit);
  high = std::clamp(high, -kAxisLimit, kAxisLimit);
  if (high < low) std::swap(low, high);
  // A range too narrow for its magnitude (steps below the spacing of
  // doubles there) is widened around its middle.
  const double least = std::max(1e-9, std::max(std::abs(low), std::abs(high)) * 1e-9);
  if (high - low < least) {
    const double middle = low / 2 + high / 2;
    const double half = std::max(0.5, least);
    low = middle - half;
    high = middle + half;
  }
  const double raw = (high - low) / std::clamp(target_ticks, 1, 100);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double norm = raw / magnitude;
  const double factor = norm < 1.5 ? 1 : norm < 3 ? 2 : norm < 7 ? 5 : 10;
  AxisScale axis;
  axis.step = factor * magnitude;
  if (snap) {
    low = std::floor(low / axis.step + 1e-9) * axis.step;
    high = std::ceil(high / axis.step - 1e-9) * axis.step;
  }
  axis.low = low;
  axis.high = high;
  axis.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(axis.step) + 1e-9)));
  const double first = std::ceil(low / axis.step - 1e-9) * axis.step;
  for (int i = 0; i < kMostTicks; ++i) {
    const double t = first + i * axis.step;
    if (t > high + axis.step * 1e-6) break;
    axis.ticks.push_back(std::abs(t) < axis.step * 1e-6 ? 0.0 : t);
  }
  return axis;
}

std::string TickLabel(double value, int decimals) {
  char buffer[48];
  std::snprintf(buffer, sizeof(buffer), "%.*f", std::clamp(decimals, 0, 15), value);
  return buffer;
}

}  // namespace fmrplot
