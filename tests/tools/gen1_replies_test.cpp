// Reply shapes and contents of the simulated first-generation handset.
#include <algorithm>
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
      {0x11, TxPowerOn(90000000).bytes, 2},
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

TEST_F(Gen1SimTest, PowerOnThenStatusReportsStationAndSettings) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(91700000).Set(26, 1, 1).Set(44, 2, -2)));
  ASSERT_TRUE(Send(kReadRxStatus));
  EXPECT_EQ(U32(4), 91700000u);
  EXPECT_EQ(reply[8], 1);               // stereo
  EXPECT_EQ(U32(12), 19000u);           // pilot
  EXPECT_EQ(S16(16), 52 - 2);           // level with the offset
  EXPECT_EQ(U16(18), 0x4000);           // volume
  EXPECT_EQ(reply[22], 1);              // de-emphasis
  EXPECT_EQ(U16(44) & 0x0007, 0x0007);  // powered, receiving, station
  ASSERT_TRUE(Send(kReadPowerState));
  EXPECT_EQ(U32(32), 1u);

  ASSERT_TRUE(Send(kRxTune, RxTune(0, 91700000).Set(10, 1, 1)));  // forced mono
  EXPECT_EQ(S16(8), 52 - 2);
  EXPECT_EQ(reply[10], 0);
  ASSERT_TRUE(Send(kRxPowerOff));
  ASSERT_TRUE(Send(kReadPowerState));
  EXPECT_EQ(U32(32), 0u);
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

TEST_F(Gen1SimTest, RdsGroupsCarryPiProgrammeServiceAndRadioText) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(91700000)));
  ASSERT_TRUE(Send(kAccessRds, Record(2).Set(0, 1, 1).Set(1, 1, 0xFF)));
  EXPECT_EQ(reply[2], 0);  // nothing received at the moment RDS starts
  ASSERT_TRUE(Send(kAccessRds, Record(2).Set(0, 2, 0xFFFF)));
  ASSERT_EQ(reply[2], 16);
  std::string ps;
  for (size_t g = 0; g < 16; ++g) {
    const size_t at = 4 + 8 * g;
    EXPECT_EQ(U16(at), 0xC203) << "block A of group " << g;
    EXPECT_EQ(U16(132 + 2 * g), 0) << "status of group " << g;
    const uint16_t b = U16(at + 2);
    EXPECT_EQ((b >> 5) & 0x1F, 1) << "programme type";
    EXPECT_EQ(b >> 11, g < 4 ? 0 : 4) << "group type 0A, then 2A";
    EXPECT_EQ(b & (g < 4 ? 0x3 : 0xF), g < 4 ? g : g - 4) << "PS or radio text segment";
    if (g < 4) ps += {static_cast<char>(reply[at + 7]), static_cast<char>(reply[at + 6])};
  }
  EXPECT_EQ(ps, "NEWS 24 ");
  EXPECT_EQ(U16(4 + 8 * 4 + 4), ('N' << 8) | 'e');  // blocks C and D of the first 2A group
  EXPECT_EQ(U16(4 + 8 * 4 + 6), ('w' << 8) | 's');
  EXPECT_EQ(U16(164), 16);  // groups received so far
}

TEST_F(Gen1SimTest, RegistersForChargePumpAndSideband) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(87500000, 20, 0)));  // low side
  auto read = [&](uint16_t address) {
    EXPECT_TRUE(Send(kAccessRegister, Record(12).Set(4, 2, address)));
    EXPECT_EQ(Status(), kStatusOk);
    return U32(4);
  };
  EXPECT_EQ(read(0x8740) >> 11, 15u);     // charge pump at 87.5 MHz
  EXPECT_NE(read(0x8724) & 0x40000, 0u);  // low-side injection
  ASSERT_TRUE(Send(kRxTune, RxTune(0, 108000000).Set(24, 1, 1)));
  EXPECT_EQ(read(0x8740) >> 11, 26u);
  EXPECT_EQ(read(0x8724) & 0x40000, 0u);

  ASSERT_TRUE(
      Send(kAccessRegister, Record(12).Set(0, 4, 1).Set(4, 2, 0x0010).Set(8, 4, 0x12345678)));
  EXPECT_EQ(U32(4), 0x5678u);  // a 16-bit register keeps the low half
  ASSERT_TRUE(
      Send(kAccessRegister, Record(12).Set(0, 4, 1).Set(4, 2, 0x8010).Set(8, 4, 0x12345678)));
  EXPECT_EQ(read(0x8010), 0x12345678u);
  ASSERT_TRUE(Send(kAccessRegister, Record(12).Set(4, 2, 0x0003)));
  EXPECT_EQ(Status(), kStatusRejected);
}

TEST_F(Gen1SimTest, TransmitSettingsReadBackWholeFields) {
  Record w(204);  // state, stack, features, deviation, decoder, PI, texts, PTY, AF list
  w.Set(0, 2, 0x0101).Set(4, 4, 0x3E).Set(8, 3, 0x0107D0).Set(12, 2, 0xBEEF).Set(152, 1, 9);
  for (size_t i = 0; i < 138; ++i) w.Set(14 + i, 1, 'A' + i % 26);
  for (size_t i = 0; i < 25; ++i) w.Set(154 + 2 * i, 2, 0x100 + i);
  ASSERT_TRUE(Send(kWriteTxRds, w));
  ASSERT_TRUE(Send(kReadTxRds));
  EXPECT_EQ(U16(2), 0x0101);  // state and stack flag move two bytes up in the reply
  EXPECT_TRUE(std::equal(w.bytes.begin() + 4, w.bytes.end(), reply.begin() + 4));
  ASSERT_TRUE(Send(kWriteTxRds, w.Set(0, 1, 0xFF).Set(10, 1, 0xFF)));  // "no change"
  ASSERT_TRUE(Send(kReadTxRds));
  EXPECT_EQ(reply[2], 1);
  EXPECT_EQ(reply[10], 1);

  ASSERT_TRUE(Send(kTxPowerOn, TxPowerOn(99000000).Set(20, 4, -1).Set(28, 4, 68250)));
  ASSERT_TRUE(Send(kWriteTxAudio, Record(20).Set(0, 4, 0x1234).Set(4, 4, 1).Set(8, 4, 1)));
  ASSERT_TRUE(Send(kReadTxStatus));
  EXPECT_EQ(U32(4), 99000000u);
  EXPECT_EQ(S16(8), 90);
  EXPECT_EQ(reply[24], 0);  // the audio write set pre-emphasis back to 0
  EXPECT_EQ(U32(32), 68250u);
  EXPECT_EQ(U16(52), 0x1234);
  EXPECT_EQ(reply[56], 1);
  ASSERT_TRUE(Send(kReadPowerState));
  EXPECT_EQ(U32(32), 2u);
  // The RDS stack encodes PI, programme type and PS name.
  ASSERT_TRUE(Send(kReadRdsBlocks));
  ASSERT_EQ(reply[8], 16);
  EXPECT_EQ(U16(10), 0xBEEF);
  EXPECT_EQ((U16(12) >> 5) & 0x1F, 9);
  EXPECT_EQ(U16(16), ('M' << 8) | 'N');
}

TEST_F(Gen1SimTest, SentGroupsAreAcceptedAsFarAsTheFifoHasRoom) {
  Record groups(162);
  groups.Set(0, 1, 20);
  for (size_t i = 0; i < 20; ++i) groups.Set(2 + 8 * i, 2, 0x1000 + i);
  std::vector<int> accepted;
  for (int i = 0; i < 3; ++i) {  // not on air: the FIFO only fills
    ASSERT_TRUE(Send(kSendRdsGroups, groups));
    accepted.push_back(reply[2]);
  }
  ASSERT_TRUE(Send(kTxPowerOn, TxPowerOn(99000000).Set(44, 1, 1)));
  for (int i = 0; i < 6; ++i) {  // on air 16 groups leave per interval
    ASSERT_TRUE(Send(kSendRdsGroups, groups));
    accepted.push_back(reply[2]);
  }
  EXPECT_EQ(accepted, (std::vector<int>{20, 12, 0, 20, 20, 20, 20, 16, 16}));
  ASSERT_TRUE(Send(kReadRdsBlocks));
  EXPECT_EQ(U32(4), 16u);  // left in the FIFO
  ASSERT_EQ(reply[8], 16);
  EXPECT_EQ(U16(10) & 0xF000, 0x1000);
}

TEST_F(Gen1SimTest, TextCommandsPmuRegisterAndSelfTest) {
  ASSERT_TRUE(At("at@pmu:get_register(28)"));
  EXPECT_EQ(reply_length, Text().size());
  unsigned value = 0;
  ASSERT_EQ(std::sscanf(Text().c_str(), "OK\n\r0x%x", &value), 1);
  EXPECT_NE(value & (1u << 22), 0u);  // PWM
  sim.set_pmu_register(28, 0x1234);
  ASSERT_TRUE(At("at@pmu:get_register(28)"));
  ASSERT_EQ(std::sscanf(Text().c_str(), "OK\n\r0x%x", &value), 1);
  EXPECT_EQ(value, 0x1234u);

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
