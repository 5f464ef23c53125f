// How the standalone simulator waits until it is asked to stop: SIGINT or
// SIGTERM on POSIX, a console control event (Ctrl+C, Ctrl+Break, the console
// closed) on Windows. Each platform has its own source file.
#pragma once

#include <memory>
#include <string>

namespace fmrsim {

// The stop requests, as the usage text names them ("SIGINT or SIGTERM").
[[nodiscard]] const char* StopRequestNames();

class StopSignal {
 public:
  // Starts catching the stop requests. Called before any thread starts: on
  // POSIX the threads inherit the blocked signals, so a request made while
  // the server starts waits for Wait instead of ending the process.
  [[nodiscard]] static std::unique_ptr<StopSignal> Catch(std::string& error);

  virtual ~StopSignal() = default;
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Blocks until a stop request arrives; returns what asked for it, as the
  // closing line names it ("signal 15", "Ctrl+C").
  [[nodiscard]] virtual std::string Wait() = 0;

  // Ends Wait from any thread, as a stop request from outside would: the
  // simulator stops itself when it can no longer write its output.
  virtual void RequestStop() = 0;

 protected:
  StopSignal() = default;
};

}  // namespace fmrsim
