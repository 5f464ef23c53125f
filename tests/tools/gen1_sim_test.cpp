// The simulated first-generation handset driven the way the host drives it,
// through a reply buffer pre-filled with a marker, so the bytes written show
// exactly: seek levels, a hostile text command and fault injection. Every
// message the panel sends is exchanged in the gen1 tour (e2e_tour_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/responder.h"

namespace {

using namespace fmrsim::gen1;

constexpr uint8_t kMarker = 0xEE;
using Bytes = std::vector<uint8_t>;

// A request of `size` bytes, zero but for the little-endian fields {offset, width, value}.
Bytes Record(size_t size, std::initializer_list<std::array<int64_t, 3>> fields) {
  Bytes bytes(size, 0);
  for (const auto& [at, width, value] : fields)
    for (int64_t i = 0; i < width; ++i)
      bytes.at(static_cast<size_t>(at + i)) = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

// Power-on (52 bytes) or tune (28 bytes; action 0 tune, 1 seek up, 2 seek
// down) over 87.5 to 108 MHz, 100 kHz raster, high sideband.
// clang-format off
Bytes RxPowerOn() {
  return Record(52, {{0, 4, 88100000}, {4, 2, 20}, {8, 4, 108000000}, {12, 4, 87500000},
                     {16, 4, 100000}, {20, 1, 2}, {22, 2, 0x4000}, {40, 3, 0xFFFFFF}});
}
Bytes RxTune(int64_t action, int64_t frequency, int64_t min_rssi = 20) {
  return Record(28, {{0, 1, action}, {4, 4, frequency}, {8, 2, min_rssi}, {12, 4, 108000000},
                     {16, 4, 87500000}, {20, 4, 100000}, {24, 1, 2}});
}
// clang-format on

class Gen1SimTest : public ::testing::Test {
 protected:
  bool Send(uint16_t id, const Bytes& request) {
    reply.fill(kMarker);
    reply_length = 0xFFFF;
    return sim.SendTestFunction(id, request.empty() ? nullptr : request.data(),
                                static_cast<uint16_t>(request.size()), &reply_length, reply.data());
  }
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

TEST_F(Gen1SimTest, SeekFindsTheNextStationAtOrAboveTheLimitAndWraps) {
  // Stations: 88.1 (45), 89.3 (18), 91.7 (52), ..., 107.8 (35) dBuV.
  // Action, start, minimum level, the station found (0: rejected, the radio stays where it was).
  // clang-format off
  const struct { int64_t action, from, min_rssi; uint32_t found; } cases[] = {
      {1, 88100000, 20, 91700000},  // skips 89.3 below the limit
      {1, 88100000, 18, 89300000},  // a level equal to the limit counts
      {1, 107800000, 20, 88100000}, {2, 88100000, 20, 107800000},  // wraps
      {1, 91700000, 60, 91700000},  // nothing: back where it began
      {0, 120000000, 20, 0}};       // beyond the synthesiser
  // clang-format on
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn()));
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from " << c.from << " action " << c.action);
    const uint32_t before = radio.frequency_hz();
    ASSERT_TRUE(Send(kRxTune, RxTune(c.action, c.from, c.min_rssi)));
    EXPECT_EQ(Status(), c.found != 0 ? kStatusOk : kStatusRejected);
    EXPECT_EQ(radio.frequency_hz(), c.found != 0 ? c.found : before);
  }
}

TEST_F(Gen1SimTest, ALongSelfTestCommandWithFormatCharactersStaysInItsReply) {
  const auto at = [&](const std::string& command) {
    reply.fill(kMarker);
    return sim.SendAtCommand(0, reinterpret_cast<const uint8_t*>(command.data()),
                             static_cast<uint16_t>(command.size()), &reply_length, reply.data());
  };
  ASSERT_TRUE(at("at@fmr:quelm_fmr_enable_test_func()"));
  ASSERT_TRUE(
      at("at@quelm_fmr_internal_get_status_test_func(9%s%n%x" + std::string(500, '9') + ")"));
  EXPECT_LT(reply_length, kTextReplyCapacity);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.data())).find("successfully"),
            std::string::npos);
}

TEST_F(Gen1SimTest, FaultsFromTheCommandLineSyntax) {
  // The rule, the message, and what comes of it: the host call's result, the host's error
  // text, and when the call succeeds the reply length and status word.
  // clang-format off
  const struct { std::string rule; uint16_t id; std::string outcome; } cases[] = {
      {"4:fail:link down: cable", kRxTune, "0 link down: cable"}, {"0x04:fail:No errors", kRxTune, "0 No errors"},
      {"0x03:length", kReadRxStatus, "1 No errors 47 1"}, {"0x02:length", kRxPowerOff, "1 No errors 1 1"},
      {"0x1A:length:300", kReadRdsBlocks, "1 No errors 300 1"}, {"0x06:status:0x8001", kReadRxAudio, "1 No errors 22 32769"},
      {"slot77:status:7", kReadGain, "1 No errors 24 7"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    sim.faults().Clear();
    std::string error;
    ASSERT_TRUE(sim.AddFault(c.rule, error)) << error;
    const MessageShape* shape = FindTestFunction(c.id);
    const bool carried =
        Send(c.id, c.id == kRxTune ? RxTune(0, 88100000) : Bytes(shape->request_bytes, 0));
    // Only the status word's low byte arrives in a one-byte reply.
    const int status = reply_length >= 2 ? Status() : reply[0];
    EXPECT_EQ(
        std::to_string(carried) + " " + sim.last_error() +
            (carried ? " " + std::to_string(reply_length) + " " + std::to_string(status) : ""),
        c.outcome);
    // Never more than the message's own reply is written; nothing when the call fails.
    EXPECT_TRUE(UntouchedFrom(carried ? std::min(reply_length, shape->reply_bytes) : 0));
  }
  sim.faults().Clear();
  std::string error;
  for (const char* rule : {"0x04", "0x04:boom", "slot3:fail", "0x10000:fail", "0x04:status:70000",
                           "0x04:value=nope:1", "0x02:value=rssi:1", "0x04:value=rssi"})
    EXPECT_FALSE(sim.AddFault(rule, error)) << rule;
  EXPECT_TRUE(sim.faults().empty());
}

// A value fault: the radio acts and answers, one field of its reply off;
// a rule that never met its message is the one left to report.
TEST_F(Gen1SimTest, ValueFaultChangesOneReplyFieldAndUnfiredRulesAreNamed) {
  std::string error;
  ASSERT_TRUE(sim.AddFault("0x04:value=rssi:-12", error)) << error;
  ASSERT_TRUE(sim.AddFault("0x13:fail", error)) << error;
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn()));
  ASSERT_TRUE(Send(kRxTune, RxTune(0, 95400000)));
  EXPECT_EQ(Status(), kStatusOk);
  EXPECT_EQ(fmrsim::le::U32(reply, 4), 95400000u);
  EXPECT_EQ(fmrsim::le::S16(reply, 8), -12);
  EXPECT_EQ(radio.frequency_hz(), 95400000u);
  EXPECT_EQ(sim.faults().Unfired(), std::vector<std::string>{"0x13:fail"});
}

}  // namespace
