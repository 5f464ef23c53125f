#include "fmr-rds/cli.h"

#include <array>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <system_error>

#include "fmr-rds/group_reader.h"
#include "fmr-rds/hex_text.h"
#include "fmr-rds/line_input.h"
#include "fmr-rds/report_json.h"
#include "fmr-rds/station_decoder.h"
#include "fmr-rds/summary_text.h"
#include "text/checked_input.h"
#include "text/checked_output.h"
#include "text/checked_stream.h"

namespace fmrrds {
namespace {

// Where POSIX systems show the file behind standard input (redirected from
// a file, it is that file); elsewhere it names nothing.
constexpr const char* kStandardInputPath = "/dev/stdin";

int ExitStatus(const DecodeResult& result) {
  if (!result.input_error.empty()) return 2;
  return result.groups == 0 && result.malformed_lines > 0 ? 1 : 0;
}

// The input's failure, when it failed: "fmr-rds: cannot read FILE: REASON".
void ReportInputError(const DecodeResult& result, const DecodeOptions& options, std::ostream& err) {
  if (!result.input_error.empty())
    err << "fmr-rds: cannot read " << options.input_name << ": " << result.input_error << "\n";
}

// Decodes `in` to `out`, or to the --output file when one is given; the
// exit status.
int Decode(std::istream& in, const DecodeOptions& options,
           const std::optional<std::string>& output_path, const std::string& input_path,
           std::ostream& out, std::ostream& err) {
  if (!output_path) {
    const DecodeResult result = DecodeStream(in, options, out, err);
    out.flush();
    ReportInputError(result, options, err);
    return ExitStatus(result);
  }
  // Opening the output empties it: never when it is the input.
  if (tooltext::SameFile(*output_path, input_path)) {
    err << "fmr-rds: " << *output_path << " is the input; not writing over it\n";
    return 2;
  }
  std::string error;
  std::optional<tooltext::CheckedOutput> file_output =
      tooltext::CheckedOutput::OpenFile(*output_path, error);
  if (!file_output) {
    err << "fmr-rds: " << error << "\n";
    return 2;
  }
  tooltext::CheckedStreamBuf buffer(*file_output);
  std::ostream file_out(&buffer);
  const DecodeResult result = DecodeStream(in, options, file_out, err);
  if (!file_output->Close()) {
    err << "fmr-rds: " << file_output->error() << "\n";
    return 1;
  }
  ReportInputError(result, options, err);
  return ExitStatus(result);
}

}  // namespace

std::string UsageText() {
  return "usage: fmr-rds [options] [FILE]\n"
         "Decodes RDS groups from the first-generation panel's decode log\n"
         "(decode_data.log), from lines of four hexadecimal blocks (\"1A2B C3D4 ----\n"
         "FFFF\": 0x prefixes allowed, \"----\" a block not received, optionally a time\n"
         "as the first field: \"12:00:01.250 1A2B ...\"), or from the second-generation\n"
         "RDS report rows as the panel's MData/LData show them and benchora prints\n"
         "them (seven cells: blocks A to D, group type code, running number, level;\n"
         "other lines of such a transcript are passed over; rows of overlapping\n"
         "reports give each group once, oldest first).\n"
         "Reads FILE, or standard input when FILE is absent or \"-\".\n"
         "\n"
         "  --input-format F   log, hex or gen2 (default: guessed from the lines; four\n"
         "                     0x blocks without status lines read as hex, clean)\n"
         "  --output-format F  groups (JSON lines, the default), hex (one interchange\n"
         "                     line per group, \"----\" for unusable blocks),\n"
         "                     summary or summary-json\n"
         "  --window N         groups of the recent block error rate (default 100)\n"
         "  --rbds             programme-type names of the R(B)DS table (default: RDS)\n"
         "  --summary          same as --output-format summary\n"
         "  --json             with --summary: the station as one JSON object\n"
         "  -o, --output FILE  write to FILE instead of standard output (never the\n"
         "                     input file itself)\n"
         "  --help             show this text\n"
         "\n"
         "Output without --summary: one JSON object per group, one per line:\n"
         "  line (input line of the group), type (\"0A\"), pi (\"C201\"), tp, pty,\n"
         "  pty_name; 0A/0B: ta, ms (\"music\"/\"speech\"), di ({\"stereo\": true}, one\n"
         "  decoder-information bit per group), ps_segment, ps_chars, ps (the name\n"
         "  once confirmed: every segment received twice alike) or ps_progressive\n"
         "  (the name so far, '?' for gaps), ps_changed; 0A: af (MHz), af_count,\n"
         "  af_lf_mf_khz; 2A/2B: rt_flag (\"A\"/\"B\"), rt_segment, rt_chars, rt (the\n"
         "  text once confirmed up to its carriage return) or rt_progressive,\n"
         "  rt_cleared (the A/B flag flipped), rt_changed; 1A: ecc, country; 3A:\n"
         "  oda_application, oda_group; 4A: ct {mjd, date, utc, offset, local, iso};\n"
         "  RadioText+ groups: rt_plus {item_toggle, item_running, tags [{content_type,\n"
         "  name, start, length, text}]}; always status (the four status nibbles,\n"
         "  \"0F00\"), lost (letters of the unusable blocks) when any, and bler_recent\n"
         "  (percent of blocks lost over the last groups). pi_changed marks a new\n"
         "  station: everything assembled so far is dropped.\n"
         "\n"
         "Block status: 0 clean, 1 to 5 corrected bits; anything else (0xF: could\n"
         "not be corrected, \"----\" in hex lines) makes the block unusable. A group\n"
         "with block B unusable is skipped ({\"line\", \"status\", \"skipped\"});\n"
         "otherwise only the fields of unusable blocks are left out (\"??\" in\n"
         "rt_chars) and the group counts as partial.\n"
         "\n"
         "The summary holds pi, pi_history, pty, pty_name, tp, ta, ms, di, ps (the\n"
         "last confirmed name), ps_names, rt (the last confirmed text),\n"
         "ps_progressive and rt_progressive (a text not yet confirmed, '?' for\n"
         "missing characters), rt_plus, ecc, country, af, af_count, ct (the last\n"
         "valid clock time), groups (count per type and version), received,\n"
         "skipped, partial, bler {overall, recent, window, blocks, lost_blocks},\n"
         "input_format, records, malformed_lines, passed_over_lines.\n"
         "Texts are read in the RDS character set and written in UTF-8 (0x91 reads\n"
         "\"ä\"); bytes the set leaves undefined (control codes, 0x7F, 0xFF)\n"
         "show as \\xHH, in the text summary also \\x22 for \" and \\x5C for \\.\n"
         "\n"
         "Malformed input lines are reported on standard error with their line\n"
         "number and skipped. Exit status: 0 decoded, 1 no group but malformed\n"
         "lines (not RDS data) or an output that could not be written (named with\n"
         "the system's reason, e.g. \"No space left on device\", \"Broken pipe\"), 2\n"
         "bad options, an unreadable input or an output that cannot be opened or is\n"
         "the input.\n";
}

DecodeResult DecodeStream(std::istream& in, const DecodeOptions& options, std::ostream& out,
                          std::ostream& err) {
  StationDecoder decoder(options.bler_window);
  DecodeResult result;
  GroupReader reader(
      [&](const RawGroup& group) {
        ++result.groups;
        const GroupReport report = decoder.Decode(group);
        if (options.output == OutputKind::kGroups) {
          out << GroupJson(report, options.table) << '\n';
        } else if (options.output == OutputKind::kHex) {
          std::array<bool, 4> usable{};
          for (size_t b = 0; b < 4; ++b)
            usable[b] = report.lost.find("ABCD"[b]) == std::string::npos;
          out << HexGroupLine(group.blocks, usable, group.time) << '\n';
        }
      },
      [&](size_t line, const std::string& message) {
        if (++result.malformed_lines <= kMaxReportedProblems) {
          err << "fmr-rds: " << options.input_name << ":" << line << ": " << message << '\n';
        } else if (result.malformed_lines == kMaxReportedProblems + 1) {
          err << "fmr-rds: " << options.input_name
              << ": further malformed lines are only counted\n";
        }
      },
      options.input);
  // An output that failed takes nothing more: the rest is not read. An
  // input that fails is reported as such, never taken for its end.
  LineInput lines(*in.rdbuf());
  try {
    while (out) {
      const std::optional<std::string_view> line = lines.Next();
      if (!line) break;
      reader.Feed(*line);
    }
  } catch (const std::system_error& failure) {
    result.input_error = failure.code().message();
  }
  if (lines.too_long()) {
    result.input_error = "line " + std::to_string(lines.lines()) + " is longer than " +
                         std::to_string(LineInput::kMostLineBytes) + " bytes (not RDS text)";
  }
  // The groups read before a failure go out all the same.
  reader.Finish();
  if (!result.input_error.empty()) return result;

  const InputCounts counts{reader.format(), reader.records(), reader.malformed_lines(),
                           reader.passed_over_lines()};
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
  std::optional<std::string> output_path;
  std::optional<OutputKind> output;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        err << "fmr-rds: " << arg << " needs a value\n";
        return false;
      }
      into = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--input-format") {
      if (!value(text)) return 2;
      static const std::pair<const char*, InputFormat> kFormats[] = {{"auto", InputFormat::kAuto},
                                                                     {"log", InputFormat::kLog},
                                                                     {"hex", InputFormat::kHex},
                                                                     {"gen2", InputFormat::kGen2}};
      bool known = false;
      for (const auto& [name, format] : kFormats) {
        if (text == name) {
          options.input = format;
          known = true;
        }
      }
      if (!known) {
        err << "fmr-rds: unknown input format " << text << " (log, hex, gen2)\n";
        return 2;
      }
    } else if (arg == "--output-format") {
      if (!value(text)) return 2;
      static const std::pair<const char*, OutputKind> kOutputs[] = {
          {"groups", OutputKind::kGroups},
          {"hex", OutputKind::kHex},
          {"summary", OutputKind::kSummaryText},
          {"summary-json", OutputKind::kSummaryJson}};
      for (const auto& [name, kind] : kOutputs) {
        if (text == name) output = kind;
      }
      if (!output) {
        err << "fmr-rds: unknown output format " << text
            << " (groups, hex, summary, summary-json)\n";
        return 2;
      }
    } else if (arg == "--window") {
      if (!value(text)) return 2;
      const bool digits = !text.empty() && text.size() <= 6 &&
                          text.find_first_not_of("0123456789") == std::string::npos;
      if (!digits || std::stoul(text) == 0) {
        err << "fmr-rds: --window needs a number of groups from 1 to 999999, got " << text << "\n";
        return 2;
      }
      options.bler_window = std::stoul(text);
    } else if (arg == "--output" || arg == "-o") {
      if (!value(text)) return 2;
      if (text.empty()) {
        err << "fmr-rds: " << arg << " needs a file name\n";
        return 2;
      }
      output_path = text;
    } else if (arg == "--help" || arg == "-h") {
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
  if (output) options.output = *output;

  const bool from_standard_input = !have_path || path == "-";
  std::unique_ptr<tooltext::CheckedInputBuf> file;
  std::istream file_in(nullptr);
  if (!from_standard_input) {
    std::string reason;
    file = tooltext::CheckedInputBuf::OpenFile(path, reason);
    if (!file) {
      err << "fmr-rds: cannot read " << path << ": " << reason << "\n";
      return 2;
    }
    file_in.rdbuf(file.get());
    options.input_name = path;
  }
  std::istream& in = from_standard_input ? standard_input : file_in;
  // Memory running out is said, never taken for an empty input.
  try {
    return Decode(in, options, output_path, from_standard_input ? kStandardInputPath : path, out,
                  err);
  } catch (const std::bad_alloc&) {
    err << "fmr-rds: out of memory decoding " << options.input_name << "\n";
    return 1;
  }
}

}  // namespace fmrrds
