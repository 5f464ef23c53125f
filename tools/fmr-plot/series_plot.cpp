#include "fmr-plot/series_plot.h"

#include <algorithm>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/svg_text.h"

namespace fmrplot {
namespace {

constexpr double kLeft = 64;
constexpr double kRight = 24;
constexpr double kTop = 40;
constexpr double kBottom = 76;
constexpr const char* kColors[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728",
                                   "#9467bd", "#8c564b", "#e377c2", "#7f7f7f"};

}  // namespace

std::string RenderSeriesSvg(const std::vector<SampleSeries>& series, const PlotOptions& options) {
  double t_low = 1e300, t_high = -1e300, v_low = 1e300, v_high = -1e300;
  size_t count = 0;
  for (const SampleSeries& s : series) {
    for (const SamplePoint& p : s.points) {
      t_low = std::min(t_low, static_cast<double>(p.time_ms) / 1000.0);
      t_high = std::max(t_high, static_cast<double>(p.time_ms) / 1000.0);
      v_low = std::min(v_low, p.value);
      v_high = std::max(v_high, p.value);
      ++count;
    }
  }
  const AxisScale time = MakeAxis(t_low, t_high, 8, true);
  const AxisScale value = MakeAxis(v_low, v_high, 6, true);
  const double x0 = kLeft, x1 = options.width - kRight, y0 = kTop, y1 = options.height - kBottom;
  auto X = [&](double s) { return x0 + (s - time.low) / (time.high - time.low) * (x1 - x0); };
  auto Y = [&](double v) { return y1 - (v - value.low) / (value.high - value.low) * (y1 - y0); };

  const std::string title =
      !options.title.empty()
          ? options.title
          : "Samples over " + Num(t_high - t_low) + " s (" + std::to_string(count) + " values)";
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    std::to_string(options.width) + "\" height=\"" +
                    std::to_string(options.height) +
                    "\" font-family=\"sans-serif\" font-size=\"11\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg += "<text x=\"" + Num(options.width / 2.0) +
         "\" y=\"20\" text-anchor=\"middle\" font-size=\"14\">" + Escaped(title) + "</text>\n";
  for (const double t : time.ticks) {
    svg += "<line x1=\"" + Num(X(t)) + "\" y1=\"" + Num(y0) + "\" x2=\"" + Num(X(t)) + "\" y2=\"" +
           Num(y1) + "\" stroke=\"#ddd\"/>\n<text x=\"" + Num(X(t)) + "\" y=\"" + Num(y1 + 16) +
           "\" text-anchor=\"middle\">" + TickLabel(t, time.decimals) + "</text>\n";
  }
  for (const double v : value.ticks) {
    svg += "<line x1=\"" + Num(x0) + "\" y1=\"" + Num(Y(v)) + "\" x2=\"" + Num(x1) + "\" y2=\"" +
           Num(Y(v)) + "\" stroke=\"#ddd\"/>\n<text x=\"" + Num(x0 - 6) + "\" y=\"" +
           Num(Y(v) + 4) + "\" text-anchor=\"end\">" + TickLabel(v, value.decimals) + "</text>\n";
  }
  svg += "<rect x=\"" + Num(x0) + "\" y=\"" + Num(y0) + "\" width=\"" + Num(x1 - x0) +
         "\" height=\"" + Num(y1 - y0) + "\" fill=\"none\" stroke=\"black\"/>\n";
  svg += "<text x=\"" + Num((x0 + x1) / 2) + "\" y=\"" + Num(y1 + 34) +
         "\" text-anchor=\"middle\">time (s)</text>\n";
  for (size_t i = 0; i < series.size(); ++i) {
    const SampleSeries& s = series[i];
    const char* color = kColors[i % std::size(kColors)];
    std::string points;
    std::string markers;
    for (const SamplePoint& p : s.points) {
      const std::string x = Num(X(static_cast<double>(p.time_ms) / 1000.0));
      const std::string y = Num(Y(p.value));
      points += (points.empty() ? "" : " ") + x + "," + y;
      markers += "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"3\" fill=\"" + color +
                 "\"><title>" + Escaped(s.name) + " " + Num(p.value) +
                 (s.unit.empty() ? "" : " " + Escaped(s.unit)) + " at " +
                 Num(static_cast<double>(p.time_ms) / 1000.0) + " s</title></circle>\n";
    }
    svg +=
        "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + color + "\"/>\n" + markers;
    const double legend_y = y1 + 54;
    const double legend_x = x0 + 160.0 * static_cast<double>(i);
    svg += "<rect x=\"" + Num(legend_x) + "\" y=\"" + Num(legend_y - 8) +
           "\" width=\"10\" height=\"10\" fill=\"" + color + "\"/>\n<text x=\"" +
           Num(legend_x + 14) + "\" y=\"" + Num(legend_y + 1) + "\">" + Escaped(s.name) +
           (s.unit.empty() ? "" : " (" + Escaped(s.unit) + ")") + "</text>\n";
  }
  return svg + "</svg>\n";
}

}  // namespace fmrplot
