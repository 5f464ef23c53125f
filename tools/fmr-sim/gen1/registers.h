// The first-generation chip's register space as the register message sees
// it: 16-bit registers below 0x8000 (the shared RadioModel's), 32-bit
// registers from 0x8000 up. Three of the 32-bit ones are read-only status
// registers of the synthesiser: the charge-pump (CP) code, in two layouts
// depending on the chip revision, and the injection sideband.
#pragma once

#include <cstdint>
#include <map>

#include "fmr-sim/radio_model.h"

namespace fmrsim {

class Gen1Registers {
 public:
  static constexpr uint16_t kSidebandRegister = 0x8724;  // bit 18 set: low-side injection
  static constexpr uint16_t kCpRegister = 0x8740;        // CP code from bit 11
  static constexpr uint16_t kCpRegisterWide = 0x8778;    // CP code from bit 16
  static constexpr uint32_t kLowInjectionBit = 1u << 18;
  // Intermediate frequency: the image of a station lies two IFs away.
  static constexpr uint32_t kIntermediateHz = 200000;

  // The charge-pump code the synthesiser settles on for a frequency: it
  // grows with the frequency, 15 at 87.5 MHz, 26 at 108 MHz.
  static uint32_t ChargePumpCode(uint32_t frequency_hz);

  // Injection side for the current frequency: 0 low, 1 high, anything else
  // (auto) the side whose image frequency carries the weaker signal, high
  // on a tie.
  static bool HighInjection(const RadioModel& radio, uint8_t sideband);

  uint32_t Read(const RadioModel& radio, uint8_t sideband, uint16_t address) const;
  // Writes to the status registers are ignored, as the chip does.
  void Write(RadioModel& radio, uint16_t address, uint32_t value);

 private:
  std::map<uint16_t, uint32_t> wide_;
};

}  // namespace fmrsim
