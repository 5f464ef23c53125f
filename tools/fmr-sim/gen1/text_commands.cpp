// The first-generation handset's requests outside the test-function set:
// the audio destination (slot 15) and the modem's text commands (slot 54):
// PMU register reads and the FM radio self-test commands. Replies follow
// modem style: the answer, then "OK", or "ERROR" for what it cannot do.
#include <cstdio>

#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/responder.h"
#include "fmr-sim/text_number.h"

namespace fmrsim {
namespace {

constexpr std::string_view kPmuRead = "at@pmu:get_register(";
constexpr std::string_view kEnableTest = "at@fmr:quelm_fmr_enable_test_func()";
constexpr std::string_view kDisableTest = "at@fmr:quelm_fmr_disable_test_func()";
constexpr std::string_view kStatusTest = "at@quelm_fmr_internal_get_status_test_func(";
constexpr size_t kEchoLimit = 60;  // characters of a bad argument quoted back

// The argument text of "prefix(argument)", or nullopt when `command` is not
// of that form.
std::optional<std::string_view> Argument(std::string_view command, std::string_view prefix) {
  if (!command.starts_with(prefix) || !command.ends_with(')')) return std::nullopt;
  return command.substr(prefix.size(), command.size() - prefix.size() - 1);
}

}  // namespace

uint16_t Gen1Responder::OnSetAudioOutput(Request req, Out out) {
  const uint16_t command = le::U16(req, 0);
  if (command == 1) {
    audio_destination_ = le::U16(req, 4);
  } else if (command != 0) {  // 0 only reads the destination back
    return gen1::kStatusRejected;
  }
  le::Put16(out, 2, audio_destination_);
  return gen1::kStatusOk;
}

std::string Gen1Responder::AnswerAtCommand(std::string_view command) {
  if (const auto index = Argument(command, kPmuRead)) {
    const std::optional<uint32_t> n = ParseUnsigned(*index);
    if (!n) return "ERROR";
    const auto it = pmu_registers_.find(*n);
    char text[32];
    std::snprintf(text, sizeof text, "OK\r\n0x%08X",
                  static_cast<unsigned>(it != pmu_registers_.end() ? it->second : 0));
    return text;
  }
  if (command == kEnableTest) {
    test_mode_ = true;
    if (!radio_.powered()) {
      // Test mode brings the receiver up where it last was.
      radio_.PowerOn(false);
      powered_by_test_mode_ = true;
    }
    return "Enabled FMR test mode\r\nOK";
  }
  if (command == kDisableTest) {
    if (powered_by_test_mode_) radio_.PowerOff();
    test_mode_ = false;
    powered_by_test_mode_ = false;
    return "Disabled FMR test mode\r\nOK";
  }
  if (const auto frequency = Argument(command, kStatusTest)) return SelfTestStatus(*frequency);
  return "ERROR";
}

std::string Gen1Responder::SelfTestStatus(std::string_view frequency_text) {
  if (!radio_.powered()) return "+CME ERROR: FMR is not running\r\nERROR";
  const std::optional<uint32_t> frequency = ParseUnsigned(frequency_text);
  if (!frequency || !radio_.Tune(*frequency)) {
    return "+CME ERROR: invalid frequency \"" + std::string(frequency_text.substr(0, kEchoLimit)) +
           "\"\r\nERROR";
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "FMR status retrieved successfully: frequency %u Hz, RSSI %d dBuV, %s, %s\r\nOK",
                static_cast<unsigned>(radio_.frequency_hz()), static_cast<int>(ReportedRssi()),
                radio_.transmitting() ? "transmitting" : "receiving",
                radio_.Stereo() ? "stereo" : "mono");
  return text;
}

}  // namespace fmrsim
