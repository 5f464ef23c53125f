// What makes the radio receive something else: a new tuning, after which
// the RDS station decoded before no longer counts. The first generation's
// events are test-function requests, the second generation's the AT
// commands the panel logs before sending them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace benchora {

// "tune", "seek", "power off", ... for a first-generation request that
// changes what the radio receives or sends; nullopt for any other.
[[nodiscard]] std::optional<std::string> Gen1TuningEvent(uint16_t message_id,
                                                         std::span<const uint8_t> request);

// The same for a second-generation command text
// ("at@audapp:fmrx_set_station(0,95400000,10,0)").
[[nodiscard]] std::optional<std::string> Gen2TuningEvent(std::string_view command);

// The AT command of a second-generation log line, nullopt for any other line.
[[nodiscard]] std::optional<std::string_view> LoggedAtCommand(std::string_view line);

}  // namespace benchora
