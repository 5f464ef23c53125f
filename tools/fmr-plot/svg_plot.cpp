#include "fmr-plot/svg_plot.h"

#include <algorithm>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/peak_finder.h"
#include "fmr-plot/svg_text.h"

namespace fmrplot {
namespace {

constexpr double kLeft = 64;
constexpr double kRight = 64;
constexpr double kTop = 40;
constexpr double kBottom = 76;
constexpr double kLabelHeadroomPx = 18;  // room above the highest marker for its label
constexpr double kCharWidthPx = 6.6;     // about one digit at the 11 px font

struct Frame {
  double x0, x1, y0, y1;  // plot area: left, right, top, bottom
  AxisScale fx, rssi, cp;

  double X(double mhz) const { return x0 + (mhz - fx.low) / (fx.high - fx.low) * (x1 - x0); }
  double YRssi(double v) const { return y1 - (v - rssi.low) / (rssi.high - rssi.low) * (y1 - y0); }
  double YCp(double v) const { return y1 - (v - cp.low) / (cp.high - cp.low) * (y1 - y0); }
};

double Mhz(const ScanPoint& p) {
  return p.frequency_hz / 1e6;
}

Frame MakeFrame(const std::vector<ScanPoint>& points, const PlotOptions& options) {
  Frame f;
  f.x0 = kLeft;
  f.x1 = options.width - kRight;
  f.y0 = kTop;
  f.y1 = options.height - kBottom;
  const double first = Mhz(points.front());
  const double last = Mhz(points.back());
  const double pad = std::max((last - first) * 0.01, 0.05);
  f.fx =
      MakeAxis(first - pad, last + pad, std::max(2, static_cast<int>((f.x1 - f.x0) / 80)), false);

  const auto [lo, hi] = std::minmax_element(
      points.begin(), points.end(),
      [](const ScanPoint& a, const ScanPoint& b) { return a.rssi_dbuv < b.rssi_dbuv; });
  const int y_ticks = std::max(2, static_cast<int>((f.y1 - f.y0) / 50));
  f.rssi = MakeAxis(lo->rssi_dbuv, hi->rssi_dbuv, y_ticks, true);
  // Keep the highest marker clear of the top so that its label fits.
  if (f.YRssi(hi->rssi_dbuv) - f.y0 < kLabelHeadroomPx) {
    f.rssi = MakeAxis(f.rssi.low, f.rssi.high + f.rssi.step, y_ticks, true);
  }

  const auto [cp_lo, cp_hi] =
      std::minmax_element(points.begin(), points.end(),
                          [](const ScanPoint& a, const ScanPoint& b) { return a.cp < b.cp; });
  f.cp = MakeAxis(cp_lo->cp, cp_hi->cp, y_ticks, true);
  return f;
}

std::string Polyline(const char* css_class, const std::vector<std::pair<double, double>>& xy) {
  std::string out = "<polyline class=\"" + std::string(css_class) + "\" points=\"";
  for (size_t i = 0; i < xy.size(); ++i) {
    if (i > 0) out += ' ';
    out += Num(xy[i].first) + "," + Num(xy[i].second);
  }
  return out + "\"/>\n";
}

std::string Text(double x, double y, const std::string& text, const std::string& attributes = "") {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\"" + attributes + ">" + Escaped(text) +
         "</text>";
}

std::string Axes(const Frame& f) {
  std::string grid;
  std::string ticks;
  std::string labels;
  for (double t : f.fx.ticks) {
    const double x = f.X(t);
    grid += "M" + Num(x) + " " + Num(f.y0) + "V" + Num(f.y1);
    ticks += "M" + Num(x) + " " + Num(f.y1) + "v5";
    labels += Text(x, f.y1 + 18, TickLabel(t, f.fx.decimals));
  }
  std::string left_labels;
  for (double t : f.rssi.ticks) {
    const double y = f.YRssi(t);
    grid += "M" + Num(f.x0) + " " + Num(y) + "H" + Num(f.x1);
    ticks += "M" + Num(f.x0) + " " + Num(y) + "h-5";
    left_labels += Text(f.x0 - 8, y + 4, TickLabel(t, f.rssi.decimals));
  }
  std::string right_labels;
  for (double t : f.cp.ticks) {
    const double y = f.YCp(t);
    ticks += "M" + Num(f.x1) + " " + Num(y) + "h5";
    right_labels += Text(f.x1 + 8, y + 4, TickLabel(t, f.cp.decimals));
  }
  std::string out;
  out += "<path class=\"grid\" d=\"" + grid + "\"/>\n";
  out += "<path class=\"axis\" d=\"M" + Num(f.x0) + " " + Num(f.y0) + "H" + Num(f.x1) + "V" +
         Num(f.y1) + "H" + Num(f.x0) + "Z" + ticks + "\"/>\n";
  out += "<g text-anchor=\"middle\">" + labels + "</g>\n";
  out += "<g text-anchor=\"end\">" + left_labels + "</g>\n";
  out += "<g class=\"cpt\">" + right_labels + "</g>\n";
  const double mid_y = (f.y0 + f.y1) / 2;
  out += Text((f.x0 + f.x1) / 2, f.y1 + 36, "Frequency (MHz)", " text-anchor=\"middle\"") + "\n";
  out += Text(18, mid_y, "RSSI (dBuV)",
              " text-anchor=\"middle\" transform=\"rotate(-90 18 " + Num(mid_y) + ")\"") +
         "\n";
  const double rx = f.x1 + 50;
  out += Text(rx, mid_y, "CP value",
              " class=\"cpt\" text-anchor=\"middle\" transform=\"rotate(90 " + Num(rx) + " " +
                  Num(mid_y) + ")\"") +
         "\n";
  return out;
}

std::string Markers(const Frame& f, const std::vector<ScanPoint>& points, Sideband sideband) {
  std::string out = sideband == Sideband::kHigh ? "<g class=\"high\">" : "<g class=\"low\">";
  for (const ScanPoint& p : points) {
    if (p.sideband != sideband) continue;
    out += "<circle cx=\"" + Num(f.X(Mhz(p))) + "\" cy=\"" + Num(f.YRssi(p.rssi_dbuv)) +
           "\" r=\"2.5\"><title>" + MhzLabel(p.frequency_hz) +
           " MHz: " + std::to_string(p.rssi_dbuv) + " dBuV, CP " + std::to_string(p.cp) + ", " +
           (sideband == Sideband::kHigh ? "High" : "Low") + "</title></circle>";
  }
  return out + "</g>\n";
}

// Frequency labels over the peaks, strongest first; a label that would
// overlap one already placed is left out (its marker still shows the peak).
std::string PeakLabels(const Frame& f, const std::vector<ScanPoint>& points, int threshold) {
  std::vector<size_t> peaks = FindPeaks(points, threshold);
  std::stable_sort(peaks.begin(), peaks.end(),
                   [&](size_t a, size_t b) { return points[a].rssi_dbuv > points[b].rssi_dbuv; });
  struct Box {
    double left, right, y;
  };
  std::vector<Box> placed;
  std::string out = "<g class=\"peak\">";
  for (size_t i : peaks) {
    const std::string label = MhzLabel(points[i].frequency_hz);
    const double x = f.X(Mhz(points[i]));
    const double y = f.YRssi(points[i].rssi_dbuv) - 7;
    const double half = static_cast<double>(label.size()) * kCharWidthPx / 2 + 2;
    const bool overlaps = std::any_of(placed.begin(), placed.end(), [&](const Box& b) {
      return x - half < b.right && x + half > b.left && y > b.y - 13 && y < b.y + 13;
    });
    if (overlaps) continue;
    placed.push_back({x - half, x + half, y});
    out += Text(x, y, label);
  }
  return out + "</g>\n";
}

std::string Legend(const Frame& f, int threshold) {
  const double y = f.y1 + 58;
  double x = f.x0;
  std::string out = "<g>";
  out += "<circle class=\"high\" cx=\"" + Num(x + 4) + "\" cy=\"" + Num(y - 4) + "\" r=\"4\"/>";
  out += Text(x + 12, y, "High injection");
  x += 112;
  out += "<circle class=\"low\" cx=\"" + Num(x + 4) + "\" cy=\"" + Num(y - 4) + "\" r=\"4\"/>";
  out += Text(x + 12, y, "Low injection");
  x += 104;
  out += "<path class=\"rssi\" d=\"M" + Num(x) + " " + Num(y - 4) + "h22\"/>";
  out += Text(x + 28, y, "RSSI");
  x += 64;
  out += "<path class=\"cp\" d=\"M" + Num(x) + " " + Num(y - 4) + "h22\"/>";
  out += Text(x + 28, y, "CP (right axis)");
  x += 134;
  out += Text(x, y, "labels: peaks from " + std::to_string(threshold) + " dBuV");
  return out + "</g>\n";
}

}  // namespace

std::string MhzLabel(uint32_t frequency_hz) {
  std::string text = std::to_string(frequency_hz / 1000000);
  uint32_t rest = frequency_hz % 1000000;
  if (rest != 0) {
    text += '.';
    for (uint32_t unit = 100000; unit > 0 && rest != 0; unit /= 10) {
      text += static_cast<char>('0' + rest / unit);
      rest %= unit;
    }
  }
  return text;
}

std::string RenderSvg(std::vector<ScanPoint> points, const PlotOptions& options) {
  std::stable_sort(points.begin(), points.end(), [](const ScanPoint& a, const ScanPoint& b) {
    return a.frequency_hz < b.frequency_hz;
  });
  PlotOptions o = options;
  o.width = std::clamp(o.width, kMinPlotWidth, kMaxPlotSize);
  o.height = std::clamp(o.height, kMinPlotHeight, kMaxPlotSize);
  const Frame f = MakeFrame(points, o);
  const int threshold = o.peak_threshold_dbuv.value_or(NoiseFloor(points) + kDefaultPeakMarginDb);
  const std::string title = !o.title.empty()
                                ? o.title
                                : "RSSI scan " + MhzLabel(points.front().frequency_hz) + " - " +
                                      MhzLabel(points.back().frequency_hz) + " MHz (" +
                                      std::to_string(points.size()) + " points)";

  const std::string w = std::to_string(o.width);
  const std::string h = std::to_string(o.height);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h +
         "\" font-family=\"DejaVu Sans,Arial,sans-serif\" font-size=\"11\">\n";
  svg +=
      "<style>.grid{stroke:#e4e4e4;fill:none}.axis{stroke:#444;fill:none}"
      ".rssi{stroke:#777;fill:none}.cp{stroke:#2e8b57;stroke-width:1.5;stroke-dasharray:5 3;"
      "fill:none}.cpt{fill:#2e8b57}.high{fill:#1f5fbf}.low{fill:#e07000}"
      ".peak{font-weight:bold;text-anchor:middle}</style>\n";
  svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#fff\"/>\n";
  svg += Text(f.x0, 24, title, " font-size=\"15\"") + "\n";
  svg += Axes(f);

  std::vector<std::pair<double, double>> cp_line;
  std::vector<std::pair<double, double>> rssi_line;
  for (const ScanPoint& p : points) {
    cp_line.emplace_back(f.X(Mhz(p)), f.YCp(p.cp));
    rssi_line.emplace_back(f.X(Mhz(p)), f.YRssi(p.rssi_dbuv));
  }
  svg += Polyline("cp", cp_line);
  svg += Polyline("rssi", rssi_line);
  svg += Markers(f, points, Sideband::kHigh);
  svg += Markers(f, points, Sideband::kLow);
  svg += PeakLabels(f, points, threshold);
  svg += Legend(f, threshold);
  svg += "</svg>\n";
  return svg;
}

}  // namespace fmrplot
