// One entry of a run's reports: a check's verdict, a sample, a command that
// went wrong, or a check that was not run.
#pragma once

#include <cstdint>
#include <string>

namespace benchora {

enum class RecordKind { kCheck, kSample, kProblem, kSkipped };

struct Record {
  RecordKind kind = RecordKind::kCheck;
  uint64_t time_ms = 0;  // the panel's clock
  std::string origin;    // "checks.txt:12", "-e 3"
  std::string name;      // the control or field; for a problem, the command
  std::string value;
  std::string unit;
  std::string low;
  std::string high;
  bool pass = true;     // checks; a problem never passes; a skipped check neither passes nor fails
  std::string message;  // the verdict line, or what went wrong
  std::string test;     // the test case's name: the command without its verb
};

// "PASS", "FAIL", "ERROR", "SKIPPED", or "" for a sample.
[[nodiscard]] const char* VerdictWord(const Record& record);
// The suite a command belongs to: its script file, "-e" or "stdin".
[[nodiscard]] std::string SuiteOf(const std::string& origin);

}  // namespace benchora
