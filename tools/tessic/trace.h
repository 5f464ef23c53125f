// The transport's trace: a text file with one line per event of every
// session (opened, command sent, reply taken, unsolicited line dropped,
// receive failed, closed). The plug-in never starts it; a bench engineer
// does, with TESSIC_TRACE=FILE in the environment (read when the library
// makes its first session) or through TESSIC_start_trace.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tessic {

constexpr char kTraceVariable[] = "TESSIC_TRACE";

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
  // False when the file cannot be made.
  [[nodiscard]] bool Start(const std::string& path);
  void Stop() { file_.reset(); }
  [[nodiscard]] bool active() const { return file_ != nullptr; }
  // "session N: EVENT TEXT" ("EVENT TEXT" for session 0: none), with CR, LF and other control bytes
  // of `text` written as escapes so each event stays one line.
  void Write(int32_t session, std::string_view event, std::string_view text = {});

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  EventSink sink_ = nullptr;
  void* sink_context_ = nullptr;
  std::string event_;  // the sink's zero-terminated copy of the event
  std::string line_;   // kept from one event to the next
};

}  // namespace tessic
