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

}  // namespace benchora
