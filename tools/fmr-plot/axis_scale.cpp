#include "fmr-plot/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fmrplot {

AxisScale MakeAxis(double low, double high, int target_ticks, bool snap) {
  if (high < low) std::swap(low, high);
  if (high - low < 1e-9) {
    low -= 0.5;
    high += 0.5;
  }
  const double raw = (high - low) / std::max(target_ticks, 1);
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
  for (double t = std::ceil(low / axis.step - 1e-9) * axis.step; t <= high + axis.step * 1e-6;
       t += axis.step) {
    axis.ticks.push_back(std::abs(t) < axis.step * 1e-6 ? 0.0 : t);
  }
  return axis;
}

std::string TickLabel(double value, int decimals) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
  return buffer;
}

}  // namespace fmrplot
