// A recording stand-in for the host: a function table whose slots answer
// from scripted replies, and a log that collects every line with its flag.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/exports.h"
#include "host/host_interface.h"

namespace testhost {

struct LogLine {
  std::string text;
  int flag;
  bool operator==(const LogLine&) const = default;
};

struct SentMessage {
  size_t slot;
  uint16_t id;
  std::vector<uint8_t> request;
  bool null_request;
  uint32_t com_handle;
};

// The state behind the C callbacks (one fake host at a time).
struct FakeHost {
  std::array<void*, kHostSlotCount> table{};
  std::vector<LogLine> log;
  std::vector<SentMessage> sent;
  std::string last_error = "No errors";
  int last_error_calls = 0;
  bool succeed = true;
  std::vector<uint8_t> reply;  // written to the reply buffer on success
  int reply_length = -1;       // reported length; -1: reply.size()

  static FakeHost*& Current() {
    static FakeHost* current = nullptr;
    return current;
  }

  FakeHost();
  ~FakeHost() { Current() = nullptr; }
  // Installs the table and the log callback in the library.
  void Install(bool with_log = true) {
    SetFuncInterface(table.data(), static_cast<int32_t>(sizeof(table)));
    SetShowLineFunc(with_log ? &OnLine : nullptr);
  }
  void SetReplyText(const std::string& text) {
    reply.assign(text.begin(), text.end());
    reply.push_back(0);
    reply_length = static_cast<int>(text.size());
  }

  static void OnLine(const char* text, uint8_t flag) { Current()->log.push_back({text, flag}); }
  static const char* OnGetLastError() {
    ++Current()->last_error_calls;
    return Current()->last_error.c_str();
  }
  template <size_t kSlot>
  static uint8_t OnSend(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                        void* reply, uint32_t com) {
    FakeHost& host = *Current();
    const auto* bytes = static_cast<const uint8_t*>(request);
    host.sent.push_back(
        {kSlot, id,
         bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + length) : std::vector<uint8_t>{},
         request == nullptr, com});
    if (!host.succeed) return 0;
    if (!host.reply.empty()) std::memcpy(reply, host.reply.data(), host.reply.size());
    *reply_length = static_cast<uint16_t>(
        host.reply_length >= 0 ? host.reply_length : static_cast<int>(host.reply.size()));
    return 1;
  }
};

inline FakeHost::FakeHost() {
  Current() = this;
  table[kSlotGetLastError] = reinterpret_cast<void*>(&OnGetLastError);
  table[kSlotSendAudioRequest] = reinterpret_cast<void*>(&OnSend<kSlotSendAudioRequest>);
  table[kSlotSendAtCommand] = reinterpret_cast<void*>(&OnSend<kSlotSendAtCommand>);
  table[kSlotSendInfoRequest] = reinterpret_cast<void*>(&OnSend<kSlotSendInfoRequest>);
  table[kSlotSendTestFunction] = reinterpret_cast<void*>(&OnSend<kSlotSendTestFunction>);
}

}  // namespace testhost
