// Which series share a value axis: those of one unit. A series without a
// unit has an axis of its own, since values of no unit need not compare.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fmr-plot/sample_log.h"

namespace fmrplot {

struct AxisGroup {
  std::string unit;
  std::vector<size_t> series;  // indices into the series, in their order
  // "RSSI (dBuV)", "RSSI, SNR (dB)", or the name alone without a unit.
  std::string title;
};

// The groups in the order their first series comes.
[[nodiscard]] std::vector<AxisGroup> GroupByUnit(const std::vector<SampleSeries>& series);

}  // namespace fmrplot
