#include "fmr-plot/scan_log.h"

#include <charconv>
#include <istream>
#include <optional>
#include <string_view>

namespace fmrplot {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The non-empty tab-separated fields, blanks around them removed.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start <= line.size()) {
    size_t end = line.find('\t', start);
    if (end == std::string_view::npos) end = line.size();
    const std::string_view field = Trimmed(line.substr(start, end - start));
    if (!field.empty()) fields.push_back(field);
    start = end + 1;
  }
  return fields;
}

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool IsHeader(std::string_view line) {
  // A UTF-8 byte order mark, should an editor have added one.
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  const auto fields = Fields(line);
  return fields.size() == 4 && fields[0] == "Frequency" && fields[1] == "RSSI Level" &&
         fields[2] == "CP Value" && fields[3] == "Sideband";
}

std::optional<ScanPoint> ScanLine(std::string_view line, std::string& problem) {
  const auto fields = Fields(line);
  if (fields.size() != 4) {
    problem = "expected 4 tab-separated fields, found " + std::to_string(fields.size());
    return std::nullopt;
  }
  ScanPoint p;
  const auto frequency = Number<uint32_t>(fields[0]);
  const auto rssi = Number<int16_t>(fields[1]);
  const auto cp = Number<uint32_t>(fields[2]);
  if (!frequency || *frequency == 0) {
    problem = "frequency is not a number of Hz: " + std::string(fields[0]);
    return std::nullopt;
  }
  if (!rssi) {
    problem = "RSSI is not a signed 16-bit number: " + std::string(fields[1]);
    return std::nullopt;
  }
  if (!cp) {
    problem = "CP value is not an unsigned number: " + std::string(fields[2]);
    return std::nullopt;
  }
  if (fields[3] == "High") {
    p.sideband = Sideband::kHigh;
  } else if (fields[3] == "Low") {
    p.sideband = Sideband::kLow;
  } else {
    problem = "sideband is neither High nor Low: " + std::string(fields[3]);
    return std::nullopt;
  }
  p.frequency_hz = *frequency;
  p.rssi_dbuv = *rssi;
  p.cp = *cp;
  return p;
}

}  // namespace

ScanLog ReadScanLog(std::istream& in) {
  ScanLog log;
  std::string line;
  size_t number = 0;
  bool header = false;
  bool any_line = false;
  while (std::getline(in, line)) {
    ++number;
    if (Trimmed(line).empty()) continue;
    any_line = true;
    if (!header) {
      if (!IsHeader(line)) {
        log.error = "line " + std::to_string(number) +
                    " is not the RSSI scan log header "
                    "\"Frequency<TAB><TAB>RSSI Level<TAB><TAB>CP Value<TAB><TAB>Sideband\"";
        return log;
      }
      header = true;
      continue;
    }
    std::string problem;
    if (auto point = ScanLine(line, problem)) {
      point->line = number;
      log.points.push_back(*point);
    } else {
      log.problems.push_back({number, problem});
    }
  }
  if (!any_line) {
    log.error = "the log is empty";
  } else if (log.points.empty()) {
    log.error = log.problems.empty() ? "the log has a header but no scan lines"
                                     : "the log has no valid scan line";
  }
  return log;
}

}  // namespace fmrplot
