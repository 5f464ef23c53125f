#include "recording_host.h"

#include <cstring>

namespace testing_host {

HostAnswer StatusReply(size_t length, uint16_t status) {
  HostAnswer answer;
  answer.reply.assign(length, 0);
  if (length > 0) answer.reply[0] = static_cast<uint8_t>(status);
  if (length > 1) answer.reply[1] = static_cast<uint8_t>(status >> 8);
  return answer;
}

HostAnswer TextReply(const std::string& text) {
  HostAnswer answer;
  answer.reply.assign(text.c_str(), text.c_str() + text.size() + 1);  // with the zero at its end
  answer.length = static_cast<uint16_t>(text.size());
  return answer;
}

HostAnswer HostFailure(const std::string& error) {
  return {false, {}, std::nullopt, error};
}

std::vector<std::string> RecordingHost::LogTexts() const {
  std::vector<std::string> texts;
  for (const LogLine& line : log) texts.push_back(line.text);
  return texts;
}

std::string RecordingHost::Transcript() const {
  std::string text;
  for (const LogLine& line : log) {
    text += (text.empty() ? "" : "|") + std::string(line.flag == 0 ? "!" : "") + line.text;
  }
  return text;
}

bool RecordingHost::Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
                         const void* request, uint16_t& reply_length, void* reply) {
  if (missing_.contains(channel)) return false;
  const auto* bytes = static_cast<const uint8_t*>(request);
  calls.push_back({channel, message_id, {bytes, bytes + (bytes ? request_length : 0)}, !bytes});

  HostAnswer answer = HostFailure("no answer scripted");
  if (!queue_.empty()) {
    answer = std::move(queue_.front());
    queue_.pop_front();
  } else if (responder) {
    answer = responder(calls.back());
  }
  error_ = answer.error;
  if (!answer.reply.empty()) std::memcpy(reply, answer.reply.data(), answer.reply.size());
  reply_length = answer.length.value_or(static_cast<uint16_t>(answer.reply.size()));
  return answer.carried;
}

std::optional<std::string_view> RecordingHost::LastError() {
  ++error_reads;
  return error_;
}

void RecordingHost::Log(const char* text, common::LogFlag flag) {
  log.push_back({text != nullptr ? text : "", static_cast<uint8_t>(flag)});
}

}  // namespace testing_host
