#include "fmr-plot/cli.h"

#include <charconv>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "fmr-plot/plot_output.h"
#include "fmr-plot/sample_log.h"
#include "fmr-plot/scan_log.h"
#include "fmr-plot/series_plot.h"
#include "fmr-plot/svg_plot.h"
#include "text/report_text.h"

namespace fmrplot {
namespace {

constexpr size_t kMaxReportedProblems = 100;

struct Options {
  PlotOptions plot;
  std::string input;
  std::string output;
  bool have_input = false;
  std::vector<std::string> series;                          // --series, in order
  std::vector<std::pair<std::string, std::string>> labels;  // --label NAME=TEXT
};

std::optional<int> IntOption(const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

bool ToStandardOutput(const std::string& output) {
  return output.empty() || output == "-";
}

int Write(const std::string& svg, const std::string& output, std::ostream& out, std::ostream& err) {
  return ToStandardOutput(output) ? WriteStandardOutput(svg, out, err)
                                  : WriteFile(output, svg, err);
}

std::string Shown(const std::string& name) {
  return "\"" + tooltext::ReportText(name) + "\"";
}

// The series to draw: those --series names in its order, or the first
// kMostSeries; labels applied. nullopt (with the message written) when a
// name is not among the file's series.
std::optional<std::vector<SampleSeries>> Chosen(std::vector<SampleSeries> all,
                                                const Options& options, const std::string& name,
                                                std::ostream& err) {
  const auto find = [&](const std::string& wanted) -> SampleSeries* {
    for (SampleSeries& s : all) {
      if (s.name == wanted) return &s;
    }
    err << "fmr-plot: " << name << ": no series " << Shown(wanted) << "; the file has ";
    for (size_t i = 0; i < all.size(); ++i) err << (i == 0 ? "" : ", ") << Shown(all[i].name);
    err << "\n";
    return nullptr;
  };
  for (const auto& [series, label] : options.labels) {
    SampleSeries* s = find(series);
    if (s == nullptr) return std::nullopt;
    s->label = label;
  }
  std::vector<SampleSeries> chosen;
  if (options.series.empty()) {
    if (all.size() > kMostSeries) {
      err << "fmr-plot: " << name << ": " << all.size() << " series; the first " << kMostSeries
          << " plotted (--series chooses)\n";
      all.resize(kMostSeries);
    }
    return all;
  }
  for (const std::string& wanted : options.series) {
    SampleSeries* s = find(wanted);
    if (s == nullptr) return std::nullopt;
    chosen.push_back(*s);
  }
  return chosen;
}

// benchora's measurement CSV: its sampled values against time.
int PlotSamples(const std::string& text, const std::string& name, const Options& options,
                std::ostream& out, std::ostream& err) {
  SampleLog log = ReadSampleLog(text);
  for (size_t i = 0; i < log.skipped_lines.size() && i < kMaxReportedProblems; ++i) {
    err << "fmr-plot: " << name << ":" << log.skipped_lines[i]
        << ": not a row with a time and a numeric value; line skipped\n";
  }
  if (log.skipped_lines.size() > kMaxReportedProblems) {
    err << "fmr-plot: " << name << ": " << log.skipped_lines.size() - kMaxReportedProblems
        << " more lines skipped\n";
  }
  if (!log.error.empty()) {
    err << "fmr-plot: " << name << ":";
    if (log.error_line != 0) err << log.error_line << ":";
    err << " " << log.error << "; nothing plotted\n";
    return 2;
  }
  const auto series = Chosen(std::move(log.series), options, name, err);
  if (!series) return 2;
  return Write(RenderSeriesSvg(*series, options.plot), options.output, out, err);
}

int PlotScan(const std::string& text, const std::string& name, const Options& options,
             std::ostream& out, std::ostream& err) {
  std::istringstream scan(text);
  const ScanLog log = ReadScanLog(scan);
  for (size_t i = 0; i < log.problems.size() && i < kMaxReportedProblems; ++i) {
    err << "fmr-plot: " << name << ":" << log.problems[i].line << ": " << log.problems[i].message
        << "; line skipped\n";
  }
  if (log.problems.size() > kMaxReportedProblems) {
    err << "fmr-plot: " << name << ": " << log.problems.size() - kMaxReportedProblems
        << " more malformed lines skipped\n";
  }
  if (!log.error.empty()) {
    err << "fmr-plot: " << name << ": " << log.error << "; nothing plotted\n";
    return 2;
  }
  if (!options.series.empty() || !options.labels.empty()) {
    err << "fmr-plot: " << name
        << ": --series and --label choose among a measurement CSV's series; this is a scan log\n";
    return 2;
  }
  return Write(RenderSvg(log.points, options.plot), options.output, out, err);
}

int Usage(std::ostream& err, const std::string& message) {
  err << "fmr-plot: " << message << "\n" << UsageText();
  return 2;
}

}  // namespace

std::string UsageText() {
  return "usage: fmr-plot [options] [LOG]\n"
         "Plots the first-generation panel's RSSI scan log (rssi_logging.log) as an\n"
         "SVG: RSSI (dBuV) against frequency (MHz), the CP value on the right axis,\n"
         "markers coloured by injection sideband (blue High, orange Low), station\n"
         "peaks labelled with their frequency. Each marker carries a tooltip with\n"
         "frequency, RSSI, CP and sideband. Reads LOG, or standard input when LOG\n"
         "is absent or \"-\".\n"
         "A measurement CSV of benchora (--csv: comment lines starting with #, then\n"
         "a header naming time_ms, name, value and optionally unit, low, high,\n"
         "verdict, origin, dut) is drawn as a time series instead: each sampled\n"
         "name's values against time (s), one line each, on an axis titled with\n"
         "its unit. Two units get a left and a right axis, more units one panel\n"
         "each, stacked over the shared time axis (at least 80 pixels each; the\n"
         "picture grows to fit). The check rows of a name draw its limits as\n"
         "dashed lines and their values as squares; a failed check and a sample\n"
         "outside its name's limits are ringed in red.\n"
         "\n"
         "  -o, --output FILE   write the SVG to FILE (default: standard output)\n"
         "  --title TEXT        title above the plot (default: the scanned range,\n"
         "                      or the time span of the samples)\n"
         "  --threshold DBUV    label peaks from this level on (default: the median\n"
         "                      level, taken as the noise floor, plus 6 dB)\n"
         "  --series NAME       plot this series of a measurement CSV; repeat for\n"
         "                      more, in the order wanted (the first takes the left\n"
         "                      axis; default: the first 16 in the file)\n"
         "  --label NAME=TEXT   call series NAME TEXT in the legend and on its axis\n"
         "                      (repeatable)\n"
         "  --width N           picture width in pixels (660 to 10000, default 960)\n"
         "  --height N          picture height in pixels (200 to 10000, default 480)\n"
         "  --help              show this text\n"
         "\n"
         "Malformed scan lines and CSV rows without a time or a numeric value are\n"
         "reported on standard error with their line number and left out of the\n"
         "plot. A CSV number that is not finite (inf, nan, 1e999) or out of range\n"
         "(values beyond -1e12 to 1e12, times below 0 or beyond 1e12 ms) refuses\n"
         "the file with its line.\n"
         "Exit status: 0 written; 1 a write or the close of the output failed (a\n"
         "full disk, a closed pipe); 2 bad options, an output that cannot be opened\n"
         "or is the input itself, a series the CSV does not have, or a log that\n"
         "cannot be plotted (missing, empty, header only, not a scan log, no valid\n"
         "scan line or sample, a refused number).\n"
         "scripts/plot-png.sh turns the SVG into a PNG.\n";
}

int Run(const std::vector<std::string>& args, std::istream& standard_input, std::ostream& out,
        std::ostream& err) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      return WriteStandardOutput(UsageText(), out, err);
    } else if (arg == "-o" || arg == "--output") {
      if (!has_value) return Usage(err, arg + " needs a file name");
      options.output = args[++i];
    } else if (arg == "--title") {
      if (!has_value) return Usage(err, "--title needs a text");
      options.plot.title = args[++i];
    } else if (arg == "--threshold") {
      const auto v = has_value ? IntOption(args[++i], -32768, 32767) : std::nullopt;
      if (!v) return Usage(err, "--threshold needs a level in dBuV");
      options.plot.peak_threshold_dbuv = *v;
    } else if (arg == "--width") {
      const auto v = has_value ? IntOption(args[++i], kMinPlotWidth, kMaxPlotSize) : std::nullopt;
      if (!v) return Usage(err, "--width needs a number from 660 to 10000");
      options.plot.width = *v;
    } else if (arg == "--height") {
      const auto v = has_value ? IntOption(args[++i], kMinPlotHeight, kMaxPlotSize) : std::nullopt;
      if (!v) return Usage(err, "--height needs a number from 200 to 10000");
      options.plot.height = *v;
    } else if (arg == "--series") {
      if (!has_value || args[i + 1].empty()) return Usage(err, "--series needs a series name");
      const std::string& name = args[++i];
      bool known = false;
      for (const std::string& s : options.series) known = known || s == name;
      if (!known) options.series.push_back(name);
      if (options.series.size() > kMostSeries) return Usage(err, "at most 16 series");
    } else if (arg == "--label") {
      const std::string value = has_value ? args[++i] : std::string();
      const size_t equals = value.find('=');
      if (equals == 0 || equals == std::string::npos || equals + 1 == value.size()) {
        return Usage(err, "--label needs NAME=TEXT");
      }
      options.labels.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(err, "unknown option " + arg);
    } else if (options.have_input) {
      return Usage(err, "only one log, got " + options.input + " and " + arg);
    } else {
      options.input = arg;
      options.have_input = true;
    }
  }

  const bool from_file = options.have_input && options.input != "-";
  if (from_file && !ToStandardOutput(options.output) && SameFile(options.input, options.output)) {
    err << "fmr-plot: the output " << options.output << " is the input; nothing written\n";
    return 2;
  }
  std::string name = "<stdin>";
  std::ostringstream whole;
  if (!from_file) {
    whole << standard_input.rdbuf();
  } else {
    std::ifstream file(options.input, std::ios::binary);
    if (!file) {
      err << "fmr-plot: cannot open " << options.input << "\n";
      return 2;
    }
    name = options.input;
    whole << file.rdbuf();
  }
  const std::string text = whole.str();
  if (LooksLikeSampleLog(text)) return PlotSamples(text, name, options, out, err);
  return PlotScan(text, name, options, out, err);
}

}  // namespace fmrplot
