// The JUnit XML report: a test suite per script (or per option such as -e
// and --fault), a test case per check and per command that went wrong. A
// limit missed is a <failure>; something that went wrong in a command (an
// error line, a refusal, a fault rule that never fired, a run that could
// not start or timed out) an <error>; a check not run is <skipped>. Each
// suite carries the run's identity. Every text is report text, so the file
// is valid XML whatever the radio sent.
#pragma once

#include <string>
#include <vector>

#include "report/record.h"
#include "report/run_identity.h"

namespace benchora {

// The JUnit XML of the records (samples are left out).
[[nodiscard]] std::string JunitXml(const std::vector<Record>& records, const RunIdentity& identity);

// One handset of a station: its name, what its run is about and its records.
struct HandsetReport {
  std::string name;
  RunIdentity identity;
  std::vector<Record> records;
};
// A station's JUnit XML: a test suite per handset, named by it, with all of
// its run's checks and problems (each test case's class names its script).
[[nodiscard]] std::string JunitStationXml(const std::vector<HandsetReport>& handsets);

}  // namespace benchora
