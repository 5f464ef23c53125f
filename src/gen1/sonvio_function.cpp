#include "gen1/sonvio_function.h"

#include <cstring>

#include "common/format.h"
#include "common/validate.h"
#include "host/host_state.h"
#include "platform/platform.h"
#include "ui/application.h"

namespace {

// Steps shared by the four send operations. A slot the host left empty is
// treated as a failed host call rather than called.
uint8_t Send(size_t slot, uint16_t message_id, uint16_t request_length, const void* request,
             ReplyBytes& reply, const uint16_t* expected_length) {
  reply.fill(0);
  ShowLine("Sending to mobile...", 1);
  if (auto get_last_error = HostSlot<HostGetLastErrorFunc>(kSlotGetLastError)) get_last_error();

  const auto send = HostSlot<HostSendFunc>(slot);
  if (send == nullptr) return kSendHostFailed;
  uint16_t reply_length = 0;
  if (send(message_id, request_length, request_length > 0 ? request : nullptr, &reply_length,
           reply.data(), Host().com_handle) == 0) {
    return kSendHostFailed;
  }
  if (expected_length != nullptr && reply_length != *expected_length) return kSendLengthMismatch;
  return kSendCarried;
}

}  // namespace

uint8_t CSonvioFunction::SendTestFunction(uint16_t message_id, uint16_t request_length,
                                          const void* request, uint16_t expected_length,
                                          ReplyBytes& reply) {
  return Send(kSlotSendTestFunction, message_id, request_length, request, reply, &expected_length);
}

uint8_t CSonvioFunction::SendAtCommand(uint16_t message_id, uint16_t request_length,
                                       const void* request, ReplyBytes& reply) {
  return Send(kSlotSendAtCommand, message_id, request_length, request, reply, nullptr);
}

uint8_t CSonvioFunction::SendAudioRequest(uint16_t message_id, uint16_t request_length,
                                          const void* request, uint16_t expected_length,
                                          ReplyBytes& reply) {
  return Send(kSlotSendAudioRequest, message_id, request_length, request, reply, &expected_length);
}

uint8_t CSonvioFunction::SendInfoRequest(uint16_t message_id, uint16_t request_length,
                                         const void* request, ReplyBytes& reply) {
  return Send(kSlotSendInfoRequest, message_id, request_length, request, reply, nullptr);
}

void CSonvioFunction::ReportHostError() {
  if (auto get_last_error = HostSlot<HostGetLastErrorFunc>(kSlotGetLastError)) {
    const char* text = get_last_error();
    if (text == nullptr) text = "";
    if (std::strcmp(text, "No errors") == 0) {
      ShowLine("Error! Probably rejected before any communication was made", 0);
    } else {
      ShowLine(text, 1);
    }
    return;
  }
  OwnApplication().services().ShowMessage(platform::LastSystemErrorText(), "",
                                          ui::MessageIcon::kError);
}

void CSonvioFunction::LogOk() {
  ShowLine("OK", 1);
}

std::string CSonvioFunction::FormatRegisterHex(int16_t value) const {
  return ::FormatRegisterHex(value);
}

std::string CSonvioFunction::FormatRegisterNibbles(int16_t value) const {
  return ::FormatRegisterNibbles(value);
}

std::string CSonvioFunction::FormatRegisterNibblesWide(int16_t value) const {
  return ::FormatRegisterNibblesWide(value);
}

bool CSonvioFunction::ValidateRange(ui::Edit& edit, int32_t min, int32_t max) const {
  return ::ValidateRange(edit, min, max);
}
