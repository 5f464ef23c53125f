// Drives the first-generation handset simulator the way the host does:
// request bytes in, reply bytes and length out, through a buffer larger
// than any reply and pre-filled with a marker, so tests can see exactly
// how many bytes were written.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gen1_messages.h"
#include "gen1_responder.h"
#include "le_bytes.h"
#include "radio_model.h"

namespace simtest {

inline constexpr uint8_t kMarker = 0xEE;

// A request record under construction.
struct Record {
  explicit Record(size_t size) : bytes(size, 0) {}
  Record& u8(size_t at, uint8_t v) {
    fmrsim::le::Put8(bytes, at, v);
    return *this;
  }
  Record& u16(size_t at, uint16_t v) {
    fmrsim::le::Put16(bytes, at, v);
    return *this;
  }
  Record& s16(size_t at, int16_t v) {
    fmrsim::le::PutS16(bytes, at, v);
    return *this;
  }
  Record& u32(size_t at, uint32_t v) {
    fmrsim::le::Put32(bytes, at, v);
    return *this;
  }
  std::vector<uint8_t> bytes;
};

// Receive power-on record: frequency, minimum RSSI, band 87.5 to 108 MHz,
// 100 kHz raster, the given sideband; "no change" for RDS and RSSI state.
inline Record RxPowerOn(uint32_t frequency, int16_t min_rssi = 20, uint8_t sideband = 2) {
  Record r(52);
  r.u32(0, frequency).s16(4, min_rssi).u32(8, 108000000).u32(12, 87500000).u32(16, 100000);
  r.u8(20, sideband).u16(22, 0x4000).u8(40, 0xFF).u8(41, 0xFF).u8(42, 0xFF);
  return r;
}

// Tune record: action 0 tune, 1 seek up, 2 seek down, over 87.5 to 108 MHz.
inline Record RxTune(uint8_t action, uint32_t frequency, int16_t min_rssi = 20) {
  Record r(28);
  r.u8(0, action).u32(4, frequency).s16(8, min_rssi);
  r.u32(12, 108000000).u32(16, 87500000).u32(20, 100000).u8(24, 2);
  return r;
}

inline Record TxPowerOn(uint32_t frequency) {
  Record r(48);
  r.u32(0, frequency).s16(4, 90).u32(8, 108000000).u32(12, 87500000).u32(16, 100000);
  r.u8(44, 0xFF);
  return r;
}

class Gen1SimTest : public ::testing::Test {
 protected:
  bool Send(uint16_t id, const std::vector<uint8_t>& request = {}) {
    return Call(fmrsim::gen1::kSlotTestFunction, id, request);
  }
  bool Send(uint16_t id, const Record& request) { return Send(id, request.bytes); }

  bool Call(int slot, uint16_t id, const std::vector<uint8_t>& request) {
    reply.fill(kMarker);
    reply_length = 0xFFFF;
    const uint8_t* data = request.empty() ? nullptr : request.data();
    const auto length = static_cast<uint16_t>(request.size());
    switch (slot) {
      case fmrsim::gen1::kSlotAudioRequest:
        return sim.SendAudioRequest(id, data, length, &reply_length, reply.data());
      case fmrsim::gen1::kSlotInfoRequest:
        return sim.SendInfoRequest(id, data, length, &reply_length, reply.data());
      case fmrsim::gen1::kSlotAtCommand:
        return sim.SendAtCommand(id, data, length, &reply_length, reply.data());
      default:
        return sim.SendTestFunction(id, data, length, &reply_length, reply.data());
    }
  }

  bool At(const std::string& command) {
    return Call(fmrsim::gen1::kSlotAtCommand, 0,
                std::vector<uint8_t>(command.begin(), command.end()));
  }
  std::string Text(size_t from = 0) const {
    return std::string(reinterpret_cast<const char*>(reply.data() + from));
  }

  uint16_t Status() const { return fmrsim::le::U16(reply, 0); }
  uint16_t U16(size_t at) const { return fmrsim::le::U16(reply, at); }
  int16_t S16(size_t at) const { return fmrsim::le::S16(reply, at); }
  uint32_t U32(size_t at) const { return fmrsim::le::U32(reply, at); }

  // True when nothing was written from byte `from` on.
  bool UntouchedFrom(size_t from) const {
    for (size_t i = from; i < reply.size(); ++i) {
      if (reply[i] != kMarker) return false;
    }
    return true;
  }

  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder sim{radio};
  std::array<uint8_t, 300> reply{};
  uint16_t reply_length = 0;
};

}  // namespace simtest
