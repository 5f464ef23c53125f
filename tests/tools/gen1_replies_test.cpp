// Reply shapes and contents of the simulated first-generation handset.
#include <cstdio>

#include "gen1_sim_fixture.h"

namespace simtest {
namespace {

using namespace fmrsim::gen1;

TEST_F(Gen1SimTest, EveryMessageAnswersWithTheLengthThePlugInExpects) {
  struct Shape {
    uint16_t id;
    std::vector<uint8_t> request;  // one the radio accepts
    uint16_t reply;
  };
  const Shape shapes[] = {
      {0x00, {}, 6},
      {0x01, RxPowerOn(88100000).bytes, 2},
      {0x03, {}, 48},
      {0x04, RxTune(0, 91700000).bytes, 12},
      {0x05, Record(20).bytes, 4},
      {0x06, {}, 22},
      {0x07, Record(2).bytes, 168},
      {0x08, Record(8).Set(0, 1, 1).bytes, 16},
      {0x0C, Record(12).Set(4, 2, 0x8740).bytes, 8},
      {0x0D, Record(20).bytes, 2},
      {0x0E, {}, 24},
      {0x0F, Record(4).bytes, 2},
      {0x10, Record(36).bytes, 2},
      {0x02, {}, 2},
      {0x11,
       Record(48)
           .Set(0, 4, 90000000)
           .Set(8, 4, 108000000)
           .Set(12, 4, 87500000)
           .Set(16, 4, 100000)
           .bytes,
       2},
      {0x13, Record(40).Set(0, 4, 90000000).Set(4, 4, 108000000).Set(8, 4, 87500000).bytes, 2},
      {0x14, Record(16).Set(0, 4, 87500000).Set(4, 4, 108000000).Set(8, 4, 100000).bytes, 12},
      {0x15, Record(20).bytes, 2},
      {0x16, Record(204).bytes, 2},
      {0x17, Record(4).bytes, 2},
      {0x18, {}, 64},
      {0x19, Record(162).Set(0, 1, 3).bytes, 4},
      {0x1A, {}, 252},
      {0x1B, {}, 204},
      {0x23, {}, 56},
      {0x3A, {}, 16},
      {0x12, {}, 2}};
  for (const Shape& m : shapes) {
    SCOPED_TRACE(::testing::Message() << "message 0x" << std::hex << m.id);
    ASSERT_TRUE(Send(m.id, m.request));
    EXPECT_EQ(reply_length, m.reply);
    EXPECT_EQ(Status(), kStatusOk);
    EXPECT_TRUE(UntouchedFrom(m.reply));
    EXPECT_EQ(sim.last_error(), "No errors");
  }
  // A request of the wrong size is refused with the expected reply length.
  ASSERT_TRUE(Send(kRxTune, Record(27)));
  EXPECT_EQ(reply_length, 12);
  EXPECT_EQ(Status(), kStatusBadRequest);
  ASSERT_TRUE(Send(kReadRxStatus, Record(4)));
  EXPECT_EQ(Status(), kStatusBadRequest);
  // An unknown message fails in the host.
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
    EXPECT_EQ(U32(4), c.found);
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

}  // namespace
}  // namespace simtest
