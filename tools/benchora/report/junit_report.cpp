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

struct Totals {
  size_t tests = 0;
  int failures = 0;
  int errors = 0;
  int skipped = 0;
};

// One <testsuite> named `name` of the records that `in_suite` picks; each
// test case's class is its command's suite (script, -e).
template <typename Picks>
std::string SuiteXml(const std::string& name, const std::vector<const Record*>& records,
                     Picks in_suite, const RunIdentity& identity, Totals& totals) {
  Totals suite_totals;
  std::string cases;
  for (const Record* r : records) {
    if (!in_suite(*r)) continue;
    const std::string suite = SuiteOf(r->origin);
    ++suite_totals.tests;
    cases += "    <testcase classname=\"" + Xml(suite) + "\" name=\"" + Xml(r->test) + "\"";
    const std::string line = LineOf(r->origin);
    if (!suite.starts_with('-') && !line.empty())
      cases += " file=\"" + Xml(suite) + "\" line=\"" + line + "\"";
    cases += " time=\"0\"";
    if (r->kind == RecordKind::kSkipped) {
      ++suite_totals.skipped;
      cases += ">\n      <skipped message=\"" + Xml(r->message) + "\"/>\n    </testcase>\n";
      continue;
    }
    if (r->pass) {
      cases += "/>\n";
      continue;
    }
    const bool error = r->kind == RecordKind::kProblem;
    (error ? suite_totals.errors : suite_totals.failures) += 1;
    const char* element = error ? "error" : "failure";
    const char* type = error ? "command" : "verify";
    cases += ">\n      <" + std::string(element) + " message=\"" + Xml(r->message) + "\" type=\"" +
             type + "\">" + Xml(r->origin + ": " + r->message) + "</" + element +
             ">\n    </testcase>\n";
  }
  totals.tests += suite_totals.tests;
  totals.failures += suite_totals.failures;
  totals.errors += suite_totals.errors;
  totals.skipped += suite_totals.skipped;
  std::string out = "  <testsuite name=\"" + Xml(name) + "\" tests=\"" +
                    std::to_string(suite_totals.tests) + "\" failures=\"" +
                    std::to_string(suite_totals.failures) + "\" errors=\"" +
                    std::to_string(suite_totals.errors) + "\" skipped=\"" +
                    std::to_string(suite_totals.skipped) + "\"";
  if (!identity.timestamp.empty()) out += " timestamp=\"" + Xml(identity.timestamp) + "\"";
  if (!identity.hostname.empty()) out += " hostname=\"" + Xml(identity.hostname) + "\"";
  return out + ">\n" + Properties(identity) + cases + "  </testsuite>\n";
}

std::vector<const Record*> Cases(const std::vector<Record>& all) {
  std::vector<const Record*> records;
  for (const Record& r : all) {
    if (r.kind != RecordKind::kSample) records.push_back(&r);
  }
  return records;
}

std::string Document(const Totals& totals, const std::string& suites) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"benchora\" tests=\"" +
         std::to_string(totals.tests) + "\" failures=\"" + std::to_string(totals.failures) +
         "\" errors=\"" + std::to_string(totals.errors) + "\" skipped=\"" +
         std::to_string(totals.skipped) + "\">\n" + suites + "</testsuites>\n";
}

}  // namespace

std::string JunitXml(const std::vector<Record>& all, const RunIdentity& identity) {
  const std::vector<const Record*> records = Cases(all);
  std::vector<std::string> names;
  for (const Record* r : records) {
    const std::string suite = SuiteOf(r->origin);
    if (std::find(names.begin(), names.end(), suite) == names.end()) names.push_back(suite);
  }
  Totals totals;
  std::string suites;
  for (const std::string& name : names) {
    suites += SuiteXml(
        name, records, [&name](const Record& r) { return SuiteOf(r.origin) == name; }, identity,
        totals);
  }
  return Document(totals, suites);
}

std::string JunitStationXml(const std::vector<HandsetReport>& handsets) {
  Totals totals;
  std::string suites;
  for (const HandsetReport& handset : handsets) {
    suites += SuiteXml(
        handset.name, Cases(handset.records), [](const Record&) { return true; }, handset.identity,
        totals);
  }
  return Document(totals, suites);
}

}  // namespace benchora
