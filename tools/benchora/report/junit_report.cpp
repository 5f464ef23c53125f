#include "report/junit_report.h"

#include <algorithm>

#include "text/report_text.h"

namespace benchora {
namespace {

std::string Xml(const std::string& text) {
  return tooltext::XmlText(text);
}

std::string LineOf(const std::string& origin) {
  const size_t colon = origin.rfind(':');
  if (colon == std::string::npos) return {};
  const std::string line = origin.substr(colon + 1);
  return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos ? line
                                                                                    : std::string();
}

std::string Properties(const RunIdentity& identity) {
  const auto properties = identity.Properties();
  if (properties.empty()) return {};
  std::string out = "    <properties>\n";
  for (const auto& [name, value] : properties) {
    out += "      <property name=\"" + Xml(name) + "\" value=\"" + Xml(value) + "\"/>\n";
  }
  return out + "    </properties>\n";
}

}  // namespace

std::string JunitXml(const std::vector<Record>& all, const RunIdentity& identity) {
  std::vector<const Record*> records;
  for (const Record& r : all) {
    if (r.kind != RecordKind::kSample) records.push_back(&r);
  }
  std::vector<std::string> suites;
  int failures = 0;
  int errors = 0;
  int skipped_total = 0;
  for (const Record* r : records) {
    const std::string suite = SuiteOf(r->origin);
    if (std::find(suites.begin(), suites.end(), suite) == suites.end()) suites.push_back(suite);
    if (r->kind == RecordKind::kProblem) {
      ++errors;
    } else if (r->kind == RecordKind::kSkipped) {
      ++skipped_total;
    } else if (!r->pass) {
      ++failures;
    }
  }
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<testsuites name=\"benchora\" tests=\"" + std::to_string(records.size()) +
         "\" failures=\"" + std::to_string(failures) + "\" errors=\"" + std::to_string(errors) +
         "\" skipped=\"" + std::to_string(skipped_total) + "\">\n";
  const std::string properties = Properties(identity);
  for (const std::string& suite : suites) {
    int tests = 0;
    int failed = 0;
    int erred = 0;
    int skipped = 0;
    std::string cases;
    for (const Record* r : records) {
      if (SuiteOf(r->origin) != suite) continue;
      ++tests;
      cases += "    <testcase classname=\"" + Xml(suite) + "\" name=\"" + Xml(r->test) + "\"";
      const std::string line = LineOf(r->origin);
      if (!suite.starts_with('-') && !line.empty())
        cases += " file=\"" + Xml(suite) + "\" line=\"" + line + "\"";
      cases += " time=\"0\"";
      if (r->kind == RecordKind::kSkipped) {
        ++skipped;
        cases += ">\n      <skipped message=\"" + Xml(r->message) + "\"/>\n    </testcase>\n";
        continue;
      }
      if (r->pass) {
        cases += "/>\n";
        continue;
      }
      const bool error = r->kind == RecordKind::kProblem;
      (error ? erred : failed) += 1;
      const char* element = error ? "error" : "failure";
      const char* type = error ? "command" : "verify";
      cases += ">\n      <" + std::string(element) + " message=\"" + Xml(r->message) +
               "\" type=\"" + type + "\">" + Xml(r->origin + ": " + r->message) + "</" + element +
               ">\n    </testcase>\n";
    }
    out += "  <testsuite name=\"" + Xml(suite) + "\" tests=\"" + std::to_string(tests) +
           "\" failures=\"" + std::to_string(failed) + "\" errors=\"" + std::to_string(erred) +
           "\" skipped=\"" + std::to_string(skipped) + "\"";
    if (!identity.timestamp.empty()) out += " timestamp=\"" + Xml(identity.timestamp) + "\"";
    if (!identity.hostname.empty()) out += " hostname=\"" + Xml(identity.hostname) + "\"";
    out += ">\n" + properties + cases + "  </testsuite>\n";
  }
  return out + "</testsuites>\n";
}

}  // namespace benchora
