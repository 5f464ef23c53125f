// The records of a comma-separated text as RFC 4180 writes them: fields
// separated by commas, records by line ends (LF or CRLF); a field in double
// quotes may hold commas, line ends and quotes (doubled), all of which
// belong to the field. benchora's measurement CSV is read this way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fmrplot {

struct CsvRecord {
  std::vector<std::string> fields;  // an empty line gives one empty field
  size_t line = 0;                  // the line the record starts on
  bool unclosed = false;            // a quoted field ran on to the end of the text
};

class CsvReader {
 public:
  // `first_line` is the number of the text's first line in its file.
  explicit CsvReader(std::string_view text, size_t first_line = 1)
      : text_(text), line_(first_line) {}
  // The reader keeps a view of the text: a temporary would be gone.
  CsvReader(std::string&&, size_t = 1) = delete;

  // The next record; nullopt once the text is used up. A quote that does
  // not open a field stands for itself, as do the characters between a
  // closing quote and the next comma.
  [[nodiscard]] std::optional<CsvRecord> Next();

 private:
  std::string_view text_;
  size_t pos_ = 0;
  size_t line_;
};

// benchora writes a text cell that a spreadsheet would take for a formula
// (one starting with =, +, -, @, tab or CR) with a ' in front; this is the
// cell as it was. Other cells, numbers among them, stand as they are.
[[nodiscard]] std::string WithoutFormulaGuard(std::string cell);

}  // namespace fmrplot
