#include "measure/tuning_events.h"

namespace benchora {
namespace {

// Test-function messages (first generation) that change reception.
constexpr uint16_t kRxPowerOn = 0x01;
constexpr uint16_t kRxPowerOff = 0x02;
constexpr uint16_t kRxTune = 0x04;     // byte 0: 0 tune, 1 seek up, 2 seek down
constexpr uint16_t kAccessRds = 0x07;  // byte 0: 1 on, 0 off, 0xFF a poll
constexpr uint16_t kTxPowerOn = 0x11;
constexpr uint16_t kTxPowerOff = 0x12;
constexpr uint16_t kTxTune = 0x13;
constexpr uint16_t kWriteTxRds = 0x16;  // byte 0 as for 0x07; byte 12 the PI
constexpr uint8_t kSwitchOn = 1;
constexpr uint8_t kSwitchOff = 0;

std::optional<std::string> Switched(std::span<const uint8_t> request, const char* on,
                                    const char* off) {
  if (request.empty()) return std::nullopt;
  if (request[0] == kSwitchOn) return on;
  if (request[0] == kSwitchOff) return off;
  return std::nullopt;
}

constexpr std::string_view kAtPrefix = "at@audapp:";

}  // namespace

std::optional<std::string> Gen1TuningEvent(uint16_t message_id, std::span<const uint8_t> request) {
  switch (message_id) {
    case kRxPowerOn:
      return "power on";
    case kRxPowerOff:
      return "power off";
    case kRxTune:
      return !request.empty() && request[0] != 0 ? "seek" : "tune";
    case kAccessRds:
      return Switched(request, "RDS switch-on", "RDS switch-off");
    case kTxPowerOn:
      return "transmitter switch-on";
    case kTxPowerOff:
      return "transmitter switch-off";
    case kTxTune:
      return "transmit tune";
    case kWriteTxRds:
      return Switched(request, "RDS transmission switch-on", "RDS transmission switch-off");
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> LoggedAtCommand(std::string_view line) {
  if (!line.starts_with(kAtPrefix) || line.find('(') == std::string_view::npos) return std::nullopt;
  return line;
}

std::optional<std::string> Gen2TuningEvent(std::string_view command) {
  if (!command.starts_with(kAtPrefix)) return std::nullopt;
  command.remove_prefix(kAtPrefix.size());
  const size_t open = command.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  const std::string_view name = command.substr(0, open);
  const std::string_view arguments = command.substr(open + 1);
  if (name == "fmrx_set_station") {
    // The tuning mode: 0 a frequency, 1 to 4 a seek, 5 the search of the band.
    if (arguments.starts_with("0,")) return "tune";
    if (arguments.starts_with("5,")) return "search";
    return "seek";
  }
  if (name == "fmrx_get_auto_seek_report") return "end of the search";
  if (name == "fmrx_set_band") return "band change";
  if (name == "fmrx_set_rds") {
    return arguments.starts_with("0,") ? "RDS switch-off" : "RDS switch-on";
  }
  if (name == "fmrx_enable") return "power on";
  if (name == "fmr_disable") return "power off";
  return std::nullopt;
}

}  // namespace benchora
