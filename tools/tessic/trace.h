// The transport's trace: a text file with one line per event of every
// session (opened, command sent, reply taken, unsolicited line dropped,
// receive failed, closed). The plug-in never starts it; a bench engineer
// does, with TESSIC_TRACE=FILE in the environment (read when the library
// makes its first session) or through TESSIC_start_trace. The trace never
// harms the host (trace_file.h): a file that cannot be opened or stops
// taking lines is told in the log once, and the trace is off from then on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "trace_file.h"

namespace tessic {

constexpr char kTraceVariable[] = "TESSIC_TRACE";
// The event of a log line (see Trace::Log).
constexpr char kLogEvent[] = "log";

// Told of each event as it happens, on the thread of the call that caused
// it: session id (0: none), event and text, the text neither escaped nor
// zero-terminated (`length` bytes).
using EventSink = void (*)(void* context, int32_t session, const char* event, const char* text,
                           int32_t length);

class Trace {
 public:
  // Hands every event to `sink` as well (null: to no one).
  void SetSink(EventSink sink, void* context) {
    sink_ = sink;
    sink_context_ = context;
  }
  // Starts writing to `path` (emptied first), ending an earlier trace.
  // False, and a log line saying why, when the file cannot be opened.
  [[nodiscard]] bool Start(const std::string& path);
  void Stop() { file_.Close(); }
  [[nodiscard]] bool active() const { return file_.is_open(); }
  // "session N: EVENT TEXT" ("EVENT TEXT" for session 0: none), with CR, LF and other control bytes
  // of `text` written as escapes so each event stays one line. A write that
  // fails stops the trace and is told in the log: "trace FILE: REASON;
  // tracing stopped".
  void Write(int32_t session, std::string_view event, std::string_view text = {});
  // A line for the user: to standard error as "TESSIC: LINE" (where the
  // transport's messages go), and as the event kLogEvent to the trace and
  // the sink.
  void Log(int32_t session, std::string_view line);

 private:
  TraceFile file_;
  std::string path_;
  EventSink sink_ = nullptr;
  void* sink_context_ = nullptr;
  std::string event_;  // the sink's zero-terminated copy of the event
  std::string line_;   // kept from one event to the next
};

}  // namespace tessic
