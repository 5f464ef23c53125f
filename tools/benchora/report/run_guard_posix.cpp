#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "report/run_guard.h"

namespace benchora {
namespace {

class PosixRunGuard final : public RunGuard {
 public:
  PosixRunGuard(int timeout_s, End end) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_s);
    watcher_ = std::thread([this, timeout_s, deadline, end = std::move(end)] {
      timespec slice{0, 100'000'000};
      while (!stop_.load()) {
        const int signal = sigtimedwait(&signals_, nullptr, &slice);
        if (signal == SIGINT || signal == SIGTERM) {
          end({signal == SIGINT ? "SIGINT" : "SIGTERM", false, 128 + signal});
          return;
        }
        if (timeout_s > 0 && std::chrono::steady_clock::now() >= deadline) {
          end({"timed out after " + std::to_string(timeout_s) + " s", true, 1});
          return;
        }
      }
    });
  }
  ~PosixRunGuard() override {
    stop_.store(true);
    watcher_.join();
  }

 private:
  sigset_t signals_{};
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

}  // namespace

std::unique_ptr<RunGuard> RunGuard::Start(int timeout_s, End end) {
  return std::make_unique<PosixRunGuard>(timeout_s, std::move(end));
}

void IgnoreBrokenPipes() {
  signal(SIGPIPE, SIG_IGN);
}

}  // namespace benchora
