#include "reports.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace benchora {
namespace {

constexpr char kCsvHeader[] = "time_ms,name,value,unit,low,high,verdict,origin";

const char* VerdictWord(const Record& r) {
  switch (r.kind) {
    case RecordKind::kCheck:
      return r.pass ? "PASS" : "FAIL";
    case RecordKind::kSample:
      return "";
    case RecordKind::kProblem:
      return "ERROR";
    case RecordKind::kSkipped:
      return "SKIPPED";
  }
  return "";
}

// Text for XML attributes and content. Control bytes other than tab and
// line feed cannot stand in XML 1.0 at all: they are written as \xHH.
std::string Xml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '\n') {
      out += "&#10;";
    } else if (byte < 0x20 || byte == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      (out += '\\') += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string LineOf(const std::string& origin) {
  const size_t colon = origin.rfind(':');
  return colon == std::string::npos ? std::string() : origin.substr(colon + 1);
}

}  // namespace

std::string SuiteOf(const std::string& origin) {
  // Commands of options ("-e 3", "--fault 1") form a suite per option.
  if (origin.starts_with('-')) return origin.substr(0, origin.find(' '));
  const size_t colon = origin.rfind(':');
  return colon == std::string::npos ? origin : origin.substr(0, colon);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string CsvRow(const Record& r) {
  return std::to_string(r.time_ms) + ',' + CsvField(r.name) + ',' + CsvField(r.value) + ',' +
         CsvField(r.unit) + ',' + CsvField(r.low) + ',' + CsvField(r.high) + ',' + VerdictWord(r) +
         ',' + CsvField(r.origin) + '\n';
}

std::string JunitXml(const std::vector<Record>& records) {
  std::vector<std::string> suites;
  int failures = 0;
  int errors = 0;
  for (const Record& r : records) {
    const std::string suite = SuiteOf(r.origin);
    if (std::find(suites.begin(), suites.end(), suite) == suites.end()) suites.push_back(suite);
    if (r.kind == RecordKind::kProblem) {
      ++errors;
    } else if (!r.pass && r.kind != RecordKind::kSkipped) {
      ++failures;
    }
  }
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<testsuites name=\"benchora\" tests=\"" + std::to_string(records.size()) +
         "\" failures=\"" + std::to_string(failures) + "\" errors=\"" + std::to_string(errors) +
         "\">\n";
  for (const std::string& suite : suites) {
    int tests = 0;
    int failed = 0;
    int erred = 0;
    int skipped = 0;
    std::string cases;
    for (const Record& r : records) {
      if (SuiteOf(r.origin) != suite) continue;
      ++tests;
      cases += "    <testcase classname=\"" + Xml(suite) + "\" name=\"" + Xml(r.test) + "\"";
      const std::string line = LineOf(r.origin);
      if (!suite.starts_with('-') && !line.empty())
        cases += " file=\"" + Xml(suite) + "\" line=\"" + line + "\"";
      cases += " time=\"0\"";
      if (r.kind == RecordKind::kSkipped) {
        ++skipped;
        cases += ">\n      <skipped message=\"" + Xml(r.message) + "\"/>\n    </testcase>\n";
        continue;
      }
      if (r.pass) {
        cases += "/>\n";
        continue;
      }
      // A limit missed is a failure of the radio; something that went wrong
      // in a command (an error line, a refusal, a rule that never fired) an
      // error of the run.
      const bool error = r.kind == RecordKind::kProblem;
      (error ? erred : failed) += 1;
      const char* element = error ? "error" : "failure";
      const char* type = error ? "command" : "verify";
      cases += ">\n      <" + std::string(element) + " message=\"" + Xml(r.message) + "\" type=\"" +
               type + "\">" + Xml(r.origin + ": " + r.message) + "</" + element +
               ">\n    </testcase>\n";
    }
    out += "  <testsuite name=\"" + Xml(suite) + "\" tests=\"" + std::to_string(tests) +
           "\" failures=\"" + std::to_string(failed) + "\" errors=\"" + std::to_string(erred) +
           "\" skipped=\"" + std::to_string(skipped) + "\">\n" + cases + "  </testsuite>\n";
  }
  return out + "</testsuites>\n";
}

std::string JsonLine(const Record& r) {
  const char* kind = r.kind == RecordKind::kCheck     ? "check"
                     : r.kind == RecordKind::kSample  ? "sample"
                     : r.kind == RecordKind::kSkipped ? "skipped"
                                                      : "problem";
  return std::string("{\"kind\":\"") + kind + "\",\"time_ms\":" + std::to_string(r.time_ms) +
         ",\"origin\":" + Json(r.origin) + ",\"name\":" + Json(r.name) +
         ",\"value\":" + Json(r.value) + ",\"unit\":" + Json(r.unit) + ",\"low\":" + Json(r.low) +
         ",\"high\":" + Json(r.high) + ",\"verdict\":" + Json(VerdictWord(r)) +
         ",\"message\":" + Json(r.message) + "}";
}

bool Reports::Open(const std::string& csv_path, const std::string& junit_path, bool json,
                   std::string& error) {
  json_ = json;
  junit_path_ = junit_path;
  if (!csv_path.empty()) {
    csv_.open(csv_path, std::ios::out | std::ios::trunc);
    if (!csv_) {
      error = "cannot write " + csv_path;
      return false;
    }
    csv_ << kCsvHeader << '\n' << std::flush;
  }
  if (!junit_path.empty()) {
    // Made now, so a path that cannot be written stops the run before it starts.
    std::ofstream probe(junit_path, std::ios::out | std::ios::trunc);
    if (!probe) {
      error = "cannot write " + junit_path;
      return false;
    }
  }
  return true;
}

void Reports::Add(const Record& r) {
  if (r.kind == RecordKind::kCheck && !r.pass) ++failed_checks_;
  if (r.kind != RecordKind::kSample) cases_.push_back(r);
  if (csv_.is_open()) csv_ << CsvRow(r) << std::flush;
  if (json_) std::cout << JsonLine(r) << std::endl;
}

bool Reports::Finish(std::string& error) {
  if (junit_path_.empty()) return true;
  std::ofstream out(junit_path_, std::ios::out | std::ios::trunc);
  out << JunitXml(cases_);
  out.close();
  if (!out) {
    error = "cannot write " + junit_path_;
    return false;
  }
  return true;
}

}  // namespace benchora
