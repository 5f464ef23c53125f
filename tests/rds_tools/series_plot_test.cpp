// fmr-plot's pictures of the measurement CSV: one axis per unit (left,
// right, or a panel each), axis titles, limit lines on their series' axis,
// rings around exactly the failed values, nothing drawn outside the
// picture, and the choice and naming of series (--series, --label). The
// elements of the SVG are compared; the whole pictures are in data/.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "fmr-plot/cli.h"
#include "fmr-plot/svg_text.h"
#include "tool_run.h"

namespace {

using rdstest::RunResult;

// Two units, limits that coincide with samples (25, 40 and 95400000), one
// check of each verdict, failures of both kinds.
const std::string kLimits =
    "# chip: gen1\n"
    "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
    "1000,LERSSI,25,dBuV,,,,s.txt:5,\n1000,LEFrequency,95400000,Hz,,,,s.txt:5,\n"
    "2000,LERSSI,40,dBuV,,,,s.txt:5,\n2000,LEFrequency,95400000,Hz,,,,s.txt:5,\n"
    "3000,LERSSI,12,dBuV,,,,s.txt:5,\n3000,LEFrequency,95500000,Hz,,,,s.txt:5,\n"
    "3500,LERSSI,12,dBuV,25,40,FAIL,s.txt:9,\n"
    "3500,LEFrequency,95500000,Hz,95400000,95400000,FAIL,s.txt:10,\n"
    "3600,LERSSI,30,dBuV,25,,PASS,s.txt:11,\n";

// Four units (one of them none) over five series.
const std::string kPanels =
    "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
    "0,LERSSI,30,dBuV,,,,s,\n0,LESNR,20,dB,,,,s,\n0,LEFrequency,95400000,Hz,,,,s,\n"
    "0,Volume,7,,,,,s,\n0,LERSSI2,28,dBuV,,,,s,\n"
    "1000,LERSSI,31,dBuV,,,,s,\n1000,LESNR,22,dB,,,,s,\n1000,LEFrequency,95400000,Hz,,,,s,\n"
    "1000,Volume,9,,,,,s,\n1000,LERSSI2,25,dBuV,,,,s,\n"
    "2000,LERSSI,12,dBuV,,,,s,\n2000,LESNR,3,dB,,,,s,\n2000,LEFrequency,95500000,Hz,,,,s,\n"
    "2000,Volume,9,,,,,s,\n2000,LERSSI2,27,dBuV,,,,s,\n2500,LESNR,3,dB,10,,FAIL,s,\n";

struct Element {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string text;  // a <text>'s content, a marker's tooltip

  double Number(const std::string& name) const { return std::stod(attributes.at(name)); }
  bool Is(const std::string& css_class) const {
    const auto found = attributes.find("class");
    return found != attributes.end() && found->second == css_class;
  }
};

// The svg's elements of `tag` (opening tags), in order.
std::vector<Element> Elements(const std::string& svg, const std::string& tag) {
  std::vector<Element> out;
  const std::regex open("<" + tag + "\\b([^>]*?)/?>");
  const std::regex attribute("([a-z][a-z0-9-]*)=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), open); it != std::sregex_iterator();
       ++it) {
    Element e{tag, {}, {}};
    const std::string attributes = (*it)[1];
    for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
         a != std::sregex_iterator(); ++a) {
      e.attributes[(*a)[1]] = (*a)[2];
    }
    const size_t after = static_cast<size_t>(it->position() + it->length());
    if (svg.compare(after - 2, 2, "/>") != 0) {
      size_t start = after;
      if (svg.compare(start, 7, "<title>") == 0) start += 7;
      e.text = svg.substr(start, svg.find('<', start) - start);
    }
    out.push_back(e);
  }
  return out;
}

std::vector<Element> OfClass(const std::string& svg, const std::string& tag,
                             const std::string& css_class) {
  std::vector<Element> all = Elements(svg, tag), out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out),
               [&](const Element& e) { return e.Is(css_class); });
  return out;
}

std::vector<std::string> Texts(const std::vector<Element>& elements) {
  std::vector<std::string> out;
  for (const Element& e : elements) out.push_back(e.text);
  return out;
}

RunResult Plot(const std::vector<std::string>& args, const std::string& csv) {
  return rdstest::RunTool(&fmrplot::Run, args, csv);
}

// Every text stays inside the picture (a rotated axis title along its
// frame's height), judged by the width the renderer assumes for a
// character.
void ExpectNothingClipped(const std::string& svg) {
  const Element root = Elements(svg, "svg").at(0);
  const double width = root.Number("width");
  const double height = root.Number("height");
  const double frame_height = Elements(svg, "rect").at(1).Number("height");
  for (const Element& t : Elements(svg, "text")) {
    const double x = t.Number("x"), y = t.Number("y");
    const double w = fmrplot::TextWidth(t.text);
    EXPECT_TRUE(y >= 10 && y <= height) << t.text;
    if (t.attributes.count("transform") != 0) {
      EXPECT_LE(w, frame_height) << t.text;
      EXPECT_TRUE(x >= 9 && x <= width - 9) << t.text;
      continue;
    }
    const auto anchor = t.attributes.find("text-anchor");
    const std::string align = anchor == t.attributes.end() ? "start" : anchor->second;
    const double left = align == "end" ? x - w : align == "middle" ? x - w / 2 : x;
    EXPECT_GE(left, 0) << t.text;
    EXPECT_LE(left + w, width) << t.text;
  }
}

// The whole picture, and what it must hold: each unit its own axis and
// title, limit lines at their values on their series' axis, and red rings
// around exactly the failed values.
TEST(SeriesPlotTest, TwoUnitsTakeTheLeftAndRightAxisWithLimitsAndFailures) {
  const RunResult run = Plot({}, kLimits);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  rdstest::ExpectData("samples-limits.svg", run.out);
  const std::string& svg = run.out;
  ExpectNothingClipped(svg);

  EXPECT_EQ(Texts(OfClass(svg, "text", "axis-title")),
            (std::vector<std::string>{"LERSSI (dBuV)", "LEFrequency (Hz)"}));
  const Element frame = OfClass(svg, "rect", "frame").at(0);
  const double left = frame.Number("x"), right = left + frame.Number("width");
  std::map<std::string, const Element*> sample_at;  // "SERIES VALUE" -> its first marker
  const std::vector<Element> samples = OfClass(svg, "circle", "sample");
  for (const Element& s : samples) {
    const std::string key = s.text.substr(0, s.text.find(" at "));
    sample_at.emplace(key, &s);
  }
  // Limit lines: across the frame, at the height of a sample of the same
  // value of their own series, in that series' colour.
  const std::vector<Element> limits = OfClass(svg, "line", "limit");
  const std::vector<std::string> expected_limits = {"LERSSI 25 dBuV", "LERSSI 40 dBuV",
                                                    "LEFrequency 95400000 Hz"};
  ASSERT_EQ(limits.size(), expected_limits.size());
  for (size_t i = 0; i < limits.size(); ++i) {
    const Element* sample = sample_at.at(expected_limits[i]);
    EXPECT_EQ(limits[i].attributes.at("y1"), sample->attributes.at("cy")) << expected_limits[i];
    EXPECT_EQ(limits[i].attributes.at("y2"), sample->attributes.at("cy"));
    EXPECT_EQ(limits[i].attributes.at("stroke"), sample->attributes.at("fill"));
    EXPECT_EQ(limits[i].Number("x1"), left);
    EXPECT_EQ(limits[i].Number("x2"), right);
  }
  EXPECT_EQ(Texts(OfClass(svg, "text", "limit-label")),
            (std::vector<std::string>{"low 25 dBuV", "high 40 dBuV", "= 95400000 Hz"}));
  // Rings: around the failed samples and checks, and nothing else.
  std::vector<std::string> failed, ringed;
  for (const Element& s : samples) {
    if (s.text.ends_with("outside the limits"))
      failed.push_back(s.attributes.at("cx") + "," + s.attributes.at("cy"));
  }
  const std::vector<Element> checks = OfClass(svg, "rect", "check");
  EXPECT_EQ(checks.size(), 3u);
  for (const Element& c : checks) {
    if (c.text.ends_with("check FAIL"))
      failed.push_back(fmrplot::Num(c.Number("x") + 3.5) + "," + fmrplot::Num(c.Number("y") + 3.5));
  }
  for (const Element& ring : OfClass(svg, "circle", "fail"))
    ringed.push_back(ring.attributes.at("cx") + "," + ring.attributes.at("cy"));
  EXPECT_EQ(failed.size(), 4u);
  std::sort(failed.begin(), failed.end());
  std::sort(ringed.begin(), ringed.end());
  EXPECT_EQ(ringed, failed);
}

// More than two units: a panel each, stacked over one time axis, each
// titled.
TEST(SeriesPlotTest, MoreUnitsStackAPanelEach) {
  const RunResult run = Plot({"--height", "300"}, kPanels);
  ASSERT_EQ(run.status, 0) << run.err;
  rdstest::ExpectData("samples-panels.svg", run.out);
  const std::string& svg = run.out;
  ExpectNothingClipped(svg);
  EXPECT_EQ(Texts(OfClass(svg, "text", "axis-title")),
            (std::vector<std::string>{"LERSSI, LERSSI2 (dBuV)", "LESNR (dB)", "LEFrequency (Hz)",
                                      "Volume"}));
  const std::vector<Element> frames = OfClass(svg, "rect", "frame");
  ASSERT_EQ(frames.size(), 4u);
  for (size_t i = 1; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].attributes.at("x"), frames[0].attributes.at("x"));
    EXPECT_EQ(frames[i].attributes.at("width"), frames[0].attributes.at("width"));
    EXPECT_GE(frames[i].Number("height"), 80);
    EXPECT_GT(frames[i].Number("y"), frames[i - 1].Number("y") + frames[i - 1].Number("height"));
  }
  // The picture grew to give each panel its least height.
  EXPECT_GT(Elements(svg, "svg").at(0).Number("height"), 300);
  size_t time_titles = 0;
  for (const Element& t : Elements(svg, "text")) time_titles += t.text == "time (s)";
  EXPECT_EQ(time_titles, 1u);
}

// --series chooses and orders (the first takes the left axis), --label
// names; unknown names are refused with the file's series.
TEST(SeriesPlotTest, SeriesAreChosenAndNamed) {
  const std::string csv = kLimits + "3700,\"Le,SNR\",9,dB,,,,s,\n";
  const std::string has = "; the file has \"LERSSI\", \"LEFrequency\", \"Le,SNR\"\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
    std::vector<std::string> titles;
  };
  const Case cases[] = {
      {{"--series", "LEFrequency", "--series", "LERSSI"},
       0,
       "",
       {"LEFrequency (Hz)", "LERSSI (dBuV)"}},
      {{"--series", "LERSSI", "--series", "LERSSI"}, 0, "", {"LERSSI (dBuV)"}},
      {{"--series", "Le,SNR", "--label", "Le,SNR=SNR", "--label", "LERSSI=RSSI <R&S> \"x\""},
       0,
       "",
       {"SNR (dB)"}},
      {{"--label", "LERSSI=RSSI", "--label", "LERSSI=Level"},
       0,
       "",
       {"Level (dBuV)", "LEFrequency (Hz)", "Le,SNR (dB)"}},
      {{"--series", "LERSSI", "--series", "Nope"},
       2,
       "fmr-plot: <stdin>: no series \"Nope\"" + has,
       {}},
      {{"--series", "lerssi"}, 2, "fmr-plot: <stdin>: no series \"lerssi\"" + has, {}},
      {{"--label", "Nope=x"}, 2, "fmr-plot: <stdin>: no series \"Nope\"" + has, {}},
  };
  for (const Case& c : cases) {
    const RunResult run = Plot(c.args, csv);
    EXPECT_EQ(run.status, c.status) << c.args[1];
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(Texts(OfClass(run.out, "text", "axis-title")), c.titles) << c.args[1];
  }
  const RunResult labelled = Plot({"--label", "LERSSI=RSSI <R&S> \"x\""}, csv);
  EXPECT_NE(labelled.out.find(">RSSI &lt;R&amp;S&gt; &quot;x&quot; (dBuV)</text>"),
            std::string::npos);
  EXPECT_EQ(labelled.out.find(">LERSSI"), std::string::npos);

  // Malformed option values are usage errors; a scan log has no series.
  const std::vector<std::string> refused[] = {
      {"--series"},          {"--series", ""},  {"--label"},
      {"--label", "LERSSI"}, {"--label", "=x"}, {"--label", "LERSSI="},
  };
  for (const auto& args : refused) {
    const RunResult run = Plot(args, csv);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_TRUE(run.err.starts_with("fmr-plot: --")) << run.err;
    EXPECT_EQ(run.out, "");
  }
  std::vector<std::string> seventeen;
  std::string many = "time_ms,name,value\n";
  for (int i = 0; i < 17; ++i) {
    seventeen.insert(seventeen.end(), {"--series", "S" + std::to_string(i)});
    many += "1,S" + std::to_string(i) + "," + std::to_string(i) + "\n";
  }
  EXPECT_EQ(Plot(seventeen, many).err.substr(0, 29), "fmr-plot: at most 16 series\nu");
  const RunResult first16 = Plot({}, many);
  EXPECT_EQ(first16.status, 0);
  EXPECT_EQ(first16.err, "fmr-plot: <stdin>: 17 series; the first 16 plotted (--series chooses)\n");
  EXPECT_EQ(OfClass(first16.out, "circle", "sample").size(), 16u);
  const RunResult scan = Plot({"--series", "RSSI"},
                              "Frequency\t\tRSSI Level\t\tCP Value\t\tSideband\n"
                              "87500000\t8\t9\tHigh\n");
  EXPECT_EQ(scan.status, 2);
  EXPECT_EQ(scan.err,
            "fmr-plot: <stdin>: --series and --label choose among a measurement CSV's series; "
            "this is a scan log\n");
}

}  // namespace
