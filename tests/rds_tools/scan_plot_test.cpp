// fmr-plot: finding peaks, axes, the whole picture of one scan log, and the
// logs and options it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/cli.h"
#include "fmr-plot/peak_finder.h"
#include "fmr-plot/svg_plot.h"
#include "tool_run.h"

namespace {

using rdstest::RunResult;

const std::string kHeader = "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband\r\n";

RunResult RunPlot(const std::vector<std::string>& args, const std::string& input) {
  return rdstest::RunTool(&fmrplot::Run, args, input);
}

TEST(ScanLogTest, PeaksAreLocalMaximaFromTheThreshold) {
  const std::tuple<std::vector<int>, int, std::vector<size_t>> cases[] = {
      {{8, 9, 45, 9, 8, 7, 30, 8}, 31, {2}}, {{8, 9, 45, 9, 8, 7, 30, 8}, 30, {2, 6}},
      {{40, 8, 8, 8, 35}, 14, {0, 4}},  // the ends of the scan
      {{8, 30, 30, 30, 8}, 14, {2}},    // a plateau: its middle
      {{8, 30, 30, 40, 8}, 14, {3}},    // a shoulder is no peak
  };
  auto scan = [](const std::vector<int>& levels) {
    std::vector<fmrplot::ScanPoint> points;
    for (const int level : levels) points.push_back({0, level, 0, fmrplot::Sideband::kHigh, 0});
    return points;
  };
  for (const auto& [levels, threshold, peaks] : cases)
    EXPECT_EQ(fmrplot::FindPeaks(scan(levels), threshold), peaks);
  // The noise floor is the median level (the upper one of an even count).
  const std::pair<std::vector<int>, int> floors[] = {
      {{9, 1, 5}, 5}, {{4, 1, 3, 2}, 3}, {{7}, 7}, {{}, 0}};
  for (const auto& [levels, floor] : floors) EXPECT_EQ(fmrplot::NoiseFloor(scan(levels)), floor);
}

// Steps of 1, 2 or 5 times a power of ten, switching at 1.5, 3 and 7 times
// one; a snapped axis ends on ticks.
TEST(ScanLogTest, AxesTakeRoundStepsAndLabelsKeepTheirDigits) {
  const std::tuple<double, double, int, bool, std::string> cases[] = {
      // clang-format off
      {-3, 45, 7, true, "-5 0 5 10 15 20 25 30 35 40 45"}, {0, 100, 5, true, "0 20 40 60 80 100"},
      {12, 21, 4, true, "12 14 16 18 20 22"}, {12, 21, 3, true, "10 15 20 25"},
      {0, 15, 10, true, "0 2 4 6 8 10 12 14 16"}, {0, 70, 10, true, "0 10 20 30 40 50 60 70"},
      {87.45, 88.35, 8, false, "87.5 87.6 87.7 87.8 87.9 88.0 88.1 88.2 88.3"},
      {0.02, 0.05, 3, true, "0.02 0.03 0.04 0.05"}, {7, 7, 4, true, "6.4 6.6 6.8 7.0 7.2 7.4 7.6"},
      {50, 10, 4, true, "10 20 30 40 50"},
      // clang-format on
  };
  for (const auto& [low, high, target, snap, labels] : cases) {
    const fmrplot::AxisScale a = fmrplot::MakeAxis(low, high, target, snap);
    std::string ticks;
    for (const double t : a.ticks)
      ticks += (ticks.empty() ? "" : " ") + fmrplot::TickLabel(t, a.decimals);
    EXPECT_EQ(ticks, labels);
    EXPECT_NEAR(a.step, a.ticks[1] - a.ticks[0], 1e-9);
    EXPECT_NEAR(a.low, snap ? a.ticks.front() : low, 1e-9) << labels;
    EXPECT_NEAR(a.high, snap ? a.ticks.back() : high, 1e-9) << labels;
  }
  // Ranges no reader lets through still give a positive span and distinct,
  // finite, increasing ticks: empty or too narrow for their magnitude, huge,
  // reversed, non-finite, no tick wanted.
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::tuple<double, double, int> hostile[] = {
      {1e12, 1e12, 4},      {1e12, 1e12 + 1e-4, 6}, {-1e12, 1e12, 6}, {nan, 5, 6},
      {-inf, inf, 6},       {0, 1e300, 6},          {-5e-324, 0, 6},  {3, 3, 0},
      {95.4e6, 95.4e6, -1}, {nan, nan, 6},
  };
  for (const auto& [low, high, target] : hostile) {
    const fmrplot::AxisScale a = fmrplot::MakeAxis(low, high, target, true);
    EXPECT_TRUE(std::isfinite(a.low) && std::isfinite(a.high) && a.high > a.low) << low;
    ASSERT_FALSE(a.ticks.empty()) << low;
    EXPECT_LE(a.ticks.size(), 202u) << low;
    for (size_t i = 1; i < a.ticks.size(); ++i) EXPECT_GT(a.ticks[i], a.ticks[i - 1]) << low;
  }
  std::string wide;
  const fmrplot::AxisScale at_limit = fmrplot::MakeAxis(1e12, 1e12, 4, true);
  for (const double t : at_limit.ticks) wide += fmrplot::TickLabel(t, at_limit.decimals) + " ";
  EXPECT_EQ(wide, "999999999000 999999999500 1000000000000 1000000000500 1000000001000 ");
  EXPECT_EQ(fmrplot::MhzLabel(88100000) + " " + fmrplot::MhzLabel(100000000) + " " +
                fmrplot::MhzLabel(87650000) + " " + fmrplot::MhzLabel(107999999),
            "88.1 100 87.65 107.999999");
}

// The whole picture (data/*.svg) for two sizes, with the default title and threshold and
// with given ones: the points come backwards after two malformed lines, CP
// spans a range far from RSSI's, both sidebands, a label left out where it
// would overlap.
TEST(ScanPlotTest, WholePictureOfAScanLog) {
  const std::string log =
      kHeader +
      "88500000\t  \tloud\t\t\t1\t\t\tHigh\r\n88600000\t  \t7\t\t\t1\r\n"
      "88300000\t  \t40\t\t\t1650\t\t\tHigh\r\n88200000\t  \t7\t\t\t1700\t\t\tHigh\r\n"
      "88100000\t  \t9\t\t\t2300\t\t\tLow\r\n88000000\t  \t30\t\t\t1500\t\t\tHigh\r\n"
      "87900000\t  \t12\t\t\t1300\t\t\tHigh\r\n87800000\t  \t7\t\t\t1200\t\t\tLow\r\n"
      "87700000\t  \t9\t\t\t1100\t\t\tHigh\r\n87600000\t  \t45\t\t\t1000\t\t\tHigh\r\n"
      "87500000\t  \t8\t\t\t900\t\t\tLow";
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{}, "scan.svg"},
      {{"--width", "700", "--height", "300", "--title", "Bench 3 & <A>", "--threshold", "40"},
       "scan-700x300.svg"},
  };
  for (const auto& [args, svg] : cases) {
    const RunResult run = RunPlot(args, log);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "fmr-plot: <stdin>:2: RSSI is not a signed 16-bit number: loud; line skipped\n"
              "fmr-plot: <stdin>:3: expected 4 tab-separated fields, found 3; line skipped\n");
    rdstest::ExpectData(svg, run.out);
  }
}

// benchora's measurement CSV: the sample rows of each name against time;
// check rows, values that are no numbers and broken rows stay out.
TEST(ScanPlotTest, WholePictureOfSampledValues) {
  const std::string csv =
      "time_ms,name,value,unit,low,high,verdict,origin\r\n"
      "900,LERSSI,30,dBuV,25,40,PASS,check.txt:4\r\n"
      "1000,LERSSI,30,dBuV,,,,check.txt:5\r\n1000,\"Le,Freq\",95.4,MHz,,,,check.txt:5\r\n"
      "2000,LERSSI,33,dBuV,,,,check.txt:5\r\n2000,\"Le,Freq\",95.5,MHz,,,,check.txt:5\r\n"
      "3000,LERSSI,weak,dBuV,,,,check.txt:5\r\nlate,LERSSI,31,dBuV,,,,x\r\n"
      "4000,LERSSI,27,dBuV,,,,check.txt:5\r\n";
  const RunResult run = RunPlot({}, csv);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "fmr-plot: <stdin>:7: not a row with a time and a numeric value; line skipped\n"
            "fmr-plot: <stdin>:8: not a row with a time and a numeric value; line skipped\n");
  rdstest::ExpectData("samples.svg", run.out);
  const RunResult checks_only = RunPlot({},
                                        "time_ms,name,value,unit,low,high,verdict,origin\n"
                                        "900,LERSSI,30,dBuV,25,40,PASS,check.txt:4\n");
  EXPECT_EQ(checks_only.status, 2);
  EXPECT_EQ(checks_only.err,
            "fmr-plot: <stdin>: no sample rows with a numeric value; nothing plotted\n");
}

TEST(ScanPlotTest, LogsThatCannotBePlottedExitWithStatus2) {
  const std::pair<std::string, std::string> cases[] = {
      {"\r\n\r\n", "the log is empty"},
      {kHeader, "the log has a header but no scan lines"},
      {std::string("\177ELF\x01\x02\n\0\0garbage", 16), "is not the RSSI scan log header"},
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
      // clang-format off
      {{"--width", "659"}, 2}, {{"--width", "660"}, 0}, {{"--width", "10000"}, 0},
      {{"--width", "10001"}, 2}, {{"--height", "199"}, 2}, {{"--height", "200"}, 0},
      {{"--height", "10001"}, 2}, {{"--threshold", "x"}, 2}, {{"--threshold", "-32769"}, 2},
      {{"--threshold", "-32768"}, 0}, {{"--title"}, 2}, {{"-o"}, 2}, {{"--bogus"}, 2},
      {{"a.log", "b.log"}, 2}, {{"-"}, 0},
      // clang-format on
  };
  for (const auto& [args, status] : options)
    EXPECT_EQ(RunPlot(args, log).status, status) << args[0];
}

}  // namespace
