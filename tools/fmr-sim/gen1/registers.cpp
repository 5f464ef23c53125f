#include "fmr-sim/gen1/registers.h"

#include <algorithm>

namespace fmrsim {
namespace {

constexpr uint32_t kSidebandBase = 0x00012C00;  // PLL enable and divider bits
constexpr uint32_t kCpLowBits = 0x0107;         // lock detect and loop filter bits
constexpr uint32_t kCpWideLowBits = 0x0A5C;

// Reset values of the 32-bit registers that are not status registers.
uint32_t WideResetValue(uint16_t address) {
  switch (address) {
    case 0x8000:
      return 0x10210003;  // chip id and revision
    case 0x8004:
      return 0x00000001;  // core enable
    case 0x8700:
      return 0x0000A0F0;  // synthesiser configuration
    case 0x8720:
      return 0x00C80064;  // IF filter
    default:
      return 0;
  }
}

}  // namespace

uint32_t Gen1Registers::ChargePumpCode(uint32_t frequency_hz) {
  const uint32_t above = frequency_hz > 64000000u ? frequency_hz - 64000000u : 0;
  return std::min<uint32_t>(4 + above / 2000000u, 31);
}

bool Gen1Registers::HighInjection(const RadioModel& radio, uint8_t sideband) {
  if (sideband == 0) return false;
  if (sideband == 1) return true;
  const uint32_t f = radio.frequency_hz();
  const int high_image = radio.RssiAt(f + 2 * kIntermediateHz);
  const int low_image =
      f > 2 * kIntermediateHz ? radio.RssiAt(f - 2 * kIntermediateHz) : radio.noise_floor_dbuv();
  return high_image <= low_image;
}

uint32_t Gen1Registers::Read(const RadioModel& radio, uint8_t sideband, uint16_t address) const {
  if (address < 0x8000) return radio.ReadRegister(address);
  const uint32_t cp = ChargePumpCode(radio.frequency_hz());
  switch (address) {
    case kSidebandRegister:
      return kSidebandBase | (HighInjection(radio, sideband) ? 0 : kLowInjectionBit);
    case kCpRegister:
      return (cp << 11) | kCpLowBits;
    case kCpRegisterWide:
      return (cp << 16) | kCpWideLowBits;
    default:
      break;
  }
  if (auto it = wide_.find(address); it != wide_.end()) return it->second;
  return WideResetValue(address);
}

void Gen1Registers::Write(RadioModel& radio, uint16_t address, uint32_t value) {
  if (address < 0x8000) {
    radio.WriteRegister(address, static_cast<uint16_t>(value & 0xFFFF));
    return;
  }
  if (address == kSidebandRegister || address == kCpRegister || address == kCpRegisterWide) return;
  wide_[address] = value;
}

}  // namespace fmrsim
