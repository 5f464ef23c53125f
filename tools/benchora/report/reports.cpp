#include "report/reports.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "report/csv_report.h"
#include "report/json_line.h"
#include "report/junit_report.h"

namespace benchora {

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

std::string SuiteOf(const std::string& origin) {
  // Commands of options ("-e 3", "--fault 1") form a suite per option.
  if (origin.starts_with('-')) return origin.substr(0, origin.find(' '));
  const size_t colon = origin.rfind(':');
  return colon == std::string::npos ? origin : origin.substr(0, colon);
}

bool Reports::Open(const std::string& csv_path, const std::string& junit_path, bool json,
                   std::string& error) {
  const std::lock_guard lock(mutex_);
  json_ = json;
  if (!csv_path.empty() && !csv_.Open(csv_path, error)) return false;
  // Made now, so a path that cannot be written stops the run before it starts.
  return junit_path.empty() || junit_.Open(junit_path, error);
}

void Reports::SetIdentity(const RunIdentity& identity) {
  const std::lock_guard lock(mutex_);
  identity_ = identity;
  if (feed_ != nullptr) feed_->About(identity_);
}

RunIdentity Reports::identity() const {
  const std::lock_guard lock(mutex_);
  return identity_;
}

void Reports::WriteCsv(const std::string& text) {
  if (!csv_.is_open() || !csv_.error().empty()) return;
  // The identity heads the file, as far as the run knows it at its first row.
  std::string out;
  if (!csv_head_written_) {
    csv_head_written_ = true;
    out = CsvHead(identity_);
  }
  out += text;
  if (!out.empty() && !csv_.Write(out)) {
    write_error_ = csv_.error();
    write_failed_ = true;
  }
}

void Reports::Add(const Record& r) {
  const std::lock_guard lock(mutex_);
  if (finished_) return;
  if (feed_ != nullptr) feed_->Add(r);
  if (r.kind == RecordKind::kCheck && !r.pass) ++failed_checks_;
  if (r.kind != RecordKind::kSample) cases_.push_back(r);
  WriteCsv(CsvRow(r, identity_.dut));
  if (json_ && !json_failed_) {
    const std::string line = JsonLine(r, identity_.dut) + "\n";
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() ||
        std::fflush(stdout) != 0) {
      json_failed_ = true;
      write_failed_ = true;
      write_error_ = std::string("cannot write the JSON lines to standard output: ") +
                     (errno != 0 ? std::strerror(errno) : "the write failed");
    }
  }
}

bool Reports::Finish(std::string& error) {
  const std::lock_guard lock(mutex_);
  if (finished_) return true;
  finished_ = true;
  std::string problems;
  const auto add = [this, &problems](const std::string& why) {
    if (why == told_) return;  // told while the run went on
    problems += (problems.empty() ? "" : "\n") + why;
  };
  if (csv_.is_open()) {
    WriteCsv("");
    if (std::string why; !csv_.Commit(why)) add(why);
  }
  if (junit_.is_open()) {
    static_cast<void>(junit_.Write(JunitXml(cases_, identity_)));
    if (std::string why; !junit_.Commit(why)) add(why);
  }
  if (problems.empty() && write_failed_) return false;
  if (problems.empty()) return true;
  write_failed_ = true;
  error = problems;
  return false;
}

bool Reports::finished() const {
  const std::lock_guard lock(mutex_);
  return finished_;
}

std::string Reports::TakeWriteError() {
  const std::lock_guard lock(mutex_);
  if (!write_error_.empty()) told_ = write_error_;
  return std::exchange(write_error_, {});
}

bool Reports::write_failed() const {
  const std::lock_guard lock(mutex_);
  return write_failed_;
}

int Reports::failed_checks() const {
  const std::lock_guard lock(mutex_);
  return failed_checks_;
}

}  // namespace benchora
