// The fmr-rds command line: options, the decode loop over an input stream
// and the exit status.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "fmr-rds/block_error_rate.h"
#include "fmr-rds/group_reader.h"
#include "fmr-rds/programme_types.h"

namespace fmrrds {

enum class OutputKind { kGroups, kHex, kSummaryText, kSummaryJson };

struct DecodeOptions {
  PtyTable table = PtyTable::kRds;
  OutputKind output = OutputKind::kGroups;
  InputFormat input = InputFormat::kAuto;
  size_t bler_window = BlockErrorRate::kDefaultWindow;
  std::string input_name = "<stdin>";  // names the input in problem lines
};

// Malformed lines reported on the error stream before the rest is only counted.
inline constexpr size_t kMaxReportedProblems = 100;

struct DecodeResult {
  size_t groups = 0;
  size_t malformed_lines = 0;
  // Why the input could not be read to its end (the system's reason, or a
  // line too long to be RDS text); empty when it was. No summary is written
  // then: it would stand for data never read.
  std::string input_error;
};

// Decodes every line of `in` and writes the chosen output to `out`; each
// malformed line (up to kMaxReportedProblems) gets a line on `err`. Reads
// through `in`'s stream buffer: a read error it throws as std::system_error
// ends up in input_error; other exceptions (std::bad_alloc) pass through.
DecodeResult DecodeStream(std::istream& in, const DecodeOptions& options, std::ostream& out,
                          std::ostream& err);

std::string UsageText();

// The whole program: 0 decoded, 1 the input held no group but malformed
// lines (not RDS data), the --output file could not be written or memory
// ran out, 2 bad options, an input that cannot be read to its end (a
// folder, a device that fails: "fmr-rds: cannot read FILE: REASON") or an
// --output that cannot be opened or is the input. `standard_input` is read
// through its stream buffer (main's reports read errors:
// tooltext::CheckedInputBuf). Writes to `out` and `err` are the caller's to check (main's
// checked outputs); decoding stops once `out` fails.
int Run(const std::vector<std::string>& args, std::istream& standard_input, std::ostream& out,
        std::ostream& err);

}  // namespace fmrrds
