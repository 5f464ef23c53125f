#include "fmr-plot/csv_records.h"

namespace fmrplot {

std::optional<CsvRecord> CsvReader::Next() {
  if (pos_ >= text_.size()) return std::nullopt;
  CsvRecord record;
  record.line = line_;
  record.fields.emplace_back();
  bool quoted = false;
  bool field_start = true;
  while (pos_ < text_.size()) {
    const char c = text_[pos_++];
    std::string& field = record.fields.back();
    if (quoted) {
      if (c == '"' && pos_ < text_.size() && text_[pos_] == '"') {
        field += '"';
        ++pos_;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line_;
        field += c;
      }
      continue;
    }
    if (c == '\n') {
      ++line_;
      return record;
    }
    if (c == '\r' && (pos_ == text_.size() || text_[pos_] == '\n')) continue;
    if (c == ',') {
      record.fields.emplace_back();
      field_start = true;
      continue;
    }
    if (c == '"' && field_start) {
      quoted = true;
    } else {
      field += c;
    }
    field_start = false;
  }
  record.unclosed = quoted;
  return record;
}

std::string WithoutFormulaGuard(std::string cell) {
  if (cell.size() >= 2 && cell[0] == '\'') {
    const char next = cell[1];
    if (next == '=' || next == '+' || next == '-' || next == '@' || next == '\t' || next == '\r') {
      cell.erase(0, 1);
    }
  }
  return cell;
}

}  // namespace fmrplot
