// fmr-plot: finding peaks, axes, the whole picture of one scan log, and the
// logs and options it refuses.
#include <gtest/gtest.h>

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
  EXPECT_EQ(fmrplot::MhzLabel(88100000) + " " + fmrplot::MhzLabel(100000000) + " " +
                fmrplot::MhzLabel(87650000) + " " + fmrplot::MhzLabel(107999999),
            "88.1 100 87.65 107.999999");
}

// The whole picture for two sizes, with the default title and threshold and
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
      {{}, R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="960" height="480" viewBox="0 0 960 480" font-family="DejaVu Sans,Arial,sans-serif" font-size="11">
<style>.grid{stroke:#e4e4e4;fill:none}.axis{stroke:#444;fill:none}.rssi{stroke:#777;fill:none}.cp{stroke:#2e8b57;stroke-width:1.5;stroke-dasharray:5 3;fill:none}.cpt{fill:#2e8b57}.high{fill:#1f5fbf}.low{fill:#e07000}.peak{font-weight:bold;text-anchor:middle}</style>
<rect width="960" height="480" fill="#fff"/>
<text x="64" y="24" font-size="15">RSSI scan 87.5 - 88.3 MHz (9 points)</text>
<path class="grid" d="M110.2 40V404M202.7 40V404M295.1 40V404M387.6 40V404M480 40V404M572.4 40V404M664.9 40V404M757.3 40V404M849.8 40V404M64 404H896M64 363.6H896M64 323.1H896M64 282.7H896M64 242.2H896M64 201.8H896M64 161.3H896M64 120.9H896M64 80.4H896M64 40H896"/>
<path class="axis" d="M64 40H896V404H64ZM110.2 404v5M202.7 404v5M295.1 404v5M387.6 404v5M480 404v5M572.4 404v5M664.9 404v5M757.3 404v5M849.8 404v5M64 404h-5M64 363.6h-5M64 323.1h-5M64 282.7h-5M64 242.2h-5M64 201.8h-5M64 161.3h-5M64 120.9h-5M64 80.4h-5M64 40h-5M896 404h5M896 358.5h5M896 313h5M896 267.5h5M896 222h5M896 176.5h5M896 131h5M896 85.5h5M896 40h5"/>
<g text-anchor="middle"><text x="110.2" y="422">87.5</text><text x="202.7" y="422">87.6</text><text x="295.1" y="422">87.7</text><text x="387.6" y="422">87.8</text><text x="480" y="422">87.9</text><text x="572.4" y="422">88.0</text><text x="664.9" y="422">88.1</text><text x="757.3" y="422">88.2</text><text x="849.8" y="422">88.3</text></g>
<g text-anchor="end"><text x="56" y="408">5</text><text x="56" y="367.6">10</text><text x="56" y="327.1">15</text><text x="56" y="286.7">20</text><text x="56" y="246.2">25</text><text x="56" y="205.8">30</text><text x="56" y="165.3">35</text><text x="56" y="124.9">40</text><text x="56" y="84.4">45</text><text x="56" y="44">50</text></g>
<g class="cpt"><text x="904" y="408">800</text><text x="904" y="362.5">1000</text><text x="904" y="317">1200</text><text x="904" y="271.5">1400</text><text x="904" y="226">1600</text><text x="904" y="180.5">1800</text><text x="904" y="135">2000</text><text x="904" y="89.5">2200</text><text x="904" y="44">2400</text></g>
<text x="480" y="440" text-anchor="middle">Frequency (MHz)</text>
<text x="18" y="222" text-anchor="middle" transform="rotate(-90 18 222)">RSSI (dBuV)</text>
<text x="946" y="222" class="cpt" text-anchor="middle" transform="rotate(90 946 222)">CP value</text>
<polyline class="cp" points="110.2,381.2 202.7,358.5 295.1,335.8 387.6,313 480,290.2 572.4,244.8 664.9,62.8 757.3,199.2 849.8,210.6"/>
<polyline class="rssi" points="110.2,379.7 202.7,80.4 295.1,371.6 387.6,387.8 480,347.4 572.4,201.8 664.9,371.6 757.3,387.8 849.8,120.9"/>
<g class="high"><circle cx="202.7" cy="80.4" r="2.5"><title>87.6 MHz: 45 dBuV, CP 1000, High</title></circle><circle cx="295.1" cy="371.6" r="2.5"><title>87.7 MHz: 9 dBuV, CP 1100, High</title></circle><circle cx="480" cy="347.4" r="2.5"><title>87.9 MHz: 12 dBuV, CP 1300, High</title></circle><circle cx="572.4" cy="201.8" r="2.5"><title>88 MHz: 30 dBuV, CP 1500, High</title></circle><circle cx="757.3" cy="387.8" r="2.5"><title>88.2 MHz: 7 dBuV, CP 1700, High</title></circle><circle cx="849.8" cy="120.9" r="2.5"><title>88.3 MHz: 40 dBuV, CP 1650, High</title></circle></g>
<g class="low"><circle cx="110.2" cy="379.7" r="2.5"><title>87.5 MHz: 8 dBuV, CP 900, Low</title></circle><circle cx="387.6" cy="387.8" r="2.5"><title>87.8 MHz: 7 dBuV, CP 1200, Low</title></circle><circle cx="664.9" cy="371.6" r="2.5"><title>88.1 MHz: 9 dBuV, CP 2300, Low</title></circle></g>
<g class="peak"><text x="202.7" y="73.4">87.6</text><text x="849.8" y="113.9">88.3</text><text x="572.4" y="194.8">88</text></g>
<g><circle class="high" cx="68" cy="458" r="4"/><text x="76" y="462">High injection</text><circle class="low" cx="180" cy="458" r="4"/><text x="188" y="462">Low injection</text><path class="rssi" d="M280 458h22"/><text x="308" y="462">RSSI</text><path class="cp" d="M344 458h22"/><text x="372" y="462">CP (right axis)</text><text x="478" y="462">labels: peaks from 15 dBuV</text></g>
</svg>
)svg"},
      {{"--width", "700", "--height", "300", "--title", "Bench 3 & <A>", "--threshold", "40"},
       R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="700" height="300" viewBox="0 0 700 300" font-family="DejaVu Sans,Arial,sans-serif" font-size="11">
<style>.grid{stroke:#e4e4e4;fill:none}.axis{stroke:#444;fill:none}.rssi{stroke:#777;fill:none}.cp{stroke:#2e8b57;stroke-width:1.5;stroke-dasharray:5 3;fill:none}.cpt{fill:#2e8b57}.high{fill:#1f5fbf}.low{fill:#e07000}.peak{font-weight:bold;text-anchor:middle}</style>
<rect width="700" height="300" fill="#fff"/>
<text x="64" y="24" font-size="15">Bench 3 &amp; &lt;A&gt;</text>
<path class="grid" d="M95.8 40V224M159.3 40V224M222.9 40V224M286.4 40V224M350 40V224M413.6 40V224M477.1 40V224M540.7 40V224M604.2 40V224M64 224H636M64 187.2H636M64 150.4H636M64 113.6H636M64 76.8H636M64 40H636"/>
<path class="axis" d="M64 40H636V224H64ZM95.8 224v5M159.3 224v5M222.9 224v5M286.4 224v5M350 224v5M413.6 224v5M477.1 224v5M540.7 224v5M604.2 224v5M64 224h-5M64 187.2h-5M64 150.4h-5M64 113.6h-5M64 76.8h-5M64 40h-5M636 224h5M636 178h5M636 132h5M636 86h5M636 40h5"/>
<g text-anchor="middle"><text x="95.8" y="242">87.5</text><text x="159.3" y="242">87.6</text><text x="222.9" y="242">87.7</text><text x="286.4" y="242">87.8</text><text x="350" y="242">87.9</text><text x="413.6" y="242">88.0</text><text x="477.1" y="242">88.1</text><text x="540.7" y="242">88.2</text><text x="604.2" y="242">88.3</text></g>
<g text-anchor="end"><text x="56" y="228">0</text><text x="56" y="191.2">10</text><text x="56" y="154.4">20</text><text x="56" y="117.6">30</text><text x="56" y="80.8">40</text><text x="56" y="44">50</text></g>
<g class="cpt"><text x="644" y="228">500</text><text x="644" y="182">1000</text><text x="644" y="136">1500</text><text x="644" y="90">2000</text><text x="644" y="44">2500</text></g>
<text x="350" y="260" text-anchor="middle">Frequency (MHz)</text>
<text x="18" y="132" text-anchor="middle" transform="rotate(-90 18 132)">RSSI (dBuV)</text>
<text x="686" y="132" class="cpt" text-anchor="middle" transform="rotate(90 686 132)">CP value</text>
<polyline class="cp" points="95.8,187.2 159.3,178 222.9,168.8 286.4,159.6 350,150.4 413.6,132 477.1,58.4 540.7,113.6 604.2,118.2"/>
<polyline class="rssi" points="95.8,194.6 159.3,58.4 222.9,190.9 286.4,198.2 350,179.8 413.6,113.6 477.1,190.9 540.7,198.2 604.2,76.8"/>
<g class="high"><circle cx="159.3" cy="58.4" r="2.5"><title>87.6 MHz: 45 dBuV, CP 1000, High</title></circle><circle cx="222.9" cy="190.9" r="2.5"><title>87.7 MHz: 9 dBuV, CP 1100, High</title></circle><circle cx="350" cy="179.8" r="2.5"><title>87.9 MHz: 12 dBuV, CP 1300, High</title></circle><circle cx="413.6" cy="113.6" r="2.5"><title>88 MHz: 30 dBuV, CP 1500, High</title></circle><circle cx="540.7" cy="198.2" r="2.5"><title>88.2 MHz: 7 dBuV, CP 1700, High</title></circle><circle cx="604.2" cy="76.8" r="2.5"><title>88.3 MHz: 40 dBuV, CP 1650, High</title></circle></g>
<g class="low"><circle cx="95.8" cy="194.6" r="2.5"><title>87.5 MHz: 8 dBuV, CP 900, Low</title></circle><circle cx="286.4" cy="198.2" r="2.5"><title>87.8 MHz: 7 dBuV, CP 1200, Low</title></circle><circle cx="477.1" cy="190.9" r="2.5"><title>88.1 MHz: 9 dBuV, CP 2300, Low</title></circle></g>
<g class="peak"><text x="159.3" y="51.4">87.6</text><text x="604.2" y="69.8">88.3</text></g>
<g><circle class="high" cx="68" cy="278" r="4"/><text x="76" y="282">High injection</text><circle class="low" cx="180" cy="278" r="4"/><text x="188" y="282">Low injection</text><path class="rssi" d="M280 278h22"/><text x="308" y="282">RSSI</text><path class="cp" d="M344 278h22"/><text x="372" y="282">CP (right axis)</text><text x="478" y="282">labels: peaks from 40 dBuV</text></g>
</svg>
)svg"},
  };
  for (const auto& [args, svg] : cases) {
    const RunResult run = RunPlot(args, log);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "fmr-plot: <stdin>:2: RSSI is not a signed 16-bit number: loud; line skipped\n"
              "fmr-plot: <stdin>:3: expected 4 tab-separated fields, found 3; line skipped\n");
    EXPECT_EQ(run.out, svg);
  }
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
