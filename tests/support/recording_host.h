// A recording stand-in for the host: fills the host function table with C
// functions that record every send and answer from a script, and captures
// the log lines. One instance at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testing_host {

struct HostCall {
  size_t slot;
  uint16_t message_id;
  std::vector<uint8_t> request;  // the request bytes as the host saw them
  bool request_null;
  uint32_t com_handle;
  std::string Text() const { return std::string(request.begin(), request.end()); }
};

struct HostAnswer {
  bool carried = true;
  std::vector<uint8_t> reply;
  std::optional<uint16_t> length;   // reported reply length; reply.size() when unset
  std::string error = "No errors";  // what the host's error function reports afterwards
};

struct LogLine {
  std::string text;
  uint8_t flag;
  bool operator==(const LogLine&) const = default;
};

// A successful binary reply of `length` bytes with status word `status`.
HostAnswer StatusReply(size_t length, uint16_t status = 1);
// A successful text reply.
HostAnswer TextReply(const std::string& text);
// A failed host call with the host's error text.
HostAnswer HostFailure(const std::string& error);

class RecordingHost {
 public:
  // Installs the table (slots 3, 15, 54, 56, 77), the log callback and a
  // communication handle.
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  static constexpr uint32_t kComHandle = 0x00C0FFEE;

  // Answers come from the queue first, then from the responder; with
  // neither, a send fails with "no answer scripted".
  void Queue(HostAnswer answer) { queue_.push_back(std::move(answer)); }
  std::function<HostAnswer(const HostCall&)> responder;
  // Answers every send with `text`.
  void AnswerText(const std::string& text) {
    responder = [text](const HostCall&) { return TextReply(text); };
  }

  // Installs the table again without `slot` (as a host that leaves it empty).
  void RemoveSlot(size_t slot);

  std::vector<HostCall> calls;
  std::vector<LogLine> log;
  int error_reads = 0;  // calls of the host's error function
  void Clear() {
    calls.clear();
    log.clear();
  }
  std::vector<std::string> LogTexts() const;
  // The log as one text: the lines separated by "|", a line logged with
  // flag 0 (an error) marked by a leading "!".
  std::string Transcript() const;

  // Slot entry points.
  uint8_t Send(size_t slot, uint16_t id, uint16_t length, const void* request,
               uint16_t* reply_length, void* reply, uint32_t handle);
  const char* LastError() {
    ++error_reads;
    return error_.c_str();
  }
  void Log(const char* text, uint8_t flag) { log.push_back({text ? text : "", flag}); }

 private:
  void Install(std::optional<size_t> missing_slot);
  std::deque<HostAnswer> queue_;
  std::string error_ = "No errors";
};

}  // namespace testing_host
