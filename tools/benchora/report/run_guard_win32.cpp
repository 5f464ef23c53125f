#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "report/run_guard.h"

namespace benchora {
namespace {

// The console's handler has no context: it reaches the guard through this.
RunGuard::End* g_end = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (g_end == nullptr) return FALSE;
  const char* cause = event == CTRL_C_EVENT       ? "Ctrl+C"
                      : event == CTRL_BREAK_EVENT ? "Ctrl+Break"
                                                  : "the console closing";
  (*g_end)({cause, false, 130});
  return TRUE;
}

class Win32RunGuard final : public RunGuard {
 public:
  Win32RunGuard(int timeout_s, End end) : end_(std::move(end)) {
    g_end = &end_;
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
    if (timeout_s <= 0) return;
    watcher_ = std::thread([this, timeout_s] {
      std::unique_lock lock(mutex_);
      if (!stopped_.wait_for(lock, std::chrono::seconds(timeout_s), [this] { return stop_; })) {
        lock.unlock();
        end_({"timed out after " + std::to_string(timeout_s) + " s", true, 1});
      }
    });
  }
  ~Win32RunGuard() override {
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    g_end = nullptr;
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopped_.notify_all();
    if (watcher_.joinable()) watcher_.join();
  }

 private:
  End end_;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread watcher_;
};

}  // namespace

std::unique_ptr<RunGuard> RunGuard::Start(int timeout_s, End end) {
  return std::make_unique<Win32RunGuard>(timeout_s, std::move(end));
}

void IgnoreBrokenPipes() {}

}  // namespace benchora
