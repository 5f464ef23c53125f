// The CSV report: RFC 4180 rows that a spreadsheet opens safely. Every cell
// is report text (control bytes and broken UTF-8 as \xHH); a cell that a
// spreadsheet would take for a formula (beginning with =, +, -, @, a tab or
// a carriage return, and not a number) gets a leading apostrophe. The file
// starts with the run's identity as # comment lines.
#pragma once

#include <string>

#include <vector>

#include "report/junit_report.h"
#include "report/record.h"
#include "report/run_identity.h"

namespace benchora {

[[nodiscard]] std::string CsvField(const std::string& text);
// The comment lines and the header row.
[[nodiscard]] std::string CsvHead(const RunIdentity& identity);
// The CSV row of a record, with its line feed; `dut` fills the last column.
[[nodiscard]] std::string CsvRow(const Record& record, const std::string& dut);

}  // namespace benchora

namespace benchora {

// A station's CSV: # lines naming the station and each handset's run, the
// header row, then every handset's rows with its name in the dut column.
[[nodiscard]] std::string CsvStation(const std::string& station,
                                     const std::vector<HandsetReport>& handsets);

}  // namespace benchora
