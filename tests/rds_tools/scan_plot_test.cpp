// fmr-plot: finding peaks, reading the RSSI scan log into the SVG, and the
// logs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

#include "fmr-plot/axis_scale.h"
#include "fmr-plot/cli.h"
#include "fmr-plot/peak_finder.h"
#include "fmr-plot/scan_log.h"
#include "fmr-plot/svg_plot.h"
#include "tool_run.h"

namespace {

using fmrplot::ScanPoint;
using fmrplot::Sideband;

const std::string kHeader = "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband\r\n";

// 87.5 to 88.4 MHz: noise at 8 dBuV with stations at 87.7 and 88.1 MHz; CP
// 12 up to 21, every third point on the low sideband.
const int kLevels[] = {8, 9, 45, 9, 8, 7, 30, 8, 8, -3};

// The scan written as the panel writes it (text mode: CRLF), the last line
// without its line end, after four malformed lines (2 to 5).
std::string SmallLog() {
  std::string log =
      kHeader + "88500000\t  \tloud\t\t\t1\t\t\tHigh\r\n88600000\t  \t7\t\t\t1\r\n" +
      "88700000\t  \t7\t\t\t1\t\t\tMiddle\r\n88800000\t  \t99999\t\t\t1\t\t\tHigh\r\n";
  for (int i = 0; i < 10; ++i) {
    log += std::to_string(87500000 + 100000 * i) + "\t  \t" + std::to_string(kLevels[i]) +
           "\t\t\t" + std::to_string(12 + i) + "\t\t\t" + (i % 3 == 0 ? "Low" : "High") +
           (i < 9 ? "\r\n" : "");
  }
  return log;
}

using rdstest::RunResult;

RunResult RunPlot(const std::vector<std::string>& args, const std::string& input = "") {
  return rdstest::RunTool(&fmrplot::Run, args, input);
}

// An element of an XML text: its name, its attributes as written, the
// character data in it (entities resolved) and the class of the innermost
// "g" around it.
struct Element {
  std::string name, attributes, text, group;
};

// The elements in document order; `error` is set when tags do not nest or
// the text holds an unknown entity.
std::vector<Element> ParseXml(const std::string& xml, std::string& error) {
  static const std::regex kToken(R"(<\?[^>]*\?>|<(/?)([\w:-]+)([^>]*?)(/?)>|([^<]+))");
  static const std::regex kEntity(R"(&(amp|lt|gt|quot|apos);|&)");
  static const std::regex kClass(R"#(class="([^"]*)")#");
  std::vector<Element> elements;
  std::vector<size_t> open;
  for (std::sregex_iterator it(xml.begin(), xml.end(), kToken), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m[5].matched) {
      std::string text;
      for (std::sregex_token_iterator part(m[5].first, m[5].second, kEntity, {-1, 1}), none;
           part != none; ++part) {
        text += *part;  // alternately the text between entities and an entity's name
        if (++part == none) break;
        if (!part->matched) error = "a bare & in \"" + m.str(5) + "\"";
        const std::string name = *part;
        text += name == "amp"    ? "&"
                : name == "lt"   ? "<"
                : name == "gt"   ? ">"
                : name == "quot" ? "\""
                                 : "'";
      }
      if (!open.empty()) elements[open.back()].text += text;
    } else if (m[1].length() != 0) {
      if (open.empty() || elements[open.back()].name != m.str(2))
        error = "</" + m.str(2) + "> out of place";
      if (!open.empty()) open.pop_back();
    } else if (m[2].matched) {
      Element e{m.str(2), m.str(3), "", open.empty() ? "" : elements[open.back()].group};
      std::smatch cls;
      if (e.name == "g") e.group = std::regex_search(e.attributes, cls, kClass) ? cls.str(1) : "";
      elements.push_back(e);
      if (m[4].length() == 0) open.push_back(elements.size() - 1);
    }
  }
  if (!open.empty()) error = "<" + elements[open.back()].name + "> not closed";
  return elements;
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
    for (const int level : c.levels) points.push_back({0, level, 0, Sideband::kHigh, 0});
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
  const fmrplot::AxisScale fine = fmrplot::MakeAxis(88.0, 88.4, 8, false);
  EXPECT_EQ(fmrplot::TickLabel(fine.ticks[1], fine.decimals), "88.05");
}

TEST(ScanPlotTest, TheSvgIsWellFormedAndShowsEveryValidPoint) {
  const RunResult run = RunPlot({"--title", "Bench 3 & antenna <A>"}, SmallLog());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 4) << run.err;
  EXPECT_EQ(run.err.find("fmr-plot: <stdin>:2: "), 0u) << run.err;
  EXPECT_NE(run.err.find("\nfmr-plot: <stdin>:5: "), std::string::npos) << run.err;
  EXPECT_LT(run.out.size(), 8000u);
  std::string error;
  const std::vector<Element> svg = ParseXml(run.out, error);
  ASSERT_EQ(error, "");
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(svg[0].name, "svg");
  EXPECT_NE(svg[0].attributes.find(R"(xmlns="http://www.w3.org/2000/svg")"), std::string::npos);

  std::map<std::string, std::vector<std::string>> texts;  // by element name and group
  for (const Element& e : svg) texts[e.name + " " + e.group].push_back(e.text);
  EXPECT_EQ(texts.count("script "), 0u);
  EXPECT_EQ(texts.count("image "), 0u);
  EXPECT_EQ(texts["polyline "].size(), 2u);  // RSSI and CP
  // One marker per point, in the group of its sideband, its values in the tooltip.
  std::map<std::string, std::vector<std::string>> tooltips;
  for (uint32_t i = 0; i < 10; ++i) {
    const std::string sideband = i % 3 == 0 ? "Low" : "High";
    tooltips["title " + std::string(i % 3 == 0 ? "low" : "high")].push_back(
        fmrplot::MhzLabel(87500000 + 100000 * i) + " MHz: " + std::to_string(kLevels[i]) +
        " dBuV, CP " + std::to_string(12 + i) + ", " + sideband);
  }
  for (const auto& [group, expected] : tooltips) EXPECT_EQ(texts[group], expected);
  // Both stations labelled over the noise (median 8 + 6 dB), nothing else.
  EXPECT_EQ(texts["text peak"], (std::vector<std::string>{"87.7", "88.1"}));
  const std::vector<std::string>& labels = texts["text "];
  for (const char* label : {"Bench 3 & antenna <A>", "RSSI (dBuV)", "CP value", "Frequency (MHz)",
                            "High injection", "Low injection"})
    EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
}

TEST(ScanPlotTest, LogsThatCannotBePlottedExitWithStatus2) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "the log is empty"},
      {"\r\n\r\n", "the log is empty"},
      {kHeader, "the log has a header but no scan lines"},
      {std::string("\x7f"
                   "ELF\x01\x02\n\0\0garbage",
                   16),
       "is not the RSSI scan log header"},
      {"--- Mon May  6 12:00:00 2024 ---\n", "is not the RSSI scan log header"},
      {kHeader + "abc\r\n", "the log has no valid scan line"},
  };
  for (const auto& [content, message] : cases) {
    const RunResult r = RunPlot({}, content);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{::testing::TempDir() + "no_such_rssi.log"},
        {"--width", "12"},
        {"--threshold"}}) {
    EXPECT_EQ(RunPlot(args, SmallLog()).status, 2) << args[0];
  }
}

}  // namespace
