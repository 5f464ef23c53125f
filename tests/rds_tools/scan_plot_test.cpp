// fmr-plot: reading the RSSI scan log, finding peaks, the SVG, and the
// logs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/cli.h"
#include "fmr-plot/peak_finder.h"
#include "fmr-plot/scan_log.h"
#include "fmr-plot/svg_plot.h"
#include "temp_file.h"
#include "xml_tree.h"

namespace rdstest {
namespace {

using fmrplot::ScanPoint;
using fmrplot::Sideband;

const std::string kHeader = "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband";

// A scan line exactly as the panel writes it (text mode: CRLF).
std::string ScanLine(uint32_t hz, int rssi, uint32_t cp, const char* sideband) {
  return std::to_string(hz) + "\t  \t" + std::to_string(rssi) + "\t\t\t" + std::to_string(cp) +
         "\t\t\t" + sideband + "\r\n";
}

// 87.5 to 88.4 MHz: noise at 8 dBuV with stations at 87.7 and 88.1 MHz.
std::string SmallLog() {
  std::string log = kHeader + "\r\n";
  const int levels[] = {8, 9, 45, 9, 8, 7, 30, 8, 8, -3};
  for (int i = 0; i < 10; ++i)
    log += ScanLine(87500000 + 100000u * i, levels[i], 12 + i, i % 3 == 0 ? "Low" : "High");
  return log;
}

fmrplot::ScanLog ReadLog(const std::string& text) {
  std::istringstream in(text);
  return fmrplot::ReadScanLog(in);
}

TEST(ScanLogTest, ReadsThePanelsLinesAndSkipsMalformedOnes) {
  const fmrplot::ScanLog log =
      ReadLog(SmallLog() + "88500000\t  \tloud\t\t\t1\t\t\tHigh\r\n" +
              "88600000\t  \t7\t\t\t1\r\n" + "88700000\t  \t7\t\t\t1\t\t\tMiddle\r\n" +
              "88800000\t  \t99999\t\t\t1\t\t\tHigh\r\n" + "88900000\t  \t-20\t\t\t0\t\t\tLow");
  ASSERT_TRUE(log.error.empty()) << log.error;
  ASSERT_EQ(log.points.size(), 11u);
  const ScanPoint& first = log.points[0];
  EXPECT_EQ(first.frequency_hz, 87500000u);
  EXPECT_EQ(first.rssi_dbuv, 8);
  EXPECT_EQ(first.cp, 12u);
  EXPECT_EQ(first.sideband, Sideband::kLow);
  EXPECT_EQ(first.line, 2u);
  EXPECT_EQ(log.points[9].rssi_dbuv, -3);
  EXPECT_EQ(log.points[10].frequency_hz, 88900000u);  // last line without a line end
  ASSERT_EQ(log.problems.size(), 4u);
  EXPECT_EQ(log.problems[0].line, 12u);
  EXPECT_EQ(log.problems[3].line, 15u);
}

TEST(ScanLogTest, PeaksAreLocalMaximaFromTheThreshold) {
  struct Case {
    std::vector<int> levels;
    int threshold;
    std::vector<size_t> peaks;
  };
  const Case cases[] = {
      {{8, 9, 45, 9, 8, 7, 30, 8}, 14, {2, 6}},
      {{8, 9, 45, 9, 8, 7, 30, 8}, 31, {2}},
      {{40, 8, 8, 8, 35}, 14, {0, 4}},  // the ends of the scan
      {{8, 30, 30, 30, 8}, 14, {2}},    // a plateau: its middle
      {{8, 30, 30, 40, 8}, 14, {3}},    // a shoulder is no peak
      {{20, 20, 20}, 14, {1}},          // flat and above: one peak
      {{8}, 5, {0}},
  };
  for (const Case& c : cases) {
    std::vector<ScanPoint> points;
    for (size_t i = 0; i < c.levels.size(); ++i)
      points.push_back(
          {static_cast<uint32_t>(87500000 + 100000 * i), c.levels[i], 0, Sideband::kHigh, 0});
    EXPECT_EQ(fmrplot::FindPeaks(points, c.threshold), c.peaks);
  }
}

TEST(ScanLogTest, AxesUseRoundSteps) {
  const fmrplot::AxisScale band = fmrplot::MakeAxis(87.3, 108.2, 10, false);
  EXPECT_DOUBLE_EQ(band.step, 2);
  EXPECT_DOUBLE_EQ(band.ticks.front(), 88);
  EXPECT_DOUBLE_EQ(band.ticks.back(), 108);
  const fmrplot::AxisScale level = fmrplot::MakeAxis(-3, 52, 6, true);
  EXPECT_DOUBLE_EQ(level.step, 10);
  EXPECT_DOUBLE_EQ(level.low, -10);
  EXPECT_DOUBLE_EQ(level.high, 60);
  const fmrplot::AxisScale flat = fmrplot::MakeAxis(12, 12, 6, true);
  EXPECT_LT(flat.low, 12);
  EXPECT_GT(flat.high, 12);
  EXPECT_EQ(fmrplot::TickLabel(fmrplot::MakeAxis(88.0, 88.4, 8, false).ticks[1],
                               fmrplot::MakeAxis(88.0, 88.4, 8, false).decimals),
            "88.05");
}

TEST(ScanPlotTest, TheSvgIsWellFormedAndShowsEveryPoint) {
  const TempFile log("fmr_plot_small.log", SmallLog());
  const std::string svg_path = ::testing::TempDir() + "fmr_plot_small.svg";
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(
      fmrplot::Run({log.path(), "-o", svg_path, "--title", "Bench 3 & antenna <A>"}, in, out, err),
      0)
      << err.str();
  std::ifstream file(svg_path, std::ios::binary);
  const std::string svg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::remove(svg_path.c_str());
  EXPECT_LT(svg.size(), 8000u);

  std::string error;
  const auto root = ParseXml(svg, error);
  ASSERT_TRUE(root) << error;
  EXPECT_EQ(root->name, "svg");
  EXPECT_EQ(root->Attribute("xmlns"), "http://www.w3.org/2000/svg");
  EXPECT_TRUE(root->FindAll("script").empty());
  EXPECT_TRUE(root->FindAll("image").empty());

  // One marker per point, in the group of its sideband, its values in the tooltip.
  std::map<std::string, std::vector<std::string>> tooltips;
  for (const XmlElement* g : root->FindAll("g")) {
    for (const XmlElement* circle : g->FindAll("circle")) {
      if (circle->children.empty()) continue;  // legend symbols have no tooltip
      tooltips[g->Attribute("class")].push_back(circle->children.front()->text);
    }
  }
  const fmrplot::ScanLog scan = ReadLog(SmallLog());
  ASSERT_EQ(tooltips["high"].size() + tooltips["low"].size(), scan.points.size());
  for (const ScanPoint& p : scan.points) {
    const std::string expected =
        fmrplot::MhzLabel(p.frequency_hz) + " MHz: " + std::to_string(p.rssi_dbuv) + " dBuV, CP " +
        std::to_string(p.cp) + ", " + (p.sideband == Sideband::kHigh ? "High" : "Low");
    const auto& group = tooltips[p.sideband == Sideband::kHigh ? "high" : "low"];
    EXPECT_NE(std::find(group.begin(), group.end(), expected), group.end()) << expected;
  }

  // Both stations labelled over the noise (median 8 + 6 dB), nothing else.
  std::vector<std::string> peak_labels;
  for (const XmlElement* g : root->FindAll("g")) {
    if (g->Attribute("class") != "peak") continue;
    for (const XmlElement* t : g->FindAll("text")) peak_labels.push_back(t->text);
  }
  EXPECT_EQ(peak_labels, (std::vector<std::string>{"87.7", "88.1"}));

  std::vector<std::string> texts;
  for (const XmlElement* t : root->FindAll("text")) texts.push_back(t->text);
  for (const char* expected : {"Bench 3 & antenna <A>", "RSSI (dBuV)", "CP value",
                               "Frequency (MHz)", "High injection", "Low injection"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
  }
  EXPECT_EQ(root->FindAll("polyline").size(), 2u);  // RSSI and CP
}

TEST(ScanPlotTest, LogsThatCannotBePlottedExitWithStatus2) {
  struct Case {
    const char* what;
    std::string content;
    std::string message;
  };
  const Case cases[] = {
      {"empty", "", "the log is empty"},
      {"blank lines only", "\r\n\r\n", "the log is empty"},
      {"header only", kHeader + "\r\n", "the log has a header but no scan lines"},
      {"garbled",
       std::string("\x7f"
                   "ELF\x01\x02\n\0\0garbage",
                   16),
       "is not the RSSI scan log header"},
      {"another log", "--- Mon May  6 12:00:00 2024 ---\n", "is not the RSSI scan log header"},
      {"no valid line", kHeader + "\r\nabc\r\n", "the log has no valid scan line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TempFile log("fmr_plot_bad.log", c.content);
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(fmrplot::Run({log.path()}, in, out, err), 2);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
  }
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(fmrplot::Run({::testing::TempDir() + "no_such_rssi.log"}, in, out, err), 2);
  EXPECT_EQ(fmrplot::Run({"--width", "12"}, in, out, err), 2);
  EXPECT_EQ(fmrplot::Run({"--threshold"}, in, out, err), 2);
}

}  // namespace
}  // namespace rdstest
