#include "gen1/sonvio_function.h"

#include "common/format.h"
#include "common/validate.h"
#include "platform/platform.h"
#include "ui/services.h"

namespace gen1 {

// Steps shared by the four send operations. A channel the host gave no
// function for counts as a failed host call.
SendOutcome CSonvioFunction::Send(common::HostChannel channel, uint16_t message_id,
                                  uint16_t request_length, const void* request, ReplyBytes& reply,
                                  const uint16_t* expected_length) {
  reply.fill(0);
  Log("Sending to mobile...", common::LogFlag::kProgress);
  static_cast<void>(host().LastError());

  uint16_t reply_length = 0;
  if (!host().Send(channel, message_id, request_length, request_length > 0 ? request : nullptr,
                   reply_length, reply.data())) {
    return SendOutcome::kHostFailed;
  }
  if (expected_length != nullptr && reply_length != *expected_length) {
    return SendOutcome::kLengthMismatch;
  }
  return SendOutcome::kCarried;
}

SendOutcome CSonvioFunction::SendTestFunction(uint16_t message_id, uint16_t request_length,
                                              const void* request, uint16_t expected_length,
                                              ReplyBytes& reply) {
  return Send(common::HostChannel::kTestFunction, message_id, request_length, request, reply,
              &expected_length);
}

SendOutcome CSonvioFunction::SendAtCommand(uint16_t message_id, uint16_t request_length,
                                           const void* request, ReplyBytes& reply) {
  return Send(common::HostChannel::kAtCommand, message_id, request_length, request, reply, nullptr);
}

SendOutcome CSonvioFunction::SendAudioRequest(uint16_t message_id, uint16_t request_length,
                                              const void* request, uint16_t expected_length,
                                              ReplyBytes& reply) {
  return Send(common::HostChannel::kAudioRequest, message_id, request_length, request, reply,
              &expected_length);
}

SendOutcome CSonvioFunction::SendInfoRequest(uint16_t message_id, uint16_t request_length,
                                             const void* request, ReplyBytes& reply) {
  return Send(common::HostChannel::kInfoRequest, message_id, request_length, request, reply,
              nullptr);
}

void CSonvioFunction::ReportHostError() {
  if (const std::optional<std::string_view> text = host().LastError()) {
    if (*text == "No errors") {
      Log("Error! Probably rejected before any communication was made", common::LogFlag::kFailure);
    } else {
      Log(std::string(*text), common::LogFlag::kProgress);
    }
    return;
  }
  context_.services.ShowMessage(platform::LastSystemErrorText(), "", ui::MessageIcon::kError);
}

void CSonvioFunction::LogOk() {
  Log("OK", common::LogFlag::kProgress);
}

std::string CSonvioFunction::FormatRegisterHex(int16_t value) const {
  return common::FormatRegisterHex(value);
}

std::string CSonvioFunction::FormatRegisterNibbles(int16_t value) const {
  return common::FormatRegisterNibbles(value);
}

std::string CSonvioFunction::FormatRegisterNibblesWide(int16_t value) const {
  return common::FormatRegisterNibblesWide(value);
}

bool CSonvioFunction::ValidateRange(ui::Edit& edit, int32_t min, int32_t max) const {
  return common::ValidateRange(edit, min, max);
}

}  // namespace gen1
