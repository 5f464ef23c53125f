// The binary request records of the first-generation radio, packed from the
// parameter block field by field at fixed offsets (little-endian). Padding
// bytes are never written: they keep the zero the records start with.
#pragma once

#include <array>
#include <cstdint>

#include "gen1/fmr_parameters.h"

// Every request record, back to back. All of them are rebuilt from the
// parameter block before any operation that sends parameters.
struct FmrRequests {
  std::array<uint8_t, 52> rxPowerOn{};   // id 0x01
  std::array<uint8_t, 28> rxTune{};      // id 0x04
  std::array<uint8_t, 20> rxAudio{};     // id 0x05
  std::array<uint8_t, 2> rds{};          // id 0x07
  std::array<uint8_t, 8> rssi{};         // id 0x08
  std::array<uint8_t, 12> reg{};         // id 0x0C
  std::array<uint8_t, 20> gain{};        // id 0x0D
  std::array<uint8_t, 4> antenna{};      // id 0x0F
  std::array<uint8_t, 36> testTone{};    // id 0x10
  std::array<uint8_t, 48> txPowerOn{};   // id 0x11
  std::array<uint8_t, 40> txTune{};      // id 0x13
  std::array<uint8_t, 16> txScan{};      // id 0x14
  std::array<uint8_t, 20> txAudio{};     // id 0x15
  std::array<uint8_t, 204> txRds{};      // id 0x16
  std::array<uint8_t, 4> chirp{};        // id 0x17
  std::array<uint8_t, 162> rdsGroups{};  // id 0x19
};

// Rebuilds every record from `params`. Of the transmit RDS groups only those
// below rdsTxGroupCount (at most 20) are rewritten.
void BuildRequests(const FmrParameters& params, FmrRequests& requests);
