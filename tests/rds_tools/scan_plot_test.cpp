// fmr-plot: finding peaks, reading the RSSI scan log into the SVG (texts
// escaped), and the logs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "fmr-plot/cli.h"
#include "fmr-plot/peak_finder.h"
#include "tool_run.h"

namespace {

using fmrplot::ScanPoint;
using rdstest::RunResult;

const std::string kHeader = "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband\r\n";

// 87.5 to 88.4 MHz as the panel writes it (CRLF), noise at 8 dBuV with
// stations at 87.7 and 88.1 MHz, the last line without its end, after two
// malformed lines (2 and 3).
std::string SmallLog() {
  const int levels[] = {8, 9, 45, 9, 8, 7, 30, 8, 8, -3};
  std::string log = kHeader + "88500000\t  \tloud\t\t\t1\t\t\tHigh\r\n88600000\t  \t7\t\t\t1\r\n";
  for (int i = 0; i < 10; ++i) {
    log += std::to_string(87500000 + 100000 * i) + "\t  \t" + std::to_string(levels[i]) + "\t\t\t" +
           std::to_string(12 + i) + "\t\t\t" + (i % 3 == 0 ? "Low" : "High") +
           (i < 9 ? "\r\n" : "");
  }
  return log;
}

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
      {{8, 9, 45, 9, 8, 7, 30, 8}, 31, {2}},
      {{40, 8, 8, 8, 35}, 14, {0, 4}},  // the ends of the scan
      {{8, 30, 30, 30, 8}, 14, {2}},    // a plateau: its middle
      {{8, 30, 30, 40, 8}, 14, {3}},    // a shoulder is no peak
  };
  for (const Case& c : cases) {
    std::vector<ScanPoint> points;
    for (const int level : c.levels) points.push_back({0, level, 0, fmrplot::Sideband::kHigh, 0});
    EXPECT_EQ(fmrplot::FindPeaks(points, c.threshold), c.peaks);
  }
}

TEST(ScanPlotTest, TheSvgShowsEveryValidPointAndEscapesTheTitle) {
  const RunResult run = RunPlot({"--title", "Bench 3 & antenna <A>"}, SmallLog());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
  EXPECT_EQ(run.err.find("fmr-plot: <stdin>:2: "), 0u) << run.err;
  EXPECT_NE(run.out.find(">Bench 3 &amp; antenna &lt;A&gt;<"), std::string::npos);
  EXPECT_FALSE(std::regex_search(run.out, std::regex("&(?!(amp|lt|gt|quot|apos);)|<A>|<script")));
  const std::regex tooltip("<title>[^<]* MHz: ");
  EXPECT_EQ(std::distance(std::sregex_iterator(run.out.begin(), run.out.end(), tooltip),
                          std::sregex_iterator()),
            10);
  // Both stations labelled over the noise (median 8 + 6 dB).
  EXPECT_NE(run.out.find(">87.7<"), std::string::npos);
  EXPECT_NE(run.out.find(">88.1<"), std::string::npos);
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
  EXPECT_EQ(RunPlot({"--width", "12"}, SmallLog()).status, 2);
}

}  // namespace
