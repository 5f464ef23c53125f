// A run's progress as lines for another process to follow: the step it is
// on, each record as the reports get it, and what the reports say the run is
// about. A station gives each handset's run a file to append them to and
// reads them while the run goes on, so that it can show the progress and
// still has every record of a run it had to stop.
//
// A line is fields separated by tabs; a field escapes backslash, tab,
// carriage return and line feed (\\, \t, \r, \n), and carries any other
// byte as it is.
//   step  INDEX  TOTAL  TEXT
//   record KIND TIME_MS ORIGIN NAME VALUE UNIT LOW HIGH PASS MESSAGE TEST
//   about  NAME  VALUE  [NAME VALUE]...   (the identity, whole, each time)
#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/record.h"
#include "report/run_identity.h"

namespace benchora {

[[nodiscard]] std::string FeedLine(const std::vector<std::string>& fields);
// The fields of a line (without its line feed); nullopt when an escape is broken.
[[nodiscard]] std::optional<std::vector<std::string>> FeedFields(std::string_view line);

// What the lines of a run said so far.
struct FeedState {
  size_t step = 0;  // the command the run is on, from 1; 0 before the first
  size_t total = 0;
  std::string action;  // the step's text
  std::vector<Record> records;
  RunIdentity identity;
  int passed = 0;  // checks passed
  int failed = 0;  // checks failed and commands that went wrong
};

// Applies one line; false (the state unchanged) for a line it does not know.
bool ApplyFeedLine(std::string_view line, FeedState& state);

// The writing side: every line is flushed as it is written, so that what a
// run told survives its end however it ends. Writes that fail are dropped:
// the progress is a view of the run, never a reason for it to fail.
class ProgressFeed {
 public:
  // Nullptr when the file cannot be created.
  [[nodiscard]] static std::unique_ptr<ProgressFeed> Open(const std::string& path);

  void Step(size_t index, size_t total, const std::string& text);
  void Add(const Record& record);
  void About(const RunIdentity& identity);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  void Write(const std::vector<std::string>& fields);

  std::mutex mutex_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace benchora
