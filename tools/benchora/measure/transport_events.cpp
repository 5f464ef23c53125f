#include "measure/transport_events.h"

namespace benchora {
namespace {

void Forward(void* context, int32_t /*session*/, const char* event, const char* text,
             int32_t length) {
  if (context == nullptr || event == nullptr) return;
  const std::string_view body = text != nullptr && length > 0
                                    ? std::string_view(text, static_cast<size_t>(length))
                                    : std::string_view();
  static_cast<TransportEvents*>(context)->OnEvent(event, body);
}

}  // namespace

TransportEvents::~TransportEvents() {
  if (set_sink_ != nullptr) set_sink_(nullptr, nullptr);
}

bool TransportEvents::Watch(const std::string& path) {
  library_ = platform::DynamicLibrary::Open(path);
  if (!library_.IsLoaded()) return false;
  set_sink_ = reinterpret_cast<SetSink>(library_.Symbol("TESSIC_set_event_sink"));
  if (set_sink_ == nullptr) return false;
  return set_sink_(&Forward, this) == 0;
}

std::string FinalErrorLine(std::string_view reply) {
  // The reason stands in the last line that carries one.
  size_t end = reply.size();
  while (end > 0) {
    while (end > 0 && (reply[end - 1] == '\r' || reply[end - 1] == '\n')) --end;
    const size_t start = reply.find_last_of("\r\n", end == 0 ? 0 : end - 1);
    const size_t from = start == std::string_view::npos ? 0 : start + 1;
    const std::string_view line = reply.substr(from, end - from);
    if (line.starts_with("+CME ERROR") || line.starts_with("+CMS ERROR")) return std::string(line);
    end = from;
  }
  return "ERROR";
}

void TransportEvents::OnEvent(std::string_view event, std::string_view text) {
  if (event == "sent") {
    command_ = text;
    outcome_.clear();
  } else if (event == "sending failed:") {
    command_ = text;
    outcome_ = "could not be sent";
  } else if (event == "reply ERROR") {
    outcome_ = "answered " + FinalErrorLine(text);
  } else if (event == "reply OK") {
    outcome_ = "answered OK";
  } else if (event == "no whole reply in time") {
    outcome_ = "got no whole reply in time";
  } else if (event == "link lost") {
    outcome_ = "lost the link";
  } else if (event == "connecting again failed:") {
    // The command that follows is never sent, so no "sent" names it.
    command_.clear();
    outcome_ = "could not be sent: the link did not open again (" + std::string(text) + ")";
  }
}

std::optional<std::string> TransportEvents::OutcomeOf(std::string_view command) const {
  if (outcome_.empty() || (!command_.empty() && command_ != command)) return std::nullopt;
  return outcome_;
}

}  // namespace benchora
