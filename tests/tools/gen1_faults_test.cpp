// Gen1Fault injection of the simulated first-generation handset, from code and
// in the command-line syntax.
#include "gen1_sim_fixture.h"

namespace simtest {
namespace {

using namespace fmrsim::gen1;

fmrsim::Gen1Fault Of(fmrsim::Gen1FaultKind kind) {
  fmrsim::Gen1Fault fault;
  fault.kind = kind;
  return fault;
}

struct FaultCase {
  std::string rule;
  uint16_t id;
  bool host_result;
  uint16_t reply_length;  // when the host call succeeds
  uint16_t status;
  std::string last_error;  // empty: not checked
};

TEST_F(Gen1SimTest, FaultsFromTheCommandLineSyntax) {
  const FaultCase cases[] = {
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
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.rule);
    sim.faults().Clear();
    std::string error;
    ASSERT_TRUE(sim.AddFault(c.rule, error)) << error;
    const auto shape = FindTestFunction(c.id);
    ASSERT_NE(shape, nullptr);
    std::vector<uint8_t> request(shape->request_bytes, 0);
    if (c.id == kRxPowerOn) request = RxPowerOn(88100000).bytes;
    if (c.id == kRxTune) request = RxTune(0, 88100000).bytes;
    EXPECT_EQ(Send(c.id, request), c.host_result);
    if (c.host_result) {
      EXPECT_EQ(reply_length, c.reply_length);
      if (c.reply_length >= 2) {
        EXPECT_EQ(Status(), c.status);
      } else {  // only the status word's low byte arrived
        EXPECT_EQ(reply[0], c.status);
      }
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
}

TEST_F(Gen1SimTest, MalformedFaultSpecificationsAreRefused) {
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
  fmrsim::Gen1Fault once = Of(fmrsim::Gen1FaultKind::kHostFailure);
  once.error_text = "busy";
  once.times = 1;
  sim.InjectFault(kRxPowerOn, once);
  sim.InjectSlotFault(kSlotTestFunction, Of(fmrsim::Gen1FaultKind::kBadStatus));
  EXPECT_FALSE(Send(kRxPowerOn, RxPowerOn(95400000)));
  EXPECT_EQ(sim.last_error(), "busy");
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(95400000)));  // the message's own fault is used up
  EXPECT_EQ(Status(), 0);                              // the slot-wide one remains
  EXPECT_FALSE(radio.powered());
}

}  // namespace
}  // namespace simtest
