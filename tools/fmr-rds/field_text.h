// Texts of decoded fields shared by the JSON and the readable output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fmr-rds/station_decoder.h"

namespace fmrrds {

// "C201"
std::string PiText(uint16_t pi);
// "F000": the four status nibbles, block A first.
std::string StatusText(uint16_t status);
// 88100 kHz: "88.1"
std::string MhzText(uint32_t khz);
// "music" / "speech"
std::string_view ProgrammeText(Programme ms);
// Decoder-information bit d0..d3: "stereo", "artificial_head", "compressed", "dynamic_pty"
std::string_view DiName(uint8_t index);

}  // namespace fmrrds
