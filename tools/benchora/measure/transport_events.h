// How the second-generation panel's exchanges ended, as the transport
// library tells them: the command sent, and its answer (OK, ERROR, a
// +CME ERROR line), no whole reply in time, or a lost link. benchora loads
// the transport library the plug-in loads (the one beside the program) and
// asks it for its events; a transport without them leaves the outcome
// unknown, and the verdicts say less.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace benchora {

class TransportEvents {
 public:
  TransportEvents() = default;
  ~TransportEvents();
  TransportEvents(const TransportEvents&) = delete;
  TransportEvents& operator=(const TransportEvents&) = delete;

  // Starts listening to the transport library at `path`; false when it is
  // missing or tells no events.
  bool Watch(const std::string& path);

  // How the last exchange of `command` ended ("answered ERROR", "answered
  // +CME ERROR: 3", "got no whole reply in time", "lost the link", "could
  // not be sent"); nullopt when the transport told nothing of it.
  [[nodiscard]] std::optional<std::string> OutcomeOf(std::string_view command) const;

  // One event as the transport reports it (public for tests).
  void OnEvent(std::string_view event, std::string_view text);

 private:
  using SetSink = int32_t (*)(void (*)(void*, int32_t, const char*, const char*, int32_t), void*);
  platform::DynamicLibrary library_;
  SetSink set_sink_ = nullptr;
  std::string command_;  // the last command sent
  std::string outcome_;  // how its exchange ended, empty while it runs
};

// The final line of an error reply's text: its "+CME ERROR: n" or
// "+CMS ERROR: n" line, else "ERROR".
std::string FinalErrorLine(std::string_view reply);

}  // namespace benchora
