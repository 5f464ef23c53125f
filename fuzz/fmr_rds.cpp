// Fuzz target of fmr-rds: any bytes, taken as decode-log text, go through the
// line reader, the station decoder and one of the three outputs. Besides not
// crashing, the JSON outputs must stay printable ASCII, one object per line.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fmr-rds/cli.h"

namespace {

bool IsJsonLines(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos || end == start) return false;
    if (text[start] != '{' || text[end - 1] != '}') return false;
    for (size_t i = start; i < end; ++i) {
      if (text[i] < 0x20 || text[i] > 0x7E) return false;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the output and the programme-type table, so each
  // input is decoded once and the campaign covers all three outputs.
  constexpr fmrrds::OutputKind kOutputs[] = {fmrrds::OutputKind::kGroups,
                                             fmrrds::OutputKind::kSummaryJson,
                                             fmrrds::OutputKind::kSummaryText};
  fmrrds::DecodeOptions options;
  options.output = kOutputs[data[0] % 3];
  options.table = (data[0] & 0x80) != 0 ? fmrrds::PtyTable::kRbds : fmrrds::PtyTable::kRds;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::ostringstream out;
  std::ostringstream err;
  fmrrds::DecodeStream(in, options, out, err);
  if (options.output != fmrrds::OutputKind::kSummaryText && !IsJsonLines(out.str()))
    __builtin_trap();
  return 0;
}
