// The SVG plot of sampled values against time: one line with markers per
// series, the time in seconds along the bottom, the values on the left
// (their unit in the legend), each marker carrying a tooltip.
#pragma once

#include <string>

#include "fmr-plot/sample_log.h"
#include "fmr-plot/svg_plot.h"

namespace fmrplot {

// `series` holds at least one point.
std::string RenderSeriesSvg(const std::vector<SampleSeries>& series, const PlotOptions& options);

}  // namespace fmrplot
