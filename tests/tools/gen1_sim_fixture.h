// Drives the first-generation handset simulator the way the host does:
// request bytes in, reply bytes and length out, through a buffer larger
// than any reply and pre-filled with a marker, so tests can see exactly
// how many bytes were written.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen1/responder.h"
#include "fmr-sim/radio_model.h"

namespace simtest {

inline constexpr uint8_t kMarker = 0xEE;

// A request record under construction: Set(offset, width, value)...
struct Record {
  explicit Record(size_t size) : bytes(size, 0) {}
  Record& Set(size_t at, size_t width, int64_t value) {
    for (size_t i = 0; i < width; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
    return *this;
  }
  std::vector<uint8_t> bytes;
};

// Receive power-on record: frequency, minimum RSSI, band 87.5 to 108 MHz,
// 100 kHz raster, the given sideband; "no change" for RDS and RSSI state.
inline Record RxPowerOn(uint32_t frequency, int16_t min_rssi = 20, uint8_t sideband = 2) {
  return Record(52)
      .Set(0, 4, frequency)
      .Set(4, 2, min_rssi)
      .Set(8, 4, 108000000)
      .Set(12, 4, 87500000)
      .Set(16, 4, 100000)
      .Set(20, 1, sideband)
      .Set(22, 2, 0x4000)
      .Set(40, 3, 0xFFFFFF);
}

// Tune record: action 0 tune, 1 seek up, 2 seek down, over 87.5 to 108 MHz.
inline Record RxTune(uint8_t action, uint32_t frequency, int16_t min_rssi = 20) {
  return Record(28)
      .Set(0, 1, action)
      .Set(4, 4, frequency)
      .Set(8, 2, min_rssi)
      .Set(12, 4, 108000000)
      .Set(16, 4, 87500000)
      .Set(20, 4, 100000)
      .Set(24, 1, 2);
}

class Gen1SimTest : public ::testing::Test {
 protected:
  bool Send(uint16_t id, const std::vector<uint8_t>& request = {}) {
    reply.fill(kMarker);
    reply_length = 0xFFFF;
    return sim.SendTestFunction(id, request.empty() ? nullptr : request.data(),
                                static_cast<uint16_t>(request.size()), &reply_length, reply.data());
  }
  bool Send(uint16_t id, const Record& request) { return Send(id, request.bytes); }
  bool At(const std::string& command) {
    reply.fill(kMarker);
    return sim.SendAtCommand(0, reinterpret_cast<const uint8_t*>(command.data()),
                             static_cast<uint16_t>(command.size()), &reply_length, reply.data());
  }
  std::string Text(size_t from = 0) const {
    return std::string(reinterpret_cast<const char*>(reply.data() + from));
  }

  uint16_t Status() const { return fmrsim::le::U16(reply, 0); }
  uint32_t U32(size_t at) const { return fmrsim::le::U32(reply, at); }

  // True when nothing was written from byte `from` on.
  bool UntouchedFrom(size_t from) const {
    return std::all_of(reply.begin() + static_cast<long>(from), reply.end(),
                       [](uint8_t b) { return b == kMarker; });
  }

  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder sim{radio};
  std::array<uint8_t, 300> reply{};
  uint16_t reply_length = 0;
};

}  // namespace simtest
