// The SVG plot of sampled values against time: one line with markers per
// series, the time in seconds along the bottom, each marker carrying a
// tooltip. The series of one unit share a value axis titled with their
// names and unit: one unit takes the left axis, a second the right one,
// and more than two units get a panel each, stacked over the shared time
// axis. The check points of a series are squares, its limits dashed lines
// with their values; failed checks and samples outside the limits are
// ringed in red. A legend below names the series and the marks.
#pragma once

#include <string>

#include "fmr-plot/sample_log.h"
#include "fmr-plot/svg_plot.h"

namespace fmrplot {

// Every series holds at least one sample.
[[nodiscard]] std::string RenderSeriesSvg(const std::vector<SampleSeries>& series,
                                          const PlotOptions& options);

}  // namespace fmrplot
