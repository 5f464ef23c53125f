// The standalone simulator's own lines: what it announces on standard
// output (where it serves, why it stopped, fault rules that never fired) and
// the --verbose log on standard error. The serving threads write them as
// well as main, so writes take turns. Every line is flushed and checked;
// the first that fails is kept ("standard output: Broken pipe") and
// reported once through `on_failure` (which asks the simulator to stop: it
// then exits 1); later lines are dropped.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "text/checked_output.h"

namespace fmrsim {

class OutputLines {
 public:
  OutputLines();

  // Called at most once, on the thread whose write failed. Set before any
  // thread writes.
  void set_on_failure(std::function<void()> on_failure) { on_failure_ = std::move(on_failure); }

  // `text` and a line feed (`text` may hold lines of its own).
  [[nodiscard]] bool Out(std::string_view text);
  [[nodiscard]] bool Log(std::string_view text);

  // Closes both outputs. False when anything written to them failed; the
  // failure is then said on the other output, if that still works.
  [[nodiscard]] bool Close();

  [[nodiscard]] bool failed() const;

 private:
  bool WriteLine(tooltext::CheckedOutput& output, std::string_view text);

  mutable std::mutex mutex_;
  tooltext::CheckedOutput out_;
  tooltext::CheckedOutput log_;
  std::function<void()> on_failure_;
  bool reported_ = false;
};

}  // namespace fmrsim
