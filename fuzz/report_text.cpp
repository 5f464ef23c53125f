// Text made safe for reports, from any bytes.
//
// Checks: the result is storable text (valid UTF-8, no control characters,
// no noncharacters), text that already is comes back unchanged, and making
// it safe twice changes nothing more.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/report_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string safe = tooltext::ReportText(text);
  const auto require = [](bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "report_text: %s\n", what);
    std::abort();
  };
  require(tooltext::IsReportText(safe), "the result is storable");
  require(tooltext::ReportText(safe) == safe, "a storable text stays as it is");
  require(!tooltext::IsReportText(text) || safe == text, "storable input comes back unchanged");
  return 0;
}
