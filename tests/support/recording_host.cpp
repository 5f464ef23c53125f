#include "recording_host.h"

#include <array>
#include <cstring>

#include "host/exports.h"
#include "host/host_interface.h"

namespace testing_host {
namespace {

RecordingHost* g_host = nullptr;

const char* GetLastError() {
  return g_host->LastError();
}

void ShowLineCallback(const char* text, uint8_t flag) {
  g_host->Log(text, flag);
}

template <size_t kSlot>
uint8_t SendSlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                 void* reply, uint32_t handle) {
  return g_host->Send(kSlot, id, length, request, reply_length, reply, handle);
}

}  // namespace

HostAnswer StatusReply(size_t length, uint16_t status) {
  HostAnswer answer;
  answer.reply.assign(length, 0);
  if (length > 0) answer.reply[0] = static_cast<uint8_t>(status);
  if (length > 1) answer.reply[1] = static_cast<uint8_t>(status >> 8);
  return answer;
}

HostAnswer TextReply(const std::string& text) {
  HostAnswer answer;
  answer.reply.assign(text.begin(), text.end());
  answer.reply.push_back(0);
  answer.length = static_cast<uint16_t>(text.size());
  return answer;
}

HostAnswer HostFailure(const std::string& error) {
  HostAnswer answer;
  answer.carried = false;
  answer.error = error;
  return answer;
}

RecordingHost::RecordingHost() {
  g_host = this;
  Install(std::nullopt);
  SetShowLineFunc(&ShowLineCallback);
  SetComHandle(kComHandle);
}

RecordingHost::~RecordingHost() {
  SetShowLineFunc(nullptr);
  const std::array<void*, kHostSlotCount> empty{};
  SetFuncInterface(empty.data(), static_cast<int32_t>(kHostTableBytes));
  g_host = nullptr;
}

void RecordingHost::Install(std::optional<size_t> missing_slot) {
  std::array<void*, kHostSlotCount> table{};
  table[kSlotGetLastError] = reinterpret_cast<void*>(&GetLastError);
  table[kSlotSendAudioRequest] = reinterpret_cast<void*>(&SendSlot<kSlotSendAudioRequest>);
  table[kSlotSendAtCommand] = reinterpret_cast<void*>(&SendSlot<kSlotSendAtCommand>);
  table[kSlotSendInfoRequest] = reinterpret_cast<void*>(&SendSlot<kSlotSendInfoRequest>);
  table[kSlotSendTestFunction] = reinterpret_cast<void*>(&SendSlot<kSlotSendTestFunction>);
  if (missing_slot) table[*missing_slot] = nullptr;
  SetFuncInterface(table.data(), static_cast<int32_t>(kHostTableBytes));
}

void RecordingHost::RemoveSlot(size_t slot) {
  Install(slot);
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

uint8_t RecordingHost::Send(size_t slot, uint16_t id, uint16_t length, const void* request,
                            uint16_t* reply_length, void* reply, uint32_t handle) {
  HostCall call{slot, id, {}, request == nullptr, handle};
  if (request != nullptr) {
    const auto* bytes = static_cast<const uint8_t*>(request);
    call.request.assign(bytes, bytes + length);
  }
  calls.push_back(call);

  HostAnswer answer;
  if (!queue_.empty()) {
    answer = std::move(queue_.front());
    queue_.pop_front();
  } else if (responder) {
    answer = responder(calls.back());
  } else {
    answer = HostFailure("no answer scripted");
  }
  error_ = answer.error;
  if (!answer.reply.empty()) std::memcpy(reply, answer.reply.data(), answer.reply.size());
  *reply_length = answer.length.value_or(static_cast<uint16_t>(answer.reply.size()));
  return answer.carried ? 1 : 0;
}

}  // namespace testing_host
