#include "fmr-plot/sample_log.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>

#include "fmr-plot/cell_number.h"
#include "fmr-plot/csv_records.h"
#include "text/report_text.h"

namespace fmrplot {
namespace {

constexpr size_t kMostQuotedCell = 32;  // characters of a refused cell in a message

enum Column : size_t { kTime, kName, kValue, kUnit, kLow, kHigh, kVerdict, kColumnCount };
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "time_ms", "name", "value", "unit", "low", "high", "verdict"};
constexpr size_t kNoColumn = std::numeric_limits<size_t>::max();

// Where each column stands in the rows; kNoColumn when the header lacks it.
using Columns = std::array<size_t, kColumnCount>;

// The text after the comment lines and a byte order mark, and the number
// of its first line.
std::string_view AfterComments(std::string_view text, size_t& first_line) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  first_line = 1;
  while (text.starts_with('#')) {
    const size_t end = text.find('\n');
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++first_line;
  }
  return text;
}

std::optional<Columns> HeaderColumns(const CsvRecord& header) {
  Columns columns;
  columns.fill(kNoColumn);
  for (size_t i = 0; i < header.fields.size(); ++i) {
    for (size_t c = 0; c < kColumnCount; ++c) {
      if (header.fields[i] == kColumnNames[c] && columns[c] == kNoColumn) columns[c] = i;
    }
  }
  if (header.unclosed || columns[kTime] == kNoColumn || columns[kName] == kNoColumn ||
      columns[kValue] == kNoColumn) {
    return std::nullopt;
  }
  return columns;
}

std::string Quoted(const std::string& cell) {
  std::string shown = tooltext::ReportText(cell.substr(0, kMostQuotedCell));
  if (cell.size() > kMostQuotedCell) shown += "...";
  return "\"" + shown + "\"";
}

// Everything read of the check rows of one name.
struct NameChecks {
  std::vector<SamplePoint> points;
  std::map<double, LimitLine> limits;
};

class Reader {
 public:
  explicit Reader(SampleLog& log) : log_(log) {}

  // Takes one data row; false when a number in it refuses the file.
  bool Row(const CsvRecord& record, const Columns& columns) {
    const auto cell = [&](Column c) {
      return columns[c] < record.fields.size() ? WithoutFormulaGuard(record.fields[columns[c]])
                                               : std::string();
    };
    const size_t needed = std::max({columns[kTime], columns[kName], columns[kValue]});
    const std::string name = cell(kName);
    if (record.unclosed || record.fields.size() <= needed || name.empty()) {
      log_.skipped_lines.push_back(record.line);
      return true;
    }
    line_ = record.line;
    std::optional<double> time, value, low, high;
    if (!Number(cell(kTime), "time_ms", 0, kMostTimeMs, time) ||
        !Number(cell(kValue), "value", -kMostValue, kMostValue, value) ||
        !Number(cell(kLow), "low", -kMostValue, kMostValue, low) ||
        !Number(cell(kHigh), "high", -kMostValue, kMostValue, high)) {
      return false;
    }
    const std::string verdict = cell(kVerdict);
    if (verdict.empty()) {
      if (!time || !value) {
        log_.skipped_lines.push_back(record.line);
        return true;
      }
      auto [at, added] = index_.try_emplace(name, log_.series.size());
      if (added) log_.series.push_back({name, cell(kUnit), {}, {}, {}, {}});
      log_.series[at->second].points.push_back({*time, *value, false});
    } else if (verdict == "PASS" || verdict == "FAIL") {
      NameChecks& checks = checks_[name];
      if (time && value) checks.points.push_back({*time, *value, verdict == "FAIL"});
      if (low) checks.limits[*low].low = true;
      if (high) checks.limits[*high].high = true;
      if (low && high && *low == *high) checks.limits[*low].equal = true;
    }
    return true;
  }

  // Hands the checks to the series of their names and marks the samples
  // outside their limits.
  void Finish() {
    for (SampleSeries& series : log_.series) {
      const auto found = checks_.find(series.name);
      if (found == checks_.end()) continue;
      NameChecks& checks = found->second;
      series.checks = std::move(checks.points);
      double lowest = -std::numeric_limits<double>::infinity();
      double highest = std::numeric_limits<double>::infinity();
      for (auto& [value, limit] : checks.limits) {
        limit.value = value;
        series.limits.push_back(limit);
        if (limit.low) lowest = std::max(lowest, value);
        if (limit.high) highest = std::min(highest, value);
      }
      for (SamplePoint& p : series.points) p.failed = p.value < lowest || p.value > highest;
    }
  }

 private:
  // Reads a cell that may be empty or a text (nullopt) or a number; false
  // when it is a number no plot can take, with the log's error set.
  bool Number(const std::string& text, const char* column, double least, double most,
              std::optional<double>& number) {
    const CellNumber read = ReadCellNumber(text);
    if (read.kind == CellKind::kText) return true;
    if (read.kind == CellKind::kNotFinite) {
      return Refuse(std::string(column) + " " + Quoted(text) + " is not a finite number");
    }
    if (read.value < least || read.value > most) {
      return Refuse(std::string(column) + " " + Quoted(text) + " is out of range (" +
                    (least == 0 ? "0" : "-1e12") + " to 1e12)");
    }
    number = read.value;
    return true;
  }

  bool Refuse(const std::string& why) {
    log_.error = why;
    log_.error_line = line_;
    return false;
  }

  SampleLog& log_;
  size_t line_ = 0;
  std::unordered_map<std::string, size_t> index_;  // name: its place in log_.series
  std::unordered_map<std::string, NameChecks> checks_;
};

}  // namespace

bool LooksLikeSampleLog(std::string_view text) {
  size_t first_line = 0;
  const std::string_view table = AfterComments(text, first_line);
  CsvReader reader(table, first_line);
  const auto header = reader.Next();
  return header && HeaderColumns(*header);
}

SampleLog ReadSampleLog(std::string_view text) {
  SampleLog log;
  size_t first_line = 0;
  const std::string_view table = AfterComments(text, first_line);
  CsvReader reader(table, first_line);
  const auto header = reader.Next();
  const std::optional<Columns> columns = header ? HeaderColumns(*header) : std::nullopt;
  if (!columns) {
    log.error = "not a measurement CSV (no header naming time_ms, name and value)";
    return log;
  }
  Reader rows(log);
  while (const auto record = reader.Next()) {
    if (record->fields.size() == 1 && record->fields[0].empty() && !record->unclosed) continue;
    if (!rows.Row(*record, *columns)) {
      log.series.clear();
      return log;
    }
  }
  rows.Finish();
  if (log.series.empty()) log.error = "no sample rows with a numeric value";
  return log;
}

}  // namespace fmrplot
