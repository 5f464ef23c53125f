// What a run measured, for a test station or a CI system to read: the
// checks' verdicts, the samples, and the commands that went wrong where the
// script did not expect it. --csv writes a row for each as it comes (to a
// temporary file put in place at the end), --json a line on standard
// output, --report a JUnit XML file at the end. Reports may be finished
// from another thread (a signal, a timeout) while the run is still going:
// everything is under one lock, and after Finish nothing more is added.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "report/progress_feed.h"
#include "report/record.h"
#include "report/report_file.h"
#include "report/run_identity.h"

namespace benchora {

class Reports {
 public:
  // Empty paths write no file. False with `error` set when a file cannot be
  // created; an older report at a path stays as it was until Finish.
  [[nodiscard]] bool Open(const std::string& csv_path, const std::string& junit_path, bool json,
                          std::string& error);
  // What the reports say the run is about; parts are filled in as the run
  // learns them (the plug-in's version, the handset's identity).
  void SetIdentity(const RunIdentity& identity);
  template <typename Change>
  void ChangeIdentity(Change change) {
    const std::lock_guard lock(mutex_);
    change(identity_);
    if (feed_ != nullptr) feed_->About(identity_);
  }
  // Also tells every record and identity to `feed` (a station's handset run).
  void set_feed(ProgressFeed* feed) {
    const std::lock_guard lock(mutex_);
    feed_ = feed;
  }
  [[nodiscard]] RunIdentity identity() const;

  void Add(const Record& record);
  // Writes the JUnit file and puts both files in place. False with `error`
  // set (each failure on a line) when one could not be written. Once only.
  [[nodiscard]] bool Finish(std::string& error);
  [[nodiscard]] bool finished() const;

  // The first write that failed since the last call ("cannot write
  // check.csv: No space left on device"), or empty.
  [[nodiscard]] std::string TakeWriteError();
  [[nodiscard]] bool write_failed() const;

  // Checks that failed so far.
  [[nodiscard]] int failed_checks() const;

 private:
  void WriteCsv(const std::string& text);

  mutable std::recursive_mutex mutex_;
  ReportFile csv_;
  ReportFile junit_;
  bool csv_head_written_ = false;
  bool json_ = false;
  bool finished_ = false;
  RunIdentity identity_;
  std::vector<Record> cases_;  // checks, problems and skipped checks, for the JUnit file
  int failed_checks_ = 0;
  std::string write_error_;  // not yet taken
  std::string told_;         // the last one taken
  bool write_failed_ = false;
  bool json_failed_ = false;
  ProgressFeed* feed_ = nullptr;
};

}  // namespace benchora
