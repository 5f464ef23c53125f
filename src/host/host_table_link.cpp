#include "host/host_table_link.h"

#include "host/host_state.h"
#include "ui/application.h"

namespace host {

namespace {

size_t SlotOf(common::HostChannel channel) {
  switch (channel) {
    case common::HostChannel::kTestFunction:
      return kSlotSendTestFunction;
    case common::HostChannel::kAtCommand:
      return kSlotSendAtCommand;
    case common::HostChannel::kAudioRequest:
      return kSlotSendAudioRequest;
    case common::HostChannel::kInfoRequest:
      return kSlotSendInfoRequest;
  }
  return kSlotSendTestFunction;
}

}  // namespace

bool HostTableLink::Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
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

void HostTableLink::Log(const char* text, common::LogFlag flag) {
  ShowLine(text, static_cast<uint8_t>(flag));
}

common::HostLink& ModuleHostLink() {
  static HostTableLink link;
  return link;
}

common::ModuleContext TheModuleContext() {
  return common::ModuleContext{ModuleHostLink(), OwnApplication().services()};
}

}  // namespace host
