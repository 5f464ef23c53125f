#include <windows.h>

#include <atomic>
#include <string>
#include <type_traits>
#include <utility>

#include "fmr-sim/stop_signal.h"

namespace fmrsim {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The system calls the console control handler on a thread of its own; it
// reaches the waiting object through these. Only the first event counts.
std::atomic<HANDLE> g_stop_event{nullptr};
std::atomic<HANDLE> g_finished_event{nullptr};
constexpr DWORD kNoEvent = 0xFFFFFFFF;
std::atomic<DWORD> g_event_type{kNoEvent};

// How long the handler keeps the process alive after the console closed:
// the system ends it when the handler returns, and gives up waiting on its
// own after about five seconds.
constexpr DWORD kCloseGraceMs = 4000;

BOOL WINAPI OnConsoleControl(DWORD type) {
  const HANDLE stop = g_stop_event.load();
  if (stop == nullptr) return FALSE;
  DWORD none = kNoEvent;
  g_event_type.compare_exchange_strong(none, type);
  ::SetEvent(stop);
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) {
    // Hold the process until main has printed its closing line and stopped
    // the server; main's return ends this thread with the process.
    if (const HANDLE finished = g_finished_event.load(); finished != nullptr) {
      ::WaitForSingleObject(finished, kCloseGraceMs);
    }
  }
  return TRUE;
}

std::string EventText(DWORD type) {
  switch (type) {
    case CTRL_C_EVENT:
      return "Ctrl+C";
    case CTRL_BREAK_EVENT:
      return "Ctrl+Break";
    case CTRL_CLOSE_EVENT:
      return "closing the console";
    case CTRL_LOGOFF_EVENT:
      return "logging off";
    case CTRL_SHUTDOWN_EVENT:
      return "shutting down";
    default:
      return "console event " + std::to_string(type);
  }
}

class ConsoleControlWait final : public StopSignal {
 public:
  ConsoleControlWait(UniqueHandle stop, UniqueHandle finished)
      : stop_(std::move(stop)), finished_(std::move(finished)) {}

  ~ConsoleControlWait() override {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    g_stop_event.store(nullptr);
    ::SetEvent(finished_.get());
    g_finished_event.store(nullptr);
  }

  std::string Wait() override {
    ::WaitForSingleObject(stop_.get(), INFINITE);
    return EventText(g_event_type.load());
  }

  void RequestStop() override { ::SetEvent(stop_.get()); }

 private:
  UniqueHandle stop_;
  UniqueHandle finished_;
};

std::string SystemErrorText(const char* what) {
  return std::string(what) + " failed (error " + std::to_string(::GetLastError()) + ")";
}

}  // namespace

const char* StopRequestNames() {
  return "Ctrl+C or Ctrl+Break";
}

std::unique_ptr<StopSignal> StopSignal::Catch(std::string& error) {
  if (g_stop_event.load() != nullptr) {
    error = "the stop requests are caught already";
    return nullptr;
  }
  // Manual-reset events: once set they stay set, whoever waits.
  UniqueHandle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle finished(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop || !finished) {
    error = SystemErrorText("CreateEvent");
    return nullptr;
  }
  g_stop_event.store(stop.get());
  g_finished_event.store(finished.get());
  if (!::SetConsoleCtrlHandler(OnConsoleControl, TRUE)) {
    error = SystemErrorText("SetConsoleCtrlHandler");
    g_stop_event.store(nullptr);
    g_finished_event.store(nullptr);
    return nullptr;
  }
  return std::make_unique<ConsoleControlWait>(std::move(stop), std::move(finished));
}

}  // namespace fmrsim
