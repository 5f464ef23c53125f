#include "fmr-rds/cli.h"

#include <fstream>
#include <istream>
#include <ostream>

#include "fmr-rds/group_reader.h"
#include "fmr-rds/report_json.h"
#include "fmr-rds/station_decoder.h"
#include "fmr-rds/summary_text.h"

namespace fmrrds {

std::string UsageText() {
  return "usage: fmr-rds [options] [FILE]\n"
         "Decodes RDS groups from the first-generation panel's decode log\n"
         "(decode_data.log) or from plain lines of four hexadecimal blocks\n"
         "(\"1A2B C3D4 0000 FFFF\", 0x prefixes allowed; such groups count as clean).\n"
         "Reads FILE, or standard input when FILE is absent or \"-\".\n"
         "\n"
         "  --rbds        programme-type names of the R(B)DS table (default: RDS)\n"
         "  --summary     print only the assembled station at the end, as text\n"
         "  --json        with --summary: the station as one JSON object\n"
         "  --help        show this text\n"
         "\n"
         "Output without --summary: one JSON object per group, one per line:\n"
         "  line (input line of the group), type (\"0A\"), pi (\"C201\"), tp, pty,\n"
         "  pty_name; 0A/0B: ta, ms (\"music\"/\"speech\"), di ({\"stereo\": true}, one\n"
         "  decoder-information bit per group), ps_segment, ps_chars, ps (the name\n"
         "  once all four segments are in), ps_changed; 0A: af (MHz), af_count,\n"
         "  af_lf_mf_khz; 2A/2B: rt_flag (\"A\"/\"B\"), rt_segment, rt_chars, rt (the\n"
         "  text once complete up to its carriage return), rt_cleared (the A/B flag\n"
         "  flipped), rt_changed; 4A: ct {mjd, date, utc, offset, local}; always\n"
         "  status (the four status nibbles, \"0F00\"), and lost (letters of the\n"
         "  unusable blocks) when any. pi_changed marks a new station: everything\n"
         "  assembled so far is dropped.\n"
         "\n"
         "Block status: 0 clean, 1 to 5 corrected bits; anything else (0xF: could\n"
         "not be corrected) makes the block unusable. A group with block B unusable\n"
         "is skipped ({\"line\", \"status\", \"skipped\"}); otherwise only the fields\n"
         "of unusable blocks are left out (\"??\" in rt_chars) and the group counts\n"
         "as partial.\n"
         "\n"
         "The summary holds pi, pi_history, pty, pty_name, tp, ta, ms, di, ps (the\n"
         "last complete name), ps_names, rt (the last complete text), ps_partial\n"
         "and rt_partial (a text still being assembled, '?' for missing\n"
         "characters), af, af_count, ct (the last valid clock time), groups (count\n"
         "per type), received, skipped, partial, records, malformed_lines.\n"
         "Texts are 8-bit RDS characters; JSON shows bytes outside printable ASCII\n"
         "as \\u00XX, the text summary as \\xNN.\n"
         "\n"
         "Malformed input lines are reported on standard error with their line\n"
         "number and skipped. Exit status: 0 decoded, 1 no group but malformed\n"
         "lines (not RDS data), 2 bad options or unreadable file.\n";
}

DecodeResult DecodeStream(std::istream& in, const DecodeOptions& options, std::ostream& out,
                          std::ostream& err) {
  StationDecoder decoder;
  DecodeResult result;
  GroupReader reader(
      [&](const RawGroup& group) {
        ++result.groups;
        const GroupReport report = decoder.Decode(group);
        if (options.output == OutputKind::kGroups) out << GroupJson(report, options.table) << '\n';
      },
      [&](size_t line, const std::string& message) {
        if (++result.malformed_lines <= kMaxReportedProblems) {
          err << "fmr-rds: " << options.input_name << ":" << line << ": " << message << '\n';
        } else if (result.malformed_lines == kMaxReportedProblems + 1) {
          err << "fmr-rds: " << options.input_name
              << ": further malformed lines are only counted\n";
        }
      });
  std::string line;
  while (std::getline(in, line)) reader.Feed(line);
  reader.Finish();

  const InputCounts counts{reader.records(), reader.malformed_lines()};
  if (options.output == OutputKind::kSummaryJson) {
    out << SummaryJson(decoder.Summary(), counts, options.table) << '\n';
  } else if (options.output == OutputKind::kSummaryText) {
    out << SummaryText(decoder.Summary(), counts, options.table);
  }
  return result;
}

int Run(const std::vector<std::string>& args, std::istream& standard_input, std::ostream& out,
        std::ostream& err) {
  DecodeOptions options;
  bool summary = false;
  bool json = false;
  std::string path;
  bool have_path = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      out << UsageText();
      return 0;
    } else if (arg == "--rbds") {
      options.table = PtyTable::kRbds;
    } else if (arg == "--summary") {
      summary = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      err << "fmr-rds: unknown option " << arg << "\n" << UsageText();
      return 2;
    } else if (have_path) {
      err << "fmr-rds: only one input file, got " << path << " and " << arg << "\n";
      return 2;
    } else {
      path = arg;
      have_path = true;
    }
  }
  if (summary) options.output = json ? OutputKind::kSummaryJson : OutputKind::kSummaryText;

  DecodeResult result;
  if (!have_path || path == "-") {
    result = DecodeStream(standard_input, options, out, err);
  } else {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      err << "fmr-rds: cannot open " << path << "\n";
      return 2;
    }
    options.input_name = path;
    result = DecodeStream(file, options, out, err);
  }
  out.flush();
  return result.groups == 0 && result.malformed_lines > 0 ? 1 : 0;
}

}  // namespace fmrrds
