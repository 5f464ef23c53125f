// The first-generation message channel: binary requests and text commands
// carried to the handset by the host's send functions, the outcome reports,
// and the formatting and range-check helpers the panels share.
#pragma once

#include <cstdint>
#include <string>

#include "gen1/reply_buffer.h"

namespace ui {
class Edit;
}

// Results of one send.
inline constexpr uint8_t kSendCarried = 0;         // carried (and the reply length matched)
inline constexpr uint8_t kSendHostFailed = 1;      // the host call returned false
inline constexpr uint8_t kSendLengthMismatch = 2;  // the reply length differs from the expected

class CSonvioFunction {
 public:
  CSonvioFunction() = default;
  CSonvioFunction(const CSonvioFunction&) = delete;
  CSonvioFunction& operator=(const CSonvioFunction&) = delete;

  // The four send operations, in this order in the table of virtual
  // operations. Each clears `reply`, logs "Sending to mobile...", resets the
  // host's error state and calls its host slot. `request` may be null when
  // `request_length` is 0; a text command's length excludes its zero byte.

  // Binary request over the host's test-function slot; the reply must be
  // exactly `expected_length` bytes.
  virtual uint8_t SendTestFunction(uint16_t message_id, uint16_t request_length,
                                   const void* request, uint16_t expected_length,
                                   ReplyBytes& reply);
  // Text command over the host's AT-command slot; any reply length.
  virtual uint8_t SendAtCommand(uint16_t message_id, uint16_t request_length, const void* request,
                                ReplyBytes& reply);
  // Binary request over the host's audio slot; the reply length is tested.
  virtual uint8_t SendAudioRequest(uint16_t message_id, uint16_t request_length,
                                   const void* request, uint16_t expected_length,
                                   ReplyBytes& reply);
  // Binary request over the host's info slot; any reply length.
  virtual uint8_t SendInfoRequest(uint16_t message_id, uint16_t request_length, const void* request,
                                  ReplyBytes& reply);

  virtual ~CSonvioFunction() = default;

  // Explains a failed host call: the host's error text (flag 1), or for the
  // host's "No errors" a failure line; without the host's error function a
  // message box with the system's last error text.
  void ReportHostError();
  // Logs "OK".
  void LogOk();

  // Shared formatting and range checks (no member state is used).
  std::string FormatRegisterHex(int16_t value) const;
  std::string FormatRegisterNibbles(int16_t value) const;
  std::string FormatRegisterNibblesWide(int16_t value) const;
  bool ValidateRange(ui::Edit& edit, int32_t min, int32_t max) const;
};
