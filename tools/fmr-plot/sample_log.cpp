#include "fmr-plot/sample_log.h"

#include <charconv>
#include <cstdlib>
#include <optional>

namespace fmrplot {
namespace {

constexpr size_t kMostSeries = 16;

// The fields of one CSV row: commas separate them; a field in double
// quotes may hold commas, and "" stands for one quote.
std::optional<std::vector<std::string>> CsvFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

std::optional<double> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || value != value) return std::nullopt;
  return value;
}

}  // namespace

bool IsSampleHeader(std::string_view first_line) {
  return first_line.starts_with("time_ms,name,value,unit");
}

SampleLog ReadSampleLog(std::string_view text) {
  SampleLog log;
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number == 1) {
      if (!IsSampleHeader(line)) {
        log.error = "not a measurement CSV (no time_ms,name,value,unit header)";
        return log;
      }
      continue;
    }
    if (line.empty()) continue;
    const auto fields = CsvFields(line);
    uint64_t time = 0;
    const bool row = fields && fields->size() >= 7;
    if (row) {
      const std::string& t = (*fields)[0];
      const auto [last, ec] = std::from_chars(t.data(), t.data() + t.size(), time);
      if (ec != std::errc() || last != t.data() + t.size() || t.empty()) {
        log.skipped_lines.push_back(number);
        continue;
      }
    }
    if (!row) {
      log.skipped_lines.push_back(number);
      continue;
    }
    if (!(*fields)[6].empty()) continue;  // a check's row, not a sample
    const std::optional<double> value = Number((*fields)[2]);
    if (!value) {
      log.skipped_lines.push_back(number);
      continue;
    }
    SampleSeries* series = nullptr;
    for (SampleSeries& s : log.series) {
      if (s.name == (*fields)[1]) series = &s;
    }
    if (series == nullptr) {
      if (log.series.size() == kMostSeries) continue;
      log.series.push_back({(*fields)[1], (*fields)[3], {}});
      series = &log.series.back();
    }
    series->points.push_back({time, *value});
  }
  if (log.series.empty() && log.error.empty()) log.error = "no sample rows with a numeric value";
  return log;
}

}  // namespace fmrplot
