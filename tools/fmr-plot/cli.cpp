#include "fmr-plot/cli.h"

#include <charconv>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <sstream>

#include "fmr-plot/sample_log.h"
#include "fmr-plot/scan_log.h"
#include "fmr-plot/series_plot.h"
#include "fmr-plot/svg_plot.h"

namespace fmrplot {
namespace {

constexpr size_t kMaxReportedProblems = 100;

std::optional<int> IntOption(const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
  return value;
}

// Writes the SVG to `output`, or to `out` when it is empty or "-".
int Write(const std::string& svg, const std::string& output, std::ostream& out, std::ostream& err) {
  if (output.empty() || output == "-") {
    out << svg;
    out.flush();
    return out ? 0 : 1;
  }
  std::ofstream file(output, std::ios::binary | std::ios::trunc);
  file << svg;
  file.close();
  if (!file) {
    err << "fmr-plot: cannot write " << output << "\n";
    return 1;
  }
  return 0;
}

// benchora's measurement CSV: its sampled values against time.
int PlotSamples(const std::string& text, const std::string& name, const PlotOptions& options,
                const std::string& output, std::ostream& out, std::ostream& err) {
  const SampleLog log = ReadSampleLog(text);
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
  return Write(RenderSeriesSvg(log.series, options), output, out, err);
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
         "A measurement CSV of benchora (--csv, its header \"time_ms,name,value,unit,...\")\n"
         "is drawn as a time series instead: each sampled name's values against time\n"
         "(s), one line each.\n"
         "\n"
         "  -o, --output FILE   write the SVG to FILE (default: standard output)\n"
         "  --title TEXT        title above the plot (default: the scanned range)\n"
         "  --threshold DBUV    label peaks from this level on (default: the median\n"
         "                      level, taken as the noise floor, plus 6 dB)\n"
         "  --width N           picture width in pixels (660 to 10000, default 960)\n"
         "  --height N          picture height in pixels (200 to 10000, default 480)\n"
         "  --help              show this text\n"
         "\n"
         "Malformed scan lines are reported on standard error with their line\n"
         "number and left out of the plot. Exit status: 0 written, 1 the output\n"
         "could not be written, 2 bad options or a log that cannot be plotted\n"
         "(missing, empty, header only, not a scan log, no valid scan line).\n"
         "scripts/plot-png.sh turns the SVG into a PNG.\n";
}

int Run(const std::vector<std::string>& args, std::istream& standard_input, std::ostream& out,
        std::ostream& err) {
  PlotOptions options;
  std::string input;
  std::string output;
  bool have_input = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      out << UsageText();
      return 0;
    } else if (arg == "-o" || arg == "--output") {
      if (!has_value) return Usage(err, arg + " needs a file name");
      output = args[++i];
    } else if (arg == "--title") {
      if (!has_value) return Usage(err, "--title needs a text");
      options.title = args[++i];
    } else if (arg == "--threshold") {
      const auto v = has_value ? IntOption(args[++i], -32768, 32767) : std::nullopt;
      if (!v) return Usage(err, "--threshold needs a level in dBuV");
      options.peak_threshold_dbuv = *v;
    } else if (arg == "--width") {
      const auto v = has_value ? IntOption(args[++i], kMinPlotWidth, kMaxPlotSize) : std::nullopt;
      if (!v) return Usage(err, "--width needs a number from 660 to 10000");
      options.width = *v;
    } else if (arg == "--height") {
      const auto v = has_value ? IntOption(args[++i], kMinPlotHeight, kMaxPlotSize) : std::nullopt;
      if (!v) return Usage(err, "--height needs a number from 200 to 10000");
      options.height = *v;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage(err, "unknown option " + arg);
    } else if (have_input) {
      return Usage(err, "only one log, got " + input + " and " + arg);
    } else {
      input = arg;
      have_input = true;
    }
  }

  std::string name = "<stdin>";
  std::ostringstream whole;
  if (!have_input || input == "-") {
    whole << standard_input.rdbuf();
  } else {
    std::ifstream file(input, std::ios::binary);
    if (!file) {
      err << "fmr-plot: cannot open " << input << "\n";
      return 2;
    }
    name = input;
    whole << file.rdbuf();
  }
  const std::string text = whole.str();
  if (LooksLikeSampleLog(text)) return PlotSamples(text, name, options, output, out, err);
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

  return Write(RenderSvg(log.points, options), output, out, err);
}

}  // namespace fmrplot
