// The simulated first-generation handset driven the way the host drives it:
// request bytes in, reply bytes and length out, through a buffer larger than
// any reply and pre-filled with a marker, so the bytes written show exactly.
// Refused requests, seek, text commands and fault injection.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/responder.h"

namespace {

using namespace fmrsim::gen1;

constexpr uint8_t kMarker = 0xEE;

using Bytes = std::vector<uint8_t>;
struct Field {
  size_t at, width;
  int64_t value;
};

// A request of `size` bytes, zero but for the little-endian `fields`.
Bytes Record(size_t size, std::initializer_list<Field> fields = {}) {
  Bytes bytes(size, 0);
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.width; ++i)
      bytes.at(f.at + i) = static_cast<uint8_t>(f.value >> (8 * i));
  }
  return bytes;
}

// Receive power-on over 87.5 to 108 MHz, 100 kHz raster, high sideband.
Bytes RxPowerOn(uint32_t frequency) {
  return Record(52, {{0, 4, frequency},
                     {4, 2, 20},
                     {8, 4, 108000000},
                     {12, 4, 87500000},
                     {16, 4, 100000},
                     {20, 1, 2},
                     {22, 2, 0x4000},
                     {40, 3, 0xFFFFFF}});
}

// Tune record: action 0 tune, 1 seek up, 2 seek down, over 87.5 to 108 MHz.
Bytes RxTune(uint8_t action, uint32_t frequency, int16_t min_rssi = 20) {
  return Record(28, {{0, 1, action},
                     {4, 4, frequency},
                     {8, 2, min_rssi},
                     {12, 4, 108000000},
                     {16, 4, 87500000},
                     {20, 4, 100000},
                     {24, 1, 2}});
}

class Gen1SimTest : public ::testing::Test {
 protected:
  bool Send(uint16_t id, const Bytes& request = {}) {
    reply.fill(kMarker);
    reply_length = 0xFFFF;
    return sim.SendTestFunction(id, request.empty() ? nullptr : request.data(),
                                static_cast<uint16_t>(request.size()), &reply_length, reply.data());
  }
  bool At(const std::string& command) {
    reply.fill(kMarker);
    return sim.SendAtCommand(0, reinterpret_cast<const uint8_t*>(command.data()),
                             static_cast<uint16_t>(command.size()), &reply_length, reply.data());
  }
  std::string Text() const { return reinterpret_cast<const char*>(reply.data()); }
  uint16_t Status() const { return fmrsim::le::U16(reply, 0); }
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

// Every message the panel sends, with the reply it expects, is exchanged in
// the gen1 tour (e2e_tour_test); here the requests it never sends.
TEST_F(Gen1SimTest, ARequestOfTheWrongSizeOrAnUnknownMessageIsRefused) {
  ASSERT_TRUE(Send(kRxTune, Record(27)));
  EXPECT_EQ(reply_length, 12);
  EXPECT_EQ(Status(), kStatusBadRequest);
  EXPECT_TRUE(UntouchedFrom(12));
  EXPECT_FALSE(Send(0x09));
  EXPECT_NE(sim.last_error().find("0x09"), std::string::npos);
}

TEST_F(Gen1SimTest, SeekFindsTheNextStationAtOrAboveTheLimitAndWraps) {
  // Stations in the band: 88.1 (45), 89.3 (18), 91.7 (52), 95.4 (30),
  // 99.9 (12), 103.2 (41), 107.8 (35) dBuV.
  struct Case {
    uint8_t action;
    uint32_t from;
    int16_t min_rssi;
    uint32_t found;  // 0: rejected, the radio stays where it was
  };
  const Case cases[] = {
      {1, 88100000, 20, 91700000},  // skips 89.3 below the limit
      {1, 88100000, 18, 89300000},  // a level equal to the limit counts
      {1, 103200000, 20, 107800000}, {1, 107800000, 20, 88100000},  // wraps at the top
      {2, 88100000, 20, 107800000},                                 // wraps at the bottom
      {2, 95400000, 40, 91700000},   {1, 91700000, 60, 91700000},   // nothing: back where it began
      {0, 120000000, 20, 0}};                                       // beyond the synthesiser
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(88100000)));
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from " << c.from << " action " << int{c.action});
    const uint32_t before = radio.frequency_hz();
    ASSERT_TRUE(Send(kRxTune, RxTune(c.action, c.from, c.min_rssi)));
    EXPECT_EQ(Status(), c.found != 0 ? kStatusOk : kStatusRejected);
    EXPECT_EQ(fmrsim::le::U32(reply, 4), c.found);
    EXPECT_EQ(radio.frequency_hz(), c.found != 0 ? c.found : before);
  }
}

TEST_F(Gen1SimTest, TextCommandsPmuRegisterAndSelfTest) {
  ASSERT_TRUE(At("at@pmu:get_register(28)"));
  EXPECT_EQ(reply_length, Text().size());
  unsigned value = 0;
  ASSERT_EQ(std::sscanf(Text().c_str(), "OK\n\r0x%x", &value), 1);
  EXPECT_NE(value & (1u << 22), 0u);  // PWM

  const std::string status = "at@quelm_fmr_internal_get_status_test_func(";
  struct Step {
    std::string command;
    const char* answer;
    bool success;     // "status retrieved successfully" in the answer
    uint8_t running;  // probe byte 4 afterwards
  };
  const Step steps[] = {{status + "95400000)", "", false, 0},  // test functions off
                        {"at@fmr:quelm_fmr_enable_test_func()", "Enabled FMR", false, 1},
                        {status + "95400000)", "95400000", true, 1},
                        {status + "9%s%n%x" + std::string(500, '9') + ")", "", false, 1},
                        {"at@fmr:quelm_fmr_disable_test_func()", "Disabled FMR", false, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.command.substr(0, 60));
    ASSERT_TRUE(At(step.command));
    EXPECT_LT(reply_length, kTextReplyCapacity);
    EXPECT_NE(Text().find(step.answer), std::string::npos) << Text();
    EXPECT_EQ(Text().find("status retrieved successfully") != std::string::npos, step.success);
    ASSERT_TRUE(Send(kProbe));
    EXPECT_EQ(reply[4], step.running);
  }
}

TEST_F(Gen1SimTest, FaultsFromTheCommandLineSyntax) {
  struct Case {
    std::string rule;
    uint16_t id;
    bool host_result;
    uint16_t reply_length;  // when the host call succeeds
    uint16_t status;
    std::string last_error;  // empty: not checked
  };
  const Case cases[] = {
      {"0x04:fail", kRxTune, false, 0, 0, ""},
      {"0x04:fail:No errors", kRxTune, false, 0, 0, "No errors"},
      {"4:fail:link down: cable", kRxTune, false, 0, 0, "link down: cable"},
      {"0x03:length", kReadRxStatus, true, 47, kStatusOk, "No errors"},
      {"0x03:length:46", kReadRxStatus, true, 46, kStatusOk, "No errors"},
      {"0x02:length", kRxPowerOff, true, 1, kStatusOk, "No errors"},
      {"0x1A:length:300", kReadRdsBlocks, true, 300, kStatusOk, "No errors"},
      {"0x01:status", kRxPowerOn, true, 2, 0, "No errors"},
      {"0x06:status:0x8001", kReadRxAudio, true, 22, 0x8001, "No errors"},
      {"slot77:status:7", kReadGain, true, 24, 7, "No errors"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    sim.faults().Clear();
    std::string error;
    ASSERT_TRUE(sim.AddFault(c.rule, error)) << error;
    const MessageShape* shape = FindTestFunction(c.id);
    Bytes request(shape->request_bytes, 0);
    if (c.id == kRxPowerOn) request = RxPowerOn(88100000);
    if (c.id == kRxTune) request = RxTune(0, 88100000);
    EXPECT_EQ(Send(c.id, request), c.host_result);
    if (c.host_result) {
      EXPECT_EQ(reply_length, c.reply_length);
      // Only the status word's low byte arrives in a one-byte reply.
      EXPECT_EQ(c.reply_length >= 2 ? Status() : reply[0], c.status);
      // Never more than the message's own reply is written.
      EXPECT_TRUE(UntouchedFrom(std::min(c.reply_length, shape->reply_bytes)));
    } else {
      EXPECT_TRUE(UntouchedFrom(0));
      EXPECT_FALSE(sim.last_error().empty());
    }
    if (!c.last_error.empty()) {
      EXPECT_EQ(sim.last_error(), c.last_error);
    }
  }
  sim.faults().Clear();
  for (const char* rule : {"", "0x04", "0x04:boom", "slot3:fail", "0x10000:fail", "0x04:length:x",
                           "0x04:status:70000", "radio:fail"}) {
    SCOPED_TRACE(rule);
    std::string error;
    EXPECT_FALSE(sim.AddFault(rule, error));
    EXPECT_NE(error.find("fault"), std::string::npos);
  }
  EXPECT_TRUE(sim.faults().empty());
}

TEST_F(Gen1SimTest, FaultsWearOffAndTheMessageOwnWins) {
  fmrsim::Gen1Fault once;  // a host failure
  once.error_text = "busy";
  once.times = 1;
  sim.InjectFault(kRxPowerOn, once);
  fmrsim::Gen1Fault refused;
  refused.kind = fmrsim::Gen1FaultKind::kBadStatus;
  sim.InjectSlotFault(kSlotTestFunction, refused);
  EXPECT_FALSE(Send(kRxPowerOn, RxPowerOn(95400000)));
  EXPECT_EQ(sim.last_error(), "busy");
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(95400000)));  // the message's own fault is used up
  EXPECT_EQ(Status(), 0);                              // the slot-wide one remains
  EXPECT_FALSE(radio.powered());
}

}  // namespace
