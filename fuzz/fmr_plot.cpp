// fmr-plot's input, a scan log or a measurement CSV, through the whole
// program (reading, choosing series, drawing), and the CSV records written
// back the way benchora quotes them.
//
// Input: byte 0 picks the options (bit 0: --series with the first series
// the text names, bit 1: --label for it, bit 2: a narrow and low picture,
// bit 3: a title), the rest is the file.
//
// Checks: the status is 0 or 2; 2 writes no picture; a picture is one
// whole SVG whose coordinates are all plain numbers (never nan or inf) and
// whose text is valid UTF-8 without control characters; every record read
// from the text, written again with RFC 4180 quoting and benchora's
// formula guard, reads back as the same fields.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fmr-plot/cli.h"
#include "fmr-plot/csv_records.h"
#include "fmr-plot/sample_log.h"
#include "fuzz_input.h"
#include "text/report_text.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

// Inside every tag, the attributes holding coordinates and sizes hold
// numbers and path letters only. (Text content may hold anything: names
// and titles come from the file.)
void RequireNumericGeometry(const std::string& svg) {
  static constexpr std::string_view kNames[] = {
      " x=\"",      " y=\"", " cx=\"", " cy=\"",    " x1=\"",     " y1=\"",     " x2=\"", " y2=\"",
      " points=\"", " d=\"", " r=\"",  " width=\"", " height=\"", "translate(", "rotate("};
  for (size_t open = svg.find('<'); open != std::string::npos; open = svg.find('<', open + 1)) {
    const size_t close = svg.find('>', open);
    Require(close != std::string::npos, "tag closed");
    const std::string_view tag = std::string_view(svg).substr(open, close - open);
    for (const std::string_view name : kNames) {
      for (size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const size_t start = at + name.size();
        const size_t end = tag.find_first_of("\")", start);
        Require(end != std::string_view::npos, "attribute closed");
        for (size_t i = start; i < end; ++i) {
          const char c = tag[i];
          const bool plain = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ',' ||
                             c == ' ' || c == 'M' || c == 'H' || c == 'V' || c == 'Z' || c == 'h' ||
                             c == 'v' || c == '%';
          Require(plain, "a coordinate is a plain number");
        }
      }
    }
  }
}

// A field as benchora writes it: texts that a spreadsheet would take for a
// formula get a leading ', fields with a comma, quote or line end quoted.
std::string Written(const std::string& field) {
  std::string cell = field;
  const char first = cell.empty() ? '\0' : cell[0];
  if (first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' ||
      first == '\r') {
    cell.insert(0, 1, '\'');
  }
  if (cell.find_first_of(",\"\r\n") == std::string::npos && !cell.starts_with('"')) return cell;
  std::string quoted = "\"";
  for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const uint8_t choice = in.U8();
  const std::string text(in.Rest());

  // The first name of a sample row, for --series and --label.
  const fmrplot::SampleLog log = fmrplot::ReadSampleLog(text);
  std::vector<std::string> args;
  if (!log.series.empty() && (choice & 1) != 0)
    args.insert(args.end(), {"--series", log.series[0].name});
  if (!log.series.empty() && (choice & 2) != 0) {
    args.insert(args.end(), {"--label", log.series[0].name + "=" + text.substr(0, 12)});
  }
  if ((choice & 4) != 0) args.insert(args.end(), {"--width", "660", "--height", "200"});
  if ((choice & 8) != 0) args.insert(args.end(), {"--title", text.substr(0, 40)});

  std::istringstream input(text);
  std::ostringstream out, err;
  const int status = fmrplot::Run(args, input, out, err);
  const std::string svg = out.str();
  Require(status == 0 || status == 2, "status 0 or 2");
  if (status == 2) {
    Require(svg.empty(), "no picture after a refusal");
  } else {
    Require(svg.starts_with("<?xml") && svg.ends_with("</svg>\n"), "one whole SVG");
    RequireNumericGeometry(svg);
    size_t start = 0;
    for (size_t end = svg.find('\n'); end != std::string::npos; end = svg.find('\n', start)) {
      Require(tooltext::IsReportText(std::string_view(svg).substr(start, end - start)),
              "valid UTF-8 without control characters");
      start = end + 1;
    }
  }

  // Records written back read as the same fields (a cell that starts with
  // ' is left out: benchora's guard cannot tell it from a guarded one).
  fmrplot::CsvReader reader(text);
  for (int records = 0; records < 64; ++records) {
    const auto record = reader.Next();
    if (!record) break;
    if (record->unclosed) continue;
    bool guarded = false;
    std::string line;
    for (size_t i = 0; i < record->fields.size(); ++i) {
      guarded = guarded || record->fields[i].starts_with('\'');
      line += (i == 0 ? "" : ",") + Written(record->fields[i]);
    }
    if (guarded) continue;
    line += "\r\n";
    fmrplot::CsvReader again(line);
    const auto back = again.Next();
    Require(back && !back->unclosed && !again.Next(), "one record back");
    Require(back->fields.size() == record->fields.size(), "as many fields back");
    for (size_t i = 0; i < back->fields.size(); ++i) {
      Require(fmrplot::WithoutFormulaGuard(back->fields[i]) == record->fields[i],
              "the same field back");
    }
  }
  return 0;
}
