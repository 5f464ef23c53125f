// fmr-plot: finding peaks, axes, the SVG read back against its own axis
// labels, and the logs and options it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <sstream>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/cli.h"
#include "fmr-plot/peak_finder.h"
#include "fmr-plot/svg_plot.h"
#include "tool_run.h"

namespace {

using fmrplot::ScanPoint;
using rdstest::RunResult;

const std::string kHeader = "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband\r\n";

RunResult RunPlot(const std::vector<std::string>& args, const std::string& input) {
  return rdstest::RunTool(&fmrplot::Run, args, input);
}

TEST(ScanLogTest, PeaksAreLocalMaximaFromTheThreshold) {
  struct Case {
    std::vector<int> levels;
    int threshold;
    std::vector<size_t> peaks;
  };
  const Case cases[] = {
      {{8, 9, 45, 9, 8, 7, 30, 8}, 31, {2}}, {{8, 9, 45, 9, 8, 7, 30, 8}, 30, {2, 6}},
      {{40, 8, 8, 8, 35}, 14, {0, 4}},  // the ends of the scan
      {{8, 30, 30, 30, 8}, 14, {2}},    // a plateau: its middle
      {{8, 30, 30, 40, 8}, 14, {3}},    // a shoulder is no peak
  };
  auto scan = [](const std::vector<int>& levels) {
    std::vector<ScanPoint> points;
    for (const int level : levels) points.push_back({0, level, 0, fmrplot::Sideband::kHigh, 0});
    return points;
  };
  for (const Case& c : cases) EXPECT_EQ(fmrplot::FindPeaks(scan(c.levels), c.threshold), c.peaks);
  // The noise floor is the median level (the upper one of an even count).
  const std::pair<std::vector<int>, int> floors[] = {
      {{9, 1, 5}, 5}, {{4, 1, 3, 2}, 3}, {{7}, 7}, {{}, 0}};
  for (const auto& [levels, floor] : floors) EXPECT_EQ(fmrplot::NoiseFloor(scan(levels)), floor);
}

// Steps of 1, 2 or 5 times a power of ten, switching at 1.5, 3 and 7 times
// one; a snapped axis ends on ticks.
TEST(ScanLogTest, AxesTakeRoundStepsAndLabelsKeepTheirDigits) {
  const struct {
    double low, high;
    int target;
    bool snap;
    const char* ticks;
  } cases[] = {
      {-3, 45, 7, true, "-5 0 5 10 15 20 25 30 35 40 45"},
      {0, 100, 5, true, "0 20 40 60 80 100"},
      {12, 21, 4, true, "12 14 16 18 20 22"},
      {12, 21, 3, true, "10 15 20 25"},
      {0, 15, 10, true, "0 2 4 6 8 10 12 14 16"},
      {0, 70, 10, true, "0 10 20 30 40 50 60 70"},
      {87.45, 88.35, 8, false, "87.5 87.6 87.7 87.8 87.9 88.0 88.1 88.2 88.3"},
      {0.02, 0.05, 3, true, "0.02 0.03 0.04 0.05"},
      {7, 7, 4, true, "6.4 6.6 6.8 7.0 7.2 7.4 7.6"},
      {50, 10, 4, true, "10 20 30 40 50"},
  };
  for (const auto& c : cases) {
    const fmrplot::AxisScale a = fmrplot::MakeAxis(c.low, c.high, c.target, c.snap);
    std::string ticks;
    for (const double t : a.ticks)
      ticks += (ticks.empty() ? "" : " ") + fmrplot::TickLabel(t, a.decimals);
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_NEAR(a.step, a.ticks[1] - a.ticks[0], 1e-9);
    EXPECT_NEAR(a.low, c.snap ? a.ticks.front() : c.low, 1e-9) << c.ticks;
    EXPECT_NEAR(a.high, c.snap ? a.ticks.back() : c.high, 1e-9) << c.ticks;
  }
  EXPECT_EQ(fmrplot::MhzLabel(88100000) + " " + fmrplot::MhzLabel(100000000) + " " +
                fmrplot::MhzLabel(87650000) + " " + fmrplot::MhzLabel(107999999),
            "88.1 100 87.65 107.999999");
}

// What the SVG shows, read back: axis labels with their positions, markers
// with their tooltips and sideband, both lines and the peak labels.
struct Drawn {
  struct Text {
    double x, y;
    std::string text;
  };
  std::vector<Text> x_labels, rssi_labels, cp_labels, peaks, markers;  // marker text: tooltip
  std::vector<std::string> marker_class;
  std::vector<std::pair<double, double>> rssi_line, cp_line;
  std::string grid, axis;
};

std::string Group(const std::string& svg, const std::string& open) {
  const size_t begin = svg.find(open);
  if (begin == std::string::npos) return "";
  return svg.substr(begin, svg.find("</g>", begin) - begin);
}

std::vector<Drawn::Text> Texts(const std::string& part, const std::regex& re) {
  std::vector<Drawn::Text> out;
  for (std::sregex_iterator it(part.begin(), part.end(), re), end; it != end; ++it)
    out.push_back({std::stod((*it)[1]), std::stod((*it)[2]), (*it)[3]});
  return out;
}

Drawn Read(const std::string& svg) {
  const std::regex text("<text x=\"([-0-9.]+)\" y=\"([-0-9.]+)\">([^<]*)</text>");
  const std::regex circle("<circle cx=\"([-0-9.]+)\" cy=\"([-0-9.]+)\" r=\"2.5\"><title>([^<]*)<");
  Drawn d;
  d.x_labels = Texts(Group(svg, "<g text-anchor=\"middle\">"), text);
  d.rssi_labels = Texts(Group(svg, "<g text-anchor=\"end\">"), text);
  d.cp_labels = Texts(Group(svg, "<g class=\"cpt\">"), text);
  d.peaks = Texts(Group(svg, "<g class=\"peak\">"), text);
  for (const char* side : {"high", "low"}) {
    for (const auto& m : Texts(Group(svg, std::string("<g class=\"") + side + "\">"), circle)) {
      d.markers.push_back(m);
      d.marker_class.push_back(side);
    }
  }
  for (auto [name, line] : {std::pair{"rssi", &d.rssi_line}, std::pair{"cp", &d.cp_line}}) {
    const std::string open = std::string("<polyline class=\"") + name + "\" points=\"";
    std::istringstream points(svg.substr(svg.find(open) + open.size()));
    for (double x, y; points >> x && points.get() == ',' && points >> y;) line->push_back({x, y});
  }
  std::smatch m;
  if (std::regex_search(svg, m, std::regex("class=\"grid\" d=\"([^\"]*)\""))) d.grid = m[1];
  if (std::regex_search(svg, m, std::regex("class=\"axis\" d=\"([^\"]*)\""))) d.axis = m[1];
  return d;
}

// The straight line through the first and the last label: value -> pixel.
// The labels in between must lie on it, evenly spaced; `y` reads the labels'
// vertical positions (drawn 4 px below their tick).
std::function<double(double)> Scale(const std::vector<Drawn::Text>& labels, bool y) {
  EXPECT_GE(labels.size(), 3u);
  if (labels.size() < 2) return [](double) { return 0.0; };
  auto pos = [y](const Drawn::Text& t) { return y ? t.y - 4 : t.x; };
  const double v0 = std::stod(labels.front().text), v1 = std::stod(labels.back().text);
  const double p0 = pos(labels.front()), p1 = pos(labels.back());
  const auto map = [=](double v) { return p0 + (v - v0) / (v1 - v0) * (p1 - p0); };
  for (size_t i = 0; i < labels.size(); ++i) {
    EXPECT_NEAR(std::stod(labels[i].text),
                v0 + (v1 - v0) * static_cast<double>(i) / static_cast<double>(labels.size() - 1),
                1e-9);
    EXPECT_NEAR(pos(labels[i]), map(std::stod(labels[i].text)), 0.06) << labels[i].text;
  }
  return map;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Every marker, line point, tick and peak label where the axes' own labels
// put it: RSSI on the left axis, CP on the right, for two picture sizes, the
// default title and threshold and given ones.
TEST(ScanPlotTest, EverythingIsDrawnWhereTheAxisLabelsSayAndPeaksAreLabelled) {
  const struct Point {
    uint32_t hz;
    int rssi;
    uint32_t cp;
    const char* side;
  } points[] = {
      {87500000, 8, 900, "Low"},  {87600000, 45, 1000, "High"}, {87700000, 9, 1100, "High"},
      {87800000, 7, 1200, "Low"}, {87900000, 12, 1300, "High"}, {88000000, 30, 1500, "High"},
      {88100000, 9, 2300, "Low"}, {88200000, 7, 1700, "High"},  {88300000, 40, 1650, "High"}};
  // Backwards in the file, after two malformed lines (2 and 3); CP spans a
  // range far from RSSI's.
  std::string log = kHeader + "88500000\t  \tloud\t\t\t1\t\t\tHigh\r\n88600000\t  \t7\t\t\t1\r\n";
  for (size_t i = std::size(points); i-- > 0;) {
    const Point& p = points[i];
    log += std::to_string(p.hz) + "\t  \t" + std::to_string(p.rssi) + "\t\t\t" +
           std::to_string(p.cp) + "\t\t\t" + p.side + (i > 0 ? "\r\n" : "");
  }
  const struct {
    int width, height;
    std::vector<std::string> options;
    const char* title;
    const char* threshold;
    std::vector<std::pair<const char*, int>> peaks;  // strongest first
  } cases[] = {
      {960,
       480,
       {},
       ">RSSI scan 87.5 - 88.3 MHz (9 points)<",
       "15",  // median 9 + 6 dB
       {{"87.6", 45}, {"88.3", 40}, {"88", 30}}},
      {700,
       300,
       {"--title", "Bench 3 & <A>", "--threshold", "40"},
       ">Bench 3 &amp; &lt;A&gt;<",
       "40",
       {{"87.6", 45}, {"88.3", 40}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    std::vector<std::string> args = {"--width", std::to_string(c.width), "--height",
                                     std::to_string(c.height)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult run = RunPlot(args, log);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_EQ(run.err.find("fmr-plot: <stdin>:2: "), 0u) << run.err;
    EXPECT_NE(run.out.find("width=\"" + args[1] + "\" height=\"" + args[3] + "\""),
              std::string::npos);
    EXPECT_NE(run.out.find(c.title), std::string::npos);
    EXPECT_NE(run.out.find(std::string(">labels: peaks from ") + c.threshold + " dBuV<"),
              std::string::npos);
    const Drawn d = Read(run.out);
    const double x0 = 64, x1 = c.width - 64, y0 = 40, y1 = c.height - 76;
    const auto x = Scale(d.x_labels, false);
    const auto y_rssi = Scale(d.rssi_labels, true);
    const auto y_cp = Scale(d.cp_labels, true);
    // Frequency ticks fill the plot: the first within a step of the left
    // edge, the last within a step of the right one. The level axes end on
    // ticks at the plot's bottom and top.
    const double step = d.x_labels[1].x - d.x_labels[0].x;
    EXPECT_TRUE(d.x_labels.front().x >= x0 && d.x_labels.front().x - step < x0);
    EXPECT_TRUE(d.x_labels.back().x <= x1 && d.x_labels.back().x + step > x1);
    for (const auto* labels : {&d.rssi_labels, &d.cp_labels}) {
      EXPECT_NEAR(labels->front().y - 4, y1, 0.06);
      EXPECT_NEAR(labels->back().y - 4, y0, 0.06);
    }
    EXPECT_EQ(Count(d.grid, "V"), d.x_labels.size());
    EXPECT_EQ(Count(d.grid, "H"), d.rssi_labels.size());
    EXPECT_EQ(Count(d.axis, "v5"), d.x_labels.size());
    EXPECT_EQ(Count(d.axis, "h-5"), d.rssi_labels.size());
    EXPECT_EQ(Count(d.axis, "h5"), d.cp_labels.size());

    ASSERT_EQ(d.markers.size(), std::size(points));
    ASSERT_EQ(d.rssi_line.size(), std::size(points));
    ASSERT_EQ(d.cp_line.size(), std::size(points));
    for (size_t i = 0; i < std::size(points); ++i) {
      const Point& p = points[i];
      const std::string tip = fmrplot::MhzLabel(p.hz) + " MHz: " + std::to_string(p.rssi) +
                              " dBuV, CP " + std::to_string(p.cp) + ", " + p.side;
      SCOPED_TRACE(tip);
      const auto m = std::find_if(d.markers.begin(), d.markers.end(),
                                  [&](const Drawn::Text& t) { return t.text == tip; });
      ASSERT_NE(m, d.markers.end());
      EXPECT_EQ(d.marker_class[m - d.markers.begin()], *p.side == 'H' ? "high" : "low");
      const double fx = x(p.hz / 1e6);
      EXPECT_NEAR(m->x, fx, 0.06);
      EXPECT_NEAR(m->y, y_rssi(p.rssi), 0.06);
      EXPECT_GE(m->y - y0, 18) << "room for a label above the highest marker";
      EXPECT_NEAR(d.rssi_line[i].first, fx, 0.06);
      EXPECT_NEAR(d.rssi_line[i].second, y_rssi(p.rssi), 0.06);
      EXPECT_NEAR(d.cp_line[i].first, fx, 0.06);
      EXPECT_NEAR(d.cp_line[i].second, y_cp(p.cp), 0.06);
    }
    ASSERT_EQ(d.peaks.size(), c.peaks.size());
    for (size_t i = 0; i < c.peaks.size(); ++i) {
      EXPECT_EQ(d.peaks[i].text, c.peaks[i].first);
      EXPECT_NEAR(d.peaks[i].x, x(std::stod(c.peaks[i].first)), 0.06);
      EXPECT_NEAR(d.peaks[i].y, y_rssi(c.peaks[i].second) - 7, 0.06);
    }
  }
}

TEST(ScanPlotTest, LogsThatCannotBePlottedExitWithStatus2) {
  const std::pair<std::string, std::string> cases[] = {
      {"\r\n\r\n", "the log is empty"},
      {kHeader, "the log has a header but no scan lines"},
      {std::string("\x7f"
                   "ELF\x01\x02\n\0\0garbage",
                   16),
       "is not the RSSI scan log header"},
      {kHeader + "abc\r\n", "the log has no valid scan line"},
  };
  for (const auto& [content, message] : cases) {
    const RunResult r = RunPlot({}, content);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  // Options and their limits.
  const std::string log = kHeader + "87500000\t8\t9\tHigh\r\n";
  const std::pair<std::vector<std::string>, int> options[] = {
      {{"--width", "659"}, 2},
      {{"--width", "660"}, 0},
      {{"--width", "10000"}, 0},
      {{"--width", "10001"}, 2},
      {{"--height", "199"}, 2},
      {{"--height", "200"}, 0},
      {{"--height", "10001"}, 2},
      {{"--threshold", "x"}, 2},
      {{"--threshold", "-32769"}, 2},
      {{"--threshold", "-32768"}, 0},
      {{"--title"}, 2},
      {{"-o"}, 2},
      {{"--bogus"}, 2},
      {{"a.log", "b.log"}, 2},
      {{"-"}, 0},
  };
  for (const auto& [args, status] : options)
    EXPECT_EQ(RunPlot(args, log).status, status) << args[0];
}

}  // namespace
