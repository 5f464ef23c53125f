// Fuzz target of fmr-rds: any bytes, taken as RDS text in one of the input
// layouts (guessed, decode log, hex interchange lines, second-generation
// report rows), go through the line reader, the station decoder and one of
// the four outputs. Besides not crashing, every line of the JSON outputs
// must parse back as one JSON object whose strings are all report text
// (valid UTF-8 without control characters), every line of the text summary
// must be report text, and the hex output must read back as the same number
// of groups.
#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fmr-rds/cli.h"
#include "text/report_text.h"

namespace {

// The lines of `text`, each ended by a line feed; false when the last one
// is not ended or one is empty.
template <typename Check>
bool EveryLine(const std::string& text, Check check) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos || end == start) return false;
    if (!check(std::string_view(text).substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

bool StringsAreReportText(const nlohmann::json& value) {
  if (value.is_string()) return tooltext::IsReportText(value.get_ref<const std::string&>());
  if (value.is_structured()) {
    for (const auto& [key, item] : value.items()) {
      if (!tooltext::IsReportText(key) || !StringsAreReportText(item)) return false;
    }
  }
  return true;
}

bool IsJsonObjectLine(std::string_view line) {
  // Raw control bytes never reach the output; UTF-8 does, as it is.
  if (!tooltext::IsReportText(line)) return false;
  const nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
  return parsed.is_object() && StringsAreReportText(parsed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the output, the input layout, the programme-type
  // table and the error-rate window, so each input is decoded once and the
  // campaign covers every combination.
  constexpr fmrrds::OutputKind kOutputs[] = {
      fmrrds::OutputKind::kGroups, fmrrds::OutputKind::kSummaryJson,
      fmrrds::OutputKind::kSummaryText, fmrrds::OutputKind::kHex};
  constexpr fmrrds::InputFormat kInputs[] = {fmrrds::InputFormat::kAuto, fmrrds::InputFormat::kLog,
                                             fmrrds::InputFormat::kHex, fmrrds::InputFormat::kGen2};
  fmrrds::DecodeOptions options;
  options.output = kOutputs[data[0] % 4];
  options.input = kInputs[(data[0] >> 2) % 4];
  options.table = (data[0] & 0x80) != 0 ? fmrrds::PtyTable::kRbds : fmrrds::PtyTable::kRds;
  options.bler_window = 1 + ((data[0] >> 4) & 0x7);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::ostringstream out;
  std::ostringstream err;
  const fmrrds::DecodeResult result = fmrrds::DecodeStream(in, options, out, err);
  if ((options.output == fmrrds::OutputKind::kGroups ||
       options.output == fmrrds::OutputKind::kSummaryJson) &&
      !EveryLine(out.str(), IsJsonObjectLine))
    __builtin_trap();
  if (options.output == fmrrds::OutputKind::kSummaryText &&
      !EveryLine(out.str(), [](std::string_view line) { return tooltext::IsReportText(line); }))
    __builtin_trap();
  if (options.output == fmrrds::OutputKind::kHex) {
    fmrrds::DecodeOptions again;
    again.output = fmrrds::OutputKind::kSummaryJson;
    again.input = fmrrds::InputFormat::kHex;
    std::istringstream hex(out.str());
    std::ostringstream ignored;
    const fmrrds::DecodeResult reread = fmrrds::DecodeStream(hex, again, ignored, ignored);
    if (reread.groups != result.groups || reread.malformed_lines != 0) __builtin_trap();
  }
  return 0;
}
