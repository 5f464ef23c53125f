// What a station shows of its handsets: a progress line each while they
// run, and a table when they are done. Plain text; the station decides
// whether to redraw the lines in place (a terminal) or print them as they
// change (a file, a pipe).
#pragma once

#include <string>
#include <vector>

#include "report/progress_feed.h"

namespace benchora {

enum class HandsetEnding { kRunning, kPassed, kFailed, kTimedOut, kStopped, kNotStarted };

struct HandsetStatus {
  std::string name;
  std::string link;  // as the station file writes it
  FeedState progress;
  HandsetEnding ending = HandsetEnding::kRunning;
  double seconds = 0;  // since the handset's run started
  std::string report;  // its own JUnit file
};

// "PASS", "FAIL", "TIMEOUT", "STOPPED", "NOT STARTED"; "running" before the end.
[[nodiscard]] const char* EndingWord(HandsetEnding ending);
// "A1  sim  step 3/7  pass 2  fail 0  checks.txt:5: verify rssi >= 20", the
// name and link padded to `name_width` and `link_width`.
[[nodiscard]] std::string ProgressLine(const HandsetStatus& status, size_t name_width,
                                       size_t link_width);
// The lines of every handset, aligned.
[[nodiscard]] std::vector<std::string> ProgressLines(const std::vector<HandsetStatus>& handsets);
// The final table: handset, verdict, checks passed and failed, time, report.
[[nodiscard]] std::string FinalTable(const std::vector<HandsetStatus>& handsets);

}  // namespace benchora
