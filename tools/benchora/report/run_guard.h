// Ends a run from outside, its reports written first: SIGINT and SIGTERM
// (Ctrl+C and Ctrl+Break on Windows), and --timeout for a run that hangs.
// A watcher thread waits for either and calls `end` there, while the run's
// own thread may be stuck inside the plug-in; `end` writes what was done
// and leaves the process.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace benchora {

struct RunEnding {
  std::string cause;  // "SIGTERM", "timed out after 30 s"
  bool hang = false;  // the step the run was on never finished
  int exit_code = 1;  // 128 + the signal's number; 1 for a timeout
};

class RunGuard {
 public:
  using End = std::function<void(const RunEnding&)>;
  // Starts watching; call it before any other thread starts, so that the
  // signals reach the watcher only. `timeout_s` 0: no time limit.
  [[nodiscard]] static std::unique_ptr<RunGuard> Start(int timeout_s, End end);
  virtual ~RunGuard() = default;

 protected:
  RunGuard() = default;
};

// A reader that goes away (a closed pipe) becomes a write error that the
// writer reports, instead of a signal that ends the program unannounced.
void IgnoreBrokenPipes();

}  // namespace benchora
