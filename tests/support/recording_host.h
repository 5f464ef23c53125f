// A recording stand-in for the host link: records every send and answers
// it from a script, and captures the log lines. Each test builds its own, so
// several hosts can live side by side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/host_link.h"

namespace testing_host {

struct HostCall {
  common::HostChannel channel;
  uint16_t message_id;
  std::vector<uint8_t> request;  // the request bytes as the host saw them
  bool request_null;
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

class RecordingHost : public common::HostLink {
 public:
  RecordingHost() = default;
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  // The context a back end or panel under test is built with.
  common::ModuleContext Context(ui::Services& services) {
    return common::ModuleContext{*this, services};
  }

  // Answers come from the queue first, then from the responder; with
  // neither, a send fails with "no answer scripted".
  void Queue(HostAnswer answer) { queue_.push_back(std::move(answer)); }
  std::function<HostAnswer(const HostCall&)> responder;
  // Answers every send with `text`.
  void AnswerText(const std::string& text) {
    responder = [text](const HostCall&) { return TextReply(text); };
  }

  // As a host that gave no function for `channel`: its sends fail unseen.
  void RemoveChannel(common::HostChannel channel) { missing_.insert(channel); }

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

  // The link.
  bool Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
            const void* request, uint16_t& reply_length, void* reply) override;
  std::optional<std::string_view> LastError() override;
  void Log(const char* text, common::LogFlag flag) override;
  using common::HostLink::Log;

 private:
  std::deque<HostAnswer> queue_;
  std::set<common::HostChannel> missing_;
  std::string error_ = "No errors";
};

}  // namespace testing_host
