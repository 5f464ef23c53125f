#include "fmr-sim/output_lines.h"

namespace fmrsim {

OutputLines::OutputLines()
    : out_(tooltext::CheckedOutput::StandardOutput()),
      log_(tooltext::CheckedOutput::StandardError()) {}

bool OutputLines::WriteLine(tooltext::CheckedOutput& output, std::string_view text) {
  bool first_failure = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (output.Write(text) && output.Write("\n") && output.Flush()) return true;
    first_failure = !reported_;
    reported_ = true;
  }
  if (first_failure && on_failure_) on_failure_();
  return false;
}

bool OutputLines::Out(std::string_view text) {
  return WriteLine(out_, text);
}

bool OutputLines::Log(std::string_view text) {
  return WriteLine(log_, text);
}

bool OutputLines::failed() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return out_.failed() || log_.failed();
}

bool OutputLines::Close() {
  const std::lock_guard<std::mutex> lock(mutex_);
  // Each failure is said on the other output while that still works.
  if (log_.failed()) (void)out_.Write("fmr-sim: " + log_.error() + "\n");
  const bool out_closed = out_.Close();
  if (!out_closed) (void)log_.Write("fmr-sim: " + out_.error() + "\n");
  const bool log_closed = log_.Close();
  return out_closed && log_closed;
}

}  // namespace fmrsim
