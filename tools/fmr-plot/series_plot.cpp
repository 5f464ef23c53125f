#include "fmr-plot/series_plot.h"

#include <algorithm>
#include <optional>

#include "fmr-plot/axis_groups.h"
#include "fmr-plot/axis_scale.h"
#include "fmr-plot/svg_text.h"

namespace fmrplot {
namespace {

constexpr double kTop = 40;             // the plot's top, below the title
constexpr double kPanelTitleRoom = 10;  // more above the first of stacked panels
constexpr double kPanelGap = 28;        // between stacked panels, for the next one's title
constexpr double kMinPanelHeight = 80;  // the picture grows rather than go below
constexpr double kAxisTitleX = 16;      // baseline of a rotated axis title from the edge
constexpr double kTitleRoom = 28;       // from the edge to the tick labels beside it
constexpr double kTickGap = 6;          // between a tick label and the frame
constexpr double kEdge = 16;            // the legend's margin at both sides
constexpr double kBelowPlot = 52;       // time labels and title, down to the legend's first row
constexpr double kLegendRow = 18;
constexpr double kMarker = 3;      // a sample's radius, half a check's side + 0.5
constexpr double kFailRing = 6.5;  // radius of the ring around a failed value
constexpr const char* kFailColor = "#e00000";
// Series colours; none of them red, which marks failures.
constexpr const char* kColors[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#9467bd",
                                   "#8c564b", "#e377c2", "#7f7f7f", "#17becf"};

const char* Color(size_t series) {
  return kColors[series % std::size(kColors)];
}

double Seconds(const SamplePoint& p) {
  return p.time_ms / 1000.0;
}

struct Axis {
  const AxisGroup* group = nullptr;
  AxisScale scale;
  bool right = false;
  double y0 = 0, y1 = 0;  // the panel's top and bottom

  double Y(double v) const { return y1 - (v - scale.low) / (scale.high - scale.low) * (y1 - y0); }
};

// The values a group's axis must show: its samples, checks and limits,
// with a little room around them so no marker sits on the frame.
AxisScale GroupScale(const AxisGroup& group, const std::vector<SampleSeries>& series,
                     double height) {
  std::optional<double> low, high;
  const auto take = [&](double v) {
    low = std::min(low.value_or(v), v);
    high = std::max(high.value_or(v), v);
  };
  for (const size_t i : group.series) {
    for (const SamplePoint& p : series[i].points) take(p.value);
    for (const SamplePoint& p : series[i].checks) take(p.value);
    for (const LimitLine& l : series[i].limits) take(l.value);
  }
  const double pad = (high.value_or(0) - low.value_or(0)) * 0.04;
  return MakeAxis(low.value_or(0) - pad, high.value_or(1) + pad,
                  std::max(2, static_cast<int>(height / 45)), true);
}

double WidestLabel(const AxisScale& scale) {
  double widest = 0;
  for (const double t : scale.ticks) {
    widest = std::max(widest, TextWidth(TickLabel(t, scale.decimals)));
  }
  return widest;
}

struct LegendItem {
  std::string text;
  std::string swatch;  // drawn with its left end at (0, 0), moved in place; the
                       // key's classes, which the picture's marks do not share
};

std::string Text(double x, double y, const std::string& text, const std::string& attributes = "") {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\"" + attributes + ">" + Escaped(text) +
         "</text>";
}

std::string Fill(const char* color) {
  return std::string(" fill=\"") + color + "\"";
}

std::vector<LegendItem> LegendItems(const std::vector<SampleSeries>& series,
                                    const std::vector<Axis>& axes) {
  std::vector<LegendItem> items;
  bool checks = false, failed = false, limits = false;
  for (size_t i = 0; i < series.size(); ++i) {
    const SampleSeries& s = series[i];
    bool right = false;
    for (const Axis& a : axes) {
      right = right || (a.right && std::find(a.group->series.begin(), a.group->series.end(), i) !=
                                       a.group->series.end());
    }
    std::string note = s.unit;
    if (right) note += note.empty() ? "right axis" : ", right axis";
    items.push_back({s.Shown() + (note.empty() ? "" : " (" + note + ")"),
                     "<path d=\"M0 -4h22\" stroke=\"" + std::string(Color(i)) +
                         "\"/><circle cx=\"11\" cy=\"-4\" r=\"3\"" + Fill(Color(i)) + "/>"});
    checks = checks || !s.checks.empty();
    limits = limits || !s.limits.empty();
    for (const auto* points : {&s.points, &s.checks}) {
      for (const SamplePoint& p : *points) failed = failed || p.failed;
    }
  }
  if (checks) {
    items.push_back({"check",
                     "<rect class=\"key-check\" x=\"7.5\" y=\"-7.5\" width=\"7\" "
                     "height=\"7\" fill=\"#bbb\"/>"});
  }
  if (limits)
    items.push_back({"limit", "<path class=\"key-limit\" d=\"M0 -4h22\" stroke=\"#555\"/>"});
  if (failed) {
    items.push_back(
        {"failed (check or outside the limits)",
         "<circle class=\"key-fail\" cx=\"11\" cy=\"-4\" r=\"" + Num(kFailRing) + "\"/>"});
  }
  return items;
}

// The legend's items placed in rows within the picture's width; the number
// of rows comes back through `rows`.
std::string Legend(const std::vector<LegendItem>& items, double top, int width, int& rows) {
  std::string out = "<g class=\"legend\">";
  double x = kEdge;
  double y = top;
  rows = items.empty() ? 0 : 1;
  for (const LegendItem& item : items) {
    const double text = std::min(TextWidth(item.text), width - 2 * kEdge - 28);
    const double room = 28 + text + 18;
    if (x > kEdge && x + room - 18 > width - kEdge) {
      x = kEdge;
      y += kLegendRow;
      ++rows;
    }
    out += "<g transform=\"translate(" + Num(x) + " " + Num(y) + ")\">" + item.swatch + "</g>" +
           Text(x + 28, y, Fitted(item.text, text));
    x += room;
  }
  return out + "</g>\n";
}

std::string LimitText(const LimitLine& limit, const std::string& unit) {
  const char* what = limit.equal               ? "="
                     : limit.low && limit.high ? "low/high"
                     : limit.low               ? "low"
                                               : "high";
  return std::string(what) + " " + ValueText(limit.value) + (unit.empty() ? "" : " " + unit);
}

std::string Tooltip(const SampleSeries& s, const SamplePoint& p, const char* verdict) {
  std::string text = s.Shown() + " " + ValueText(p.value) + (s.unit.empty() ? "" : " " + s.unit) +
                     " at " + ValueText(Seconds(p)) + " s";
  if (verdict != nullptr) {
    text += std::string(": check ") + verdict;
  } else if (p.failed) {
    text += ": outside the limits";
  }
  return "<title>" + Escaped(text) + "</title>";
}

}  // namespace

std::string RenderSeriesSvg(const std::vector<SampleSeries>& series, const PlotOptions& options) {
  const int width = std::clamp(options.width, kMinPlotWidth, kMaxPlotSize);
  int height = std::clamp(options.height, kMinPlotHeight, kMaxPlotSize);
  const std::vector<AxisGroup> groups = GroupByUnit(series);
  const bool stacked = groups.size() > 2;
  const size_t panels = stacked ? groups.size() : 1;

  // Everything below the plot first: the legend's rows decide the room left.
  std::vector<Axis> axes(groups.size());
  for (size_t g = 0; g < groups.size(); ++g) {
    axes[g].group = &groups[g];
    axes[g].right = !stacked && g == 1;
  }
  int legend_rows = 0;
  const std::vector<LegendItem> items = LegendItems(series, axes);
  (void)Legend(items, 0, width, legend_rows);
  const double below = kBelowPlot + legend_rows * kLegendRow + 8;
  const double top = kTop + (stacked ? kPanelTitleRoom : 0);
  const double gaps = kPanelGap * static_cast<double>(panels - 1);
  double panel_height = (height - top - below - gaps) / static_cast<double>(panels);
  if (panel_height < kMinPanelHeight) {
    panel_height = kMinPanelHeight;
    height = static_cast<int>(top + below + gaps + panel_height * static_cast<double>(panels) + 1);
  }

  double left_labels = 0, right_labels = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    Axis& a = axes[g];
    a.y0 = top + static_cast<double>(stacked ? g : 0) * (panel_height + kPanelGap);
    a.y1 = a.y0 + panel_height;
    a.scale = GroupScale(groups[g], series, panel_height);
    (a.right ? right_labels : left_labels) =
        std::max(a.right ? right_labels : left_labels, WidestLabel(a.scale));
  }
  const double x0 = kTitleRoom + left_labels + kTickGap;

  double t_low = 0, t_high = 0;
  size_t count = 0;
  bool any = false;
  for (const SampleSeries& s : series) {
    for (const auto* points : {&s.points, &s.checks}) {
      for (const SamplePoint& p : *points) {
        t_low = any ? std::min(t_low, Seconds(p)) : Seconds(p);
        t_high = any ? std::max(t_high, Seconds(p)) : Seconds(p);
        any = true;
      }
    }
    count += s.points.size();
  }
  double x1 = right_labels > 0 ? width - kTitleRoom - right_labels - kTickGap : width - 24.0;
  // A little room at both ends keeps the first and last markers off the
  // frame; the ticks stay inside.
  const double t_pad = (t_high - t_low) * 0.02;
  const AxisScale time =
      MakeAxis(t_low - t_pad, t_high + t_pad, std::max(2, static_cast<int>((x1 - x0) / 90)), false);
  if (right_labels == 0 && !time.ticks.empty()) {
    // Room for half the last time label beyond the frame.
    x1 = std::min(x1, width - TextWidth(TickLabel(time.ticks.back(), time.decimals)) / 2 - 6);
  }
  const auto X = [&](double seconds) {
    return x0 + (seconds - time.low) / (time.high - time.low) * (x1 - x0);
  };

  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  const std::string title = !options.title.empty()
                                ? options.title
                                : "Samples over " + ValueText(t_high - t_low) + " s (" +
                                      std::to_string(count) + " values)";
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h +
         "\" font-family=\"DejaVu Sans,Arial,sans-serif\" font-size=\"11\">\n";
  svg +=
      "<style>.grid{stroke:#e4e4e4;fill:none}.frame{stroke:#444;fill:none}"
      ".line{fill:none;stroke-width:1.5}.check,.key-check{stroke:#222;stroke-width:0.8}"
      ".limit,.key-limit{stroke-width:1.2;stroke-dasharray:6 4;fill:none}"
      ".fail,.key-fail{fill:none;stroke:" +
      std::string(kFailColor) + ";stroke-width:1.8}</style>\n";
  svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#fff\"/>\n";
  svg += Text(width / 2.0, 22, Fitted(title, width - 2 * kEdge),
              " text-anchor=\"middle\" font-size=\"14\"") +
         "\n";

  // Panels: grid, frame, ticks and titles of their axes.
  for (size_t panel = 0; panel < panels && panel < axes.size(); ++panel) {
    const Axis& left = axes[panel];
    std::string grid;
    std::string labels;
    for (const double t : time.ticks)
      grid += "M" + Num(X(t)) + " " + Num(left.y0) + "V" + Num(left.y1);
    for (const double v : left.scale.ticks)
      grid += "M" + Num(x0) + " " + Num(left.Y(v)) + "H" + Num(x1);
    svg += "<path class=\"grid\" d=\"" + grid + "\"/>\n";
    svg += "<rect class=\"frame\" x=\"" + Num(x0) + "\" y=\"" + Num(left.y0) + "\" width=\"" +
           Num(x1 - x0) + "\" height=\"" + Num(left.y1 - left.y0) + "\"/>\n";
    for (size_t g = panel; g < groups.size() && (g == panel || !stacked); ++g) {
      const Axis& a = axes[g];
      const double x = a.right ? x1 + kTickGap : x0 - kTickGap;
      std::string ticks;
      for (const double v : a.scale.ticks) {
        ticks += Text(x, a.Y(v) + 4, TickLabel(v, a.scale.decimals));
      }
      const bool one = a.group->series.size() == 1;
      const std::string color = one ? Color(a.group->series[0]) : "#222";
      svg += "<g class=\"ticks\" text-anchor=\"" + std::string(a.right ? "start" : "end") + "\">" +
             ticks + "</g>\n";
      const double middle = (a.y0 + a.y1) / 2;
      if (stacked) {
        svg += Text(x0, a.y0 - 7, Fitted(a.group->title, x1 - x0),
                    " class=\"axis-title\" font-weight=\"bold\" fill=\"" + color + "\"") +
               "\n";
      } else {
        const double tx = a.right ? width - kAxisTitleX : kAxisTitleX;
        svg += Text(tx, middle, Fitted(a.group->title, a.y1 - a.y0),
                    " class=\"axis-title\" text-anchor=\"middle\" font-weight=\"bold\" fill=\"" +
                        color + "\" transform=\"rotate(" + (a.right ? "90 " : "-90 ") + Num(tx) +
                        " " + Num(middle) + ")\"") +
               "\n";
      }
    }
  }
  const double bottom = axes.empty() ? top + panel_height : axes[panels - 1].y1;
  std::string time_labels;
  for (const double t : time.ticks)
    time_labels += Text(X(t), bottom + 16, TickLabel(t, time.decimals));
  svg += "<g class=\"ticks\" text-anchor=\"middle\">" + time_labels + "</g>\n";
  svg += Text((x0 + x1) / 2, bottom + 34, "time (s)", " text-anchor=\"middle\"") + "\n";

  // Each group's series on its axis: limits, lines, markers, then the rings
  // over everything.
  std::string rings;
  for (const Axis& a : axes) {
    for (const size_t i : a.group->series) {
      const SampleSeries& s = series[i];
      const std::string color = Color(i);
      for (const LimitLine& limit : s.limits) {
        const double y = a.Y(limit.value);
        svg += "<line class=\"limit\" x1=\"" + Num(x0) + "\" y1=\"" + Num(y) + "\" x2=\"" +
               Num(x1) + "\" y2=\"" + Num(y) + "\" stroke=\"" + color + "\"/>\n";
        const double label_y = y - a.y0 < 14 ? y + 12 : y - 4;
        svg += Text(x1 - 4, label_y, LimitText(limit, s.unit),
                    " class=\"limit-label\" text-anchor=\"end\"" + Fill(color.c_str())) +
               "\n";
      }
      std::vector<SamplePoint> in_time = s.points;
      std::stable_sort(
          in_time.begin(), in_time.end(),
          [](const SamplePoint& p, const SamplePoint& q) { return p.time_ms < q.time_ms; });
      std::string points;
      std::string markers;
      for (const SamplePoint& p : in_time) {
        const std::string x = Num(X(Seconds(p))), y = Num(a.Y(p.value));
        points += (points.empty() ? "" : " ") + x + "," + y;
        markers += "<circle class=\"sample\" cx=\"" + x + "\" cy=\"" + y + "\" r=\"" +
                   Num(kMarker) + "\"" + Fill(color.c_str()) + ">" + Tooltip(s, p, nullptr) +
                   "</circle>";
        if (p.failed) {
          rings += "<circle class=\"fail\" cx=\"" + x + "\" cy=\"" + y + "\" r=\"" +
                   Num(kFailRing) + "\"/>";
        }
      }
      for (const SamplePoint& p : s.checks) {
        const double x = X(Seconds(p)), y = a.Y(p.value);
        markers += "<rect class=\"check\" x=\"" + Num(x - kMarker - 0.5) + "\" y=\"" +
                   Num(y - kMarker - 0.5) + "\" width=\"" + Num(2 * kMarker + 1) + "\" height=\"" +
                   Num(2 * kMarker + 1) + "\"" + Fill(color.c_str()) + ">" +
                   Tooltip(s, p, p.failed ? "FAIL" : "PASS") + "</rect>";
        if (p.failed) {
          rings += "<circle class=\"fail\" cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" +
                   Num(kFailRing) + "\"/>";
        }
      }
      svg += "<polyline class=\"line\" points=\"" + points + "\" stroke=\"" + color + "\"/>\n";
      svg += "<g>" + markers + "</g>\n";
    }
  }
  svg += "<g>" + rings + "</g>\n";
  svg += Legend(items, bottom + kBelowPlot + 4, width, legend_rows);
  return svg + "</svg>\n";
}

}  // namespace fmrplot
