// Fuzz target of fmr-rds: any bytes, taken as decode-log text, go through the
// line reader, the station decoder and all three outputs. Besides not
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
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const auto output : {fmrrds::OutputKind::kGroups, fmrrds::OutputKind::kSummaryJson,
                            fmrrds::OutputKind::kSummaryText}) {
    fmrrds::DecodeOptions options;
    options.output = output;
    options.table = output == fmrrds::OutputKind::kSummaryText ? fmrrds::PtyTable::kRbds
                                                               : fmrrds::PtyTable::kRds;
    std::istringstream in(text);
    std::ostringstream out;
    std::ostringstream err;
    fmrrds::DecodeStream(in, options, out, err);
    if (output != fmrrds::OutputKind::kSummaryText && !IsJsonLines(out.str())) __builtin_trap();
  }
  return 0;
}
