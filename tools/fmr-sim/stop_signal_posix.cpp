#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

#include "fmr-sim/stop_signal.h"

namespace fmrsim {
namespace {

class SignalWait final : public StopSignal {
 public:
  explicit SignalWait(const sigset_t& signals) : signals_(signals) {}

  std::string Wait() override {
    int signal_number = 0;
    while (sigwait(&signals_, &signal_number) != 0) {
    }
    return "signal " + std::to_string(signal_number);
  }

  void RequestStop() override {
    // To the process, not this thread: every thread blocks SIGTERM, so it
    // stays pending until Wait takes it.
    (void)::kill(::getpid(), SIGTERM);
  }

 private:
  sigset_t signals_;
};

}  // namespace

const char* StopRequestNames() {
  return "SIGINT or SIGTERM";
}

std::unique_ptr<StopSignal> StopSignal::Catch(std::string& error) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  if (const int code = pthread_sigmask(SIG_BLOCK, &signals, nullptr); code != 0) {
    error = std::string("cannot block SIGINT and SIGTERM: ") + std::strerror(code);
    return nullptr;
  }
  return std::make_unique<SignalWait>(signals);
}

}  // namespace fmrsim
