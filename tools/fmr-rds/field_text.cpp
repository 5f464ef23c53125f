#include "fmr-rds/field_text.h"

#include <cstdio>

namespace fmrrds {

std::string PiText(uint16_t pi) {
  char buffer[8];
  std::snprintf(buffer, sizeof(buffer), "%04X", static_cast<unsigned>(pi));
  return buffer;
}

std::string StatusText(uint16_t status) {
  return PiText(status);
}

std::string MhzText(uint32_t khz) {
  std::string text = std::to_string(khz / 1000);
  uint32_t rest = khz % 1000;
  if (rest != 0) {
    text += '.';
    for (uint32_t unit = 100; unit > 0 && rest != 0; unit /= 10) {
      text += static_cast<char>('0' + rest / unit);
      rest %= unit;
    }
  }
  return text;
}

std::string_view ProgrammeText(Programme ms) {
  return ms == Programme::kMusic ? "music" : "speech";
}

std::string_view DiName(uint8_t index) {
  switch (index) {
    case 0:
      return "stereo";
    case 1:
      return "artificial_head";
    case 2:
      return "compressed";
    default:
      return "dynamic_pty";
  }
}

}  // namespace fmrrds
