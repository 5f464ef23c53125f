// What a run measured, for a test station or a CI system to read: the
// checks' verdicts, the samples, and the commands that went wrong where the
// script did not expect it. --csv writes a row for each as it comes,
// --json a line on standard output, --report a JUnit XML file at the end
// (a test suite for each script, a test case for each check or command
// that went wrong).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

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

class Reports {
 public:
  // Empty paths write no file. False with `error` set when a file cannot be
  // created.
  [[nodiscard]] bool Open(const std::string& csv_path, const std::string& junit_path, bool json,
                          std::string& error);
  void Add(const Record& record);
  // Writes the JUnit file. False with `error` set when it cannot be written.
  [[nodiscard]] bool Finish(std::string& error);

  // Checks that failed so far.
  int failed_checks() const { return failed_checks_; }

 private:
  std::ofstream csv_;
  std::string junit_path_;
  bool json_ = false;
  std::vector<Record> cases_;  // checks and problems, for the JUnit file
  int failed_checks_ = 0;
};

// The suite a command belongs to: its script file, "-e" or "stdin".
std::string SuiteOf(const std::string& origin);
// One CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);
// The CSV row of a record, with its line feed.
std::string CsvRow(const Record& record);
// The JUnit XML of the records (checks and problems only).
std::string JunitXml(const std::vector<Record>& records);
// One JSON line for a record.
std::string JsonLine(const Record& record);

}  // namespace benchora
