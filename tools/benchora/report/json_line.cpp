#include "report/json_line.h"

#include <nlohmann/json.hpp>

#include "text/report_text.h"

namespace benchora {

std::string JsonLine(const Record& r, const std::string& dut) {
  const char* kind = r.kind == RecordKind::kCheck     ? "check"
                     : r.kind == RecordKind::kSample  ? "sample"
                     : r.kind == RecordKind::kSkipped ? "skipped"
                                                      : "problem";
  const auto text = [](const std::string& value) { return tooltext::ReportText(value); };
  nlohmann::ordered_json line;
  line["kind"] = kind;
  line["time_ms"] = r.time_ms;
  line["origin"] = text(r.origin);
  line["name"] = text(r.name);
  line["value"] = text(r.value);
  line["unit"] = text(r.unit);
  line["low"] = text(r.low);
  line["high"] = text(r.high);
  line["verdict"] = VerdictWord(r);
  line["message"] = text(r.message);
  if (!dut.empty()) line["dut"] = text(dut);
  // Report text is valid UTF-8: replacing is never needed, and never throws.
  return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace benchora
