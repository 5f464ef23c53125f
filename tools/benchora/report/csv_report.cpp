#include "report/csv_report.h"

#include "text/report_text.h"
#include "text/strict_number.h"

namespace benchora {
namespace {

constexpr char kCsvHeader[] = "time_ms,name,value,unit,low,high,verdict,origin,dut\n";

bool StartsFormula(const std::string& cell) {
  if (cell.empty()) return false;
  const char first = cell.front();
  if (first != '=' && first != '+' && first != '-' && first != '@' && first != '\t' &&
      first != '\r') {
    return false;
  }
  return !tooltext::ParseReal(cell).has_value();
}

}  // namespace

std::string CsvField(const std::string& text) {
  std::string cell = tooltext::ReportText(text);
  if (StartsFormula(cell)) cell.insert(0, 1, '\'');
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string out = "\"";
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvHead(const RunIdentity& identity) {
  std::string out;
  if (!identity.timestamp.empty()) out += "# timestamp: " + identity.timestamp + "\n";
  if (!identity.hostname.empty())
    out += "# hostname: " + tooltext::ReportText(identity.hostname) + "\n";
  for (const auto& [name, value] : identity.Properties()) {
    out += "# " + name + ": " + tooltext::ReportText(value) + "\n";
  }
  return out + kCsvHeader;
}

std::string CsvRow(const Record& r, const std::string& dut) {
  return std::to_string(r.time_ms) + ',' + CsvField(r.name) + ',' + CsvField(r.value) + ',' +
         CsvField(r.unit) + ',' + CsvField(r.low) + ',' + CsvField(r.high) + ',' + VerdictWord(r) +
         ',' + CsvField(r.origin) + ',' + CsvField(dut) + '\n';
}

std::string CsvStation(const std::string& station, const std::vector<HandsetReport>& handsets) {
  std::string out = "# station: " + tooltext::ReportText(station) + "\n";
  for (const HandsetReport& handset : handsets) {
    out += "# handset " + tooltext::ReportText(handset.name) + ":";
    const char* separator = " ";
    if (!handset.identity.timestamp.empty()) {
      out += " timestamp=" + handset.identity.timestamp;
      separator = ", ";
    }
    for (const auto& [name, value] : handset.identity.Properties()) {
      out += separator + name + "=" + tooltext::ReportText(value);
      separator = ", ";
    }
    out += "\n";
  }
  out += kCsvHeader;
  for (const HandsetReport& handset : handsets) {
    for (const Record& r : handset.records) out += CsvRow(r, handset.name);
  }
  return out;
}

}  // namespace benchora
