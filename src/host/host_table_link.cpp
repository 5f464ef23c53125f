#include "host/host_table_link.h"

#include "host/host_state.h"
#include "ui/application.h"

namespace {

size_t SlotOf(HostChannel channel) {
  switch (channel) {
    case HostChannel::kTestFunction:
      return kSlotSendTestFunction;
    case HostChannel::kAtCommand:
      return kSlotSendAtCommand;
    case HostChannel::kAudioRequest:
      return kSlotSendAudioRequest;
    case HostChannel::kInfoRequest:
      return kSlotSendInfoRequest;
  }
  return kSlotSendTestFunction;
}

}  // namespace

bool HostTableLink::Send(HostChannel channel, uint16_t message_id, uint16_t request_length,
                         const void* request, uint16_t& reply_length, void* reply) {
  const auto send = HostSlot<HostSendFunc>(SlotOf(channel));
  if (send == nullptr) return false;
  return send(message_id, request_length, request, &reply_length, reply, Host().com_handle) != 0;
}

std::optional<std::string_view> HostTableLink::LastError() {
  const auto get_last_error = HostSlot<HostGetLastErrorFunc>(kSlotGetLastError);
  if (get_last_error == nullptr) return std::nullopt;
  const char* text = get_last_error();
  return std::string_view(text != nullptr ? text : "");
}

void HostTableLink::Log(const char* text, LogFlag flag) {
  ShowLine(text, static_cast<uint8_t>(flag));
}

HostLink& ModuleHostLink() {
  static HostTableLink link;
  return link;
}

ModuleContext TheModuleContext() {
  return ModuleContext{ModuleHostLink(), OwnApplication().services()};
}
