// The first-generation message channel: binary requests and text commands
// carried to the handset by the host's send functions, the outcome reports,
// and the formatting and range-check helpers the panels share.
#pragma once

#include <cstdint>
#include <string>

#include "common/host_link.h"
#include "gen1/reply_buffer.h"

namespace ui {
class Edit;
}

namespace gen1 {

// The outcome of one exchange on the binary channel, as the result mapping
// reports it. A send produces the first three; the command set adds the
// fourth after testing the reply's status word.
enum class SendOutcome : uint8_t {
  kCarried = 0,         // carried (and the reply length matched)
  kHostFailed = 1,      // the host call returned false
  kLengthMismatch = 2,  // the reply length differs from the expected
  kStatusError = 3,     // carried, but the radio's status word is not 1
};

class CSonvioFunction {
 public:
  explicit CSonvioFunction(const common::ModuleContext& context) : context_(context) {}
  CSonvioFunction(const CSonvioFunction&) = delete;
  CSonvioFunction& operator=(const CSonvioFunction&) = delete;

  // The four send operations, in this order in the table of virtual
  // operations. Each clears `reply`, logs "Sending to mobile...", resets the
  // host's error state and calls its host slot. `request` may be null when
  // `request_length` is 0; a text command's length excludes its zero byte.

  // Binary request over the host's test-function slot; the reply must be
  // exactly `expected_length` bytes.
  [[nodiscard]] virtual SendOutcome SendTestFunction(uint16_t message_id, uint16_t request_length,
                                                     const void* request, uint16_t expected_length,
                                                     ReplyBytes& reply);
  // Text command over the host's AT-command slot; any reply length.
  [[nodiscard]] virtual SendOutcome SendAtCommand(uint16_t message_id, uint16_t request_length,
                                                  const void* request, ReplyBytes& reply);
  // Binary request over the host's audio slot; the reply length is tested.
  [[nodiscard]] virtual SendOutcome SendAudioRequest(uint16_t message_id, uint16_t request_length,
                                                     const void* request, uint16_t expected_length,
                                                     ReplyBytes& reply);
  // Binary request over the host's info slot; any reply length.
  [[nodiscard]] virtual SendOutcome SendInfoRequest(uint16_t message_id, uint16_t request_length,
                                                    const void* request, ReplyBytes& reply);

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

 protected:
  common::HostLink& host() const { return context_.host; }
  void Log(const char* text, common::LogFlag flag) const { context_.host.Log(text, flag); }
  void Log(const std::string& text, common::LogFlag flag) const { context_.host.Log(text, flag); }

 private:
  SendOutcome Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
                   const void* request, ReplyBytes& reply, const uint16_t* expected_length);

  common::ModuleContext context_;
};

}  // namespace gen1
