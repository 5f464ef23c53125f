#include "common/help_keyword.h"

#include <array>

namespace common {

std::string HelpKeyword(int32_t index) {
  static const std::array<const char*, 10> kKeywords = {
      "",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#FREQ_TUN",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#AUDIO_CONTROL",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#RSSI_CONTROL",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#RDS_CONTROL",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#Gain_Control",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#PMU_Control",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#Register_Control",
      "SonvioHelp.chm::/SonvioHelp/Sonvio.html#Audio_Output",
  };
  if (index < 0 || index > 9) return kKeywords[0];
  return kKeywords[static_cast<size_t>(index)];
}

}  // namespace common
