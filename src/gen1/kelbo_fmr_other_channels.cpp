// The operations of the command set that do not use the test-function
// channel: the PMU register and the self test (AT commands), the audio
// destination (audio channel) and the version text (info channel).
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/le_bytes.h"
#include "gen1/kelbo_fmr_function.h"

namespace gen1 {

namespace {

// Holds one AT command text with its terminating zero.
constexpr size_t kCommandBufferSize = 1000;
using CommandBuffer = std::array<char, kCommandBufferSize>;

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// "at@quelm_fmr_internal_get_status_test_func(" + frequency + ")". The
// frequency is copied as plain characters; a text too long for the buffer is
// cut so that the closing parenthesis still fits.
uint16_t BuildStatusCommand(const std::string& frequency, CommandBuffer& command) {
  constexpr std::string_view kPrefix = "at@quelm_fmr_internal_get_status_test_func(";
  const size_t room = command.size() - kPrefix.size() - 2;  // ")" and the zero byte
  const size_t length = std::min(frequency.size(), room);
  char* out = std::copy(kPrefix.begin(), kPrefix.end(), command.begin());
  out = std::copy_n(frequency.begin(), length, out);
  *out++ = ')';
  *out = '\0';
  return static_cast<uint16_t>(out - command.data());
}

}  // namespace

bool CKelboFMRFunction::ReadPmuRegister(uint32_t& value) {
  Log("Read PMU register", common::LogFlag::kProgress);
  static constexpr char kCommand[] = "at@pmu:get_register(28)";
  ReplyBytes& reply = ReplyBuffer();
  const SendOutcome result =
      SendAtCommand(0, static_cast<uint16_t>(std::strlen(kCommand)), kCommand, reply);
  if (result == SendOutcome::kCarried) {
    const std::string text = ReplyText(reply);
    unsigned int number = 0;
    if (std::sscanf(text.c_str(), "OK\n\r0x%x", &number) == 1) {
      value = number;
    } else {
      Log("Error while reading PMU register from the Target", common::LogFlag::kProgress);
      char word[100] = {};
      if (std::sscanf(text.c_str(), "%99s", word) != 1) word[0] = '\0';
      Log(std::string("error code : ") + word, common::LogFlag::kProgress);
    }
  }
  return MapResult(result);
}

bool CKelboFMRFunction::SetAudioOutput(uint8_t destination) {
  std::array<uint8_t, 24> request{};
  common::le::PutU16(request, 0, 1);
  common::le::PutU16(request, 4, destination);
  ReplyBytes& reply = ReplyBuffer();
  const SendOutcome result =
      SendAudioRequest(4, static_cast<uint16_t>(request.size()), request.data(), 4, reply);
  if (result != SendOutcome::kCarried) return MapResult(result);
  return MapResult(ReplyStatus(reply) == 1 ? SendOutcome::kCarried : SendOutcome::kStatusError);
}

std::string CKelboFMRFunction::ReadVersionText(uint8_t selector, uint8_t index) {
  const std::array<uint8_t, 2> request{index, selector};
  ReplyBytes reply{};
  const SendOutcome result =
      SendInfoRequest(8, static_cast<uint16_t>(request.size()), request.data(), reply);
  if (result == SendOutcome::kCarried && reply[0] == 1) return ReplyText(reply, 1);
  return "?";
}

bool CKelboFMRFunction::SelfTest(const std::string& frequency) {
  ReplyBytes& reply = ReplyBuffer();
  CommandBuffer command{};
  const auto send_text = [&](const char* text) {
    const size_t length = std::strlen(text);
    std::memcpy(command.data(), text, length + 1);
    return SendAtCommand(0, static_cast<uint16_t>(length), command.data(), reply);
  };
  const auto run_status_command = [&] {
    Log("FMR Selftest at frequency: " + frequency, common::LogFlag::kProgress);
    const uint16_t length = BuildStatusCommand(frequency, command);
    const SendOutcome result = SendAtCommand(0, length, command.data(), reply);
    const std::string text = ReplyText(reply);
    Log(text, common::FlagFor(result == SendOutcome::kCarried &&
                              Contains(text, "status retrieved successfully")));
    return result;
  };

  // The probe's outcome is not checked: byte 4 stays 0 when nothing came back.
  static_cast<void>(SendTestFunction(0, 0, nullptr, 6, reply));
  if (reply[4] != 0) return MapResult(run_status_command());

  SendOutcome result = send_text("at@fmr:quelm_fmr_enable_test_func()");
  const std::string enabled = ReplyText(reply);
  if (result == SendOutcome::kCarried && Contains(enabled, "Enabled FMR")) {
    Log(enabled, common::LogFlag::kProgress);
    run_status_command();
  } else {
    Log(enabled, common::LogFlag::kFailure);
  }
  result = send_text("at@fmr:quelm_fmr_disable_test_func()");
  const std::string disabled = ReplyText(reply);
  Log(disabled,
      common::FlagFor(result == SendOutcome::kCarried && Contains(disabled, "Disabled FMR")));
  return MapResult(result);
}

}  // namespace gen1
