// Reply shapes and contents of the simulated first-generation handset.
#include <algorithm>
#include <cstdio>

#include "gen1_sim_fixture.h"

namespace simtest {
namespace {

using namespace fmrsim::gen1;

// Every test function with a request the radio accepts, and the reply
// length the plug-in expects.
struct Shape {
  uint16_t id;
  std::vector<uint8_t> request;
  uint16_t reply;
};

std::vector<Shape> AllMessages() {
  Record tx_tune(40);
  tx_tune.u32(0, 90000000).u32(4, 108000000).u32(8, 87500000);
  Record scan(16);
  scan.u32(0, 87500000).u32(4, 108000000).u32(8, 100000).s16(12, 25);
  Record reg(12);
  reg.u16(4, 0x8740);
  return {
      {0x00, {}, 6},
      {0x01, RxPowerOn(88100000).bytes, 2},
      {0x03, {}, 48},
      {0x04, RxTune(0, 91700000).bytes, 12},
      {0x05, Record(20).bytes, 4},
      {0x06, {}, 22},
      {0x07, Record(2).bytes, 168},
      {0x08, Record(8).u8(0, 1).bytes, 16},
      {0x0C, reg.bytes, 8},
      {0x0D, Record(20).bytes, 2},
      {0x0E, {}, 24},
      {0x0F, Record(4).bytes, 2},
      {0x10, Record(36).bytes, 2},
      {0x02, {}, 2},
      {0x11, TxPowerOn(90000000).bytes, 2},
      {0x13, tx_tune.bytes, 2},
      {0x14, scan.bytes, 12},
      {0x15, Record(20).bytes, 2},
      {0x16, Record(204).bytes, 2},
      {0x17, Record(4).bytes, 2},
      {0x18, {}, 64},
      {0x19, Record(162).u8(0, 3).bytes, 4},
      {0x1A, {}, 252},
      {0x1B, {}, 204},
      {0x23, {}, 56},
      {0x3A, {}, 16},
      {0x12, {}, 2},
  };
}

TEST_F(Gen1SimTest, EveryMessageAnswersWithItsLengthAndStatusOne) {
  for (const Shape& m : AllMessages()) {
    SCOPED_TRACE(::testing::Message() << "message 0x" << std::hex << m.id);
    ASSERT_TRUE(Send(m.id, m.request));
    EXPECT_EQ(reply_length, m.reply);
    EXPECT_EQ(Status(), kStatusOk);
    EXPECT_TRUE(UntouchedFrom(m.reply));
    EXPECT_EQ(sim.last_error(), "No errors");
  }
}

TEST_F(Gen1SimTest, WrongRequestSizeIsRefusedWithTheExpectedReplyLength) {
  ASSERT_TRUE(Send(kRxTune, Record(27)));
  EXPECT_EQ(reply_length, 12);
  EXPECT_EQ(Status(), kStatusBadRequest);
  ASSERT_TRUE(Send(kReadRxStatus, Record(4)));
  EXPECT_EQ(Status(), kStatusBadRequest);
}

TEST_F(Gen1SimTest, UnknownMessageIdFailsInTheHost) {
  EXPECT_FALSE(Send(0x09));
  EXPECT_NE(sim.last_error().find("0x09"), std::string::npos);
}

TEST_F(Gen1SimTest, PowerOnThenStatusReportsStationAndSettings) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(91700000).u8(26, 1).s16(44, -2)));
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
  ASSERT_TRUE(Send(kRxPowerOff));
  ASSERT_TRUE(Send(kReadPowerState));
  EXPECT_EQ(U32(32), 0u);
}

TEST_F(Gen1SimTest, ForcedMonoClearsStereoInTheTuneReply) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(88100000)));
  ASSERT_TRUE(Send(kRxTune, RxTune(0, 91700000).u8(10, 1)));
  EXPECT_EQ(U32(4), 91700000u);
  EXPECT_EQ(S16(8), 52);
  EXPECT_EQ(reply[10], 0);
}

struct SeekCase {
  uint8_t action;
  uint32_t from;
  int16_t min_rssi;
  uint32_t found;
};

TEST_F(Gen1SimTest, SeekFindsTheNextStationAtOrAboveTheLimitAndWraps) {
  // Stations in the band: 88.1 (45), 89.3 (18), 91.7 (52), 95.4 (30),
  // 99.9 (12), 103.2 (41), 107.8 (35) dBuV.
  const SeekCase cases[] = {
      {1, 88100000, 20, 91700000},  // skips 89.3 below the limit
      {1, 88100000, 18, 89300000},  // a level equal to the limit counts
      {1, 103200000, 20, 107800000},
      {1, 107800000, 20, 88100000},  // wraps at the top
      {2, 88100000, 20, 107800000},  // wraps at the bottom
      {2, 95400000, 40, 91700000},
      {1, 91700000, 60, 91700000},  // nothing strong enough: back where it began
  };
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(88100000)));
  for (const SeekCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "from " << c.from << " action " << int{c.action});
    ASSERT_TRUE(Send(kRxTune, RxTune(c.action, c.from, c.min_rssi)));
    EXPECT_EQ(Status(), kStatusOk);
    EXPECT_EQ(U32(4), c.found);
    EXPECT_EQ(radio.frequency_hz(), c.found);
  }
}

TEST_F(Gen1SimTest, TuningOutsideTheSynthesiserRangeIsRejected) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(88100000)));
  ASSERT_TRUE(Send(kRxTune, RxTune(0, 120000000)));
  EXPECT_EQ(Status(), kStatusRejected);
  EXPECT_EQ(U32(4), 0u);
  EXPECT_EQ(radio.frequency_hz(), 88100000u);
}

TEST_F(Gen1SimTest, RdsGroupsCarryPiProgrammeServiceAndRadioText) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(91700000)));
  ASSERT_TRUE(Send(kAccessRds, Record(2).u8(0, 1).u8(1, 0xFF)));
  EXPECT_EQ(reply[2], 0);  // nothing received at the moment RDS starts
  ASSERT_TRUE(Send(kAccessRds, Record(2).u8(0, 0xFF).u8(1, 0xFF)));
  ASSERT_EQ(reply[2], 16);
  std::string ps;
  for (size_t g = 0; g < 16; ++g) {
    const size_t at = 4 + 8 * g;
    EXPECT_EQ(U16(at), 0xC203) << "block A of group " << g;
    EXPECT_EQ(U16(132 + 2 * g), 0) << "status of group " << g;
    const uint16_t b = U16(at + 2);
    EXPECT_EQ((b >> 5) & 0x1F, 1) << "programme type";
    if (g < 4) {
      EXPECT_EQ(b >> 11, 0) << "group type 0A";
      EXPECT_EQ(b & 0x3, g) << "PS segment";
      ps += static_cast<char>(reply[at + 7]);
      ps += static_cast<char>(reply[at + 6]);
    } else {
      EXPECT_EQ(b >> 11, 4) << "group type 2A";
      EXPECT_EQ(b & 0xF, g - 4) << "radio text segment";
    }
  }
  EXPECT_EQ(ps, "NEWS 24 ");
  // Block C and D of the first 2A group: "News".
  EXPECT_EQ(U16(4 + 8 * 4 + 4), ('N' << 8) | 'e');
  EXPECT_EQ(U16(4 + 8 * 4 + 6), ('w' << 8) | 's');
  EXPECT_EQ(U16(164), 16);  // groups received so far
}

TEST_F(Gen1SimTest, WeakStationsGiveBlockErrorsAndNoiseGivesNoGroups) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(89300000).u8(40, 1)));  // 18 dBuV
  uint16_t damaged = 0;
  for (int poll = 0; poll < 4; ++poll) {
    ASSERT_TRUE(Send(kAccessRds, Record(2).u8(0, 0xFF).u8(1, 0xFF)));
    for (size_t g = 0; g < reply[2]; ++g)
      damaged = static_cast<uint16_t>(damaged | U16(132 + 2 * g));
  }
  EXPECT_NE(damaged, 0);
  ASSERT_TRUE(Send(kReadRxStatus));
  EXPECT_EQ(U16(46), sim.rds_receiver().error_groups());

  ASSERT_TRUE(Send(kRxTune, RxTune(0, 99900000)));  // 12 dBuV: below RDS sync
  ASSERT_TRUE(Send(kAccessRds, Record(2).u8(0, 0xFF).u8(1, 0xFF)));
  EXPECT_EQ(reply[2], 0);
}

TEST_F(Gen1SimTest, RegistersForChargePumpAndSideband) {
  ASSERT_TRUE(Send(kRxPowerOn, RxPowerOn(87500000, 20, 0)));  // low side
  auto read = [&](uint16_t address) {
    EXPECT_TRUE(Send(kAccessRegister, Record(12).u16(4, address)));
    EXPECT_EQ(Status(), kStatusOk);
    return U32(4);
  };
  EXPECT_EQ(read(0x8740) >> 11, 15u);
  EXPECT_EQ(read(0x8778) >> 16, 15u);
  EXPECT_NE(read(0x8724) & 0x40000, 0u);  // low-side injection
  ASSERT_TRUE(Send(kRxTune, RxTune(0, 108000000).u8(24, 1)));
  EXPECT_EQ(read(0x8740) >> 11, 26u);
  EXPECT_EQ(read(0x8724) & 0x40000, 0u);  // high-side injection

  ASSERT_TRUE(Send(kAccessRegister, Record(12).u32(0, 1).u16(4, 0x0010).u32(8, 0x12345678)));
  EXPECT_EQ(U32(4), 0x5678u);  // a 16-bit register keeps the low half
  ASSERT_TRUE(Send(kAccessRegister, Record(12).u32(0, 1).u16(4, 0x8010).u32(8, 0x12345678)));
  EXPECT_EQ(read(0x8010), 0x12345678u);
  ASSERT_TRUE(Send(kAccessRegister, Record(12).u16(4, 0x0003)));
  EXPECT_EQ(Status(), kStatusRejected);
}

TEST_F(Gen1SimTest, TransmitRdsSettingsReadBackWholeFields) {
  Record w(204);
  w.u8(0, 1).u8(1, 1).u32(4, 0x3E).u16(8, 2000).u8(10, 1).u16(12, 0xBEEF).u8(152, 9);
  for (size_t i = 0; i < 64; ++i) w.u8(14 + i, static_cast<uint8_t>('A' + i % 26));
  for (size_t i = 0; i < 64; ++i) w.u8(78 + i, static_cast<uint8_t>('a' + i % 26));
  for (size_t i = 0; i < 8; ++i) w.u8(144 + i, static_cast<uint8_t>(i + 1));
  for (size_t i = 0; i < 25; ++i) w.u16(154 + 2 * i, static_cast<uint16_t>(0x100 + i));
  ASSERT_TRUE(Send(kWriteTxRds, w));
  ASSERT_TRUE(Send(kReadTxRds));
  EXPECT_EQ(reply[2], 1);  // state and stack flag move two bytes up in the reply
  EXPECT_EQ(reply[3], 1);
  EXPECT_TRUE(std::equal(w.bytes.begin() + 4, w.bytes.end(), reply.begin() + 4));

  // "No change" keeps the RDS state and decoder mode.
  w.u8(0, 0xFF).u8(10, 0xFF);
  ASSERT_TRUE(Send(kWriteTxRds, w));
  ASSERT_TRUE(Send(kReadTxRds));
  EXPECT_EQ(reply[2], 1);
  EXPECT_EQ(reply[10], 1);
}

TEST_F(Gen1SimTest, TransmitStatusEchoesPowerOnAndAudioSettings) {
  ASSERT_TRUE(Send(kTxPowerOn, TxPowerOn(99000000).u32(20, 0xFFFFFFFF).u32(28, 68250)));
  ASSERT_TRUE(Send(kWriteTxAudio, Record(20).u32(0, 0x1234).u32(4, 1).u32(8, 1)));
  ASSERT_TRUE(Send(kReadTxStatus));
  EXPECT_EQ(U32(4), 99000000u);
  EXPECT_EQ(S16(8), 90);
  EXPECT_EQ(reply[24], 0);  // the audio write set pre-emphasis back to 0
  EXPECT_EQ(U32(32), 68250u);
  EXPECT_EQ(U16(52), 0x1234);
  EXPECT_EQ(reply[56], 1);
  ASSERT_TRUE(Send(kReadPowerState));
  EXPECT_EQ(U32(32), 2u);
}

TEST_F(Gen1SimTest, TransmitScanFindsAFreeChannel) {
  Record scan(16);
  scan.u32(0, 87500000).u32(4, 92000000).u32(8, 100000).s16(12, 25);
  ASSERT_TRUE(Send(kTxScan, scan));
  EXPECT_EQ(U32(4), 87500000u);  // neighbours 87.4 and 87.6 are quiet too
  EXPECT_EQ(S16(8), 8);
  scan.u32(0, 88000000).u32(4, 88200000);  // only 88.0 .. 88.2, all next to 88.1
  ASSERT_TRUE(Send(kTxScan, scan));
  EXPECT_EQ(U32(4), 88000000u);  // the quietest instead
  scan.u32(8, 0);
  ASSERT_TRUE(Send(kTxScan, scan));
  EXPECT_EQ(Status(), kStatusRejected);
}

TEST_F(Gen1SimTest, SentGroupsAreAcceptedAsFarAsTheFifoHasRoom) {
  Record groups(162);
  groups.u8(0, 20);
  for (size_t i = 0; i < 20; ++i) groups.u16(2 + 8 * i, static_cast<uint16_t>(0x1000 + i));
  // Not on air: the FIFO only fills.
  std::vector<int> accepted;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(Send(kSendRdsGroups, groups));
    accepted.push_back(reply[2]);
  }
  EXPECT_EQ(accepted, (std::vector<int>{20, 12, 0}));

  // On air 16 groups leave per interval.
  ASSERT_TRUE(Send(kTxPowerOn, TxPowerOn(99000000).u8(44, 1)));
  accepted.clear();
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(Send(kSendRdsGroups, groups));
    accepted.push_back(reply[2]);
  }
  EXPECT_EQ(accepted, (std::vector<int>{20, 20, 20, 20, 16, 16}));

  ASSERT_TRUE(Send(kReadRdsBlocks));
  EXPECT_EQ(U32(4), 16u);  // left in the FIFO
  ASSERT_EQ(reply[8], 16);
  EXPECT_EQ(U16(10) & 0xF000, 0x1000);
}

TEST_F(Gen1SimTest, RdsStackReadBackEncodesTheTransmitSettings) {
  ASSERT_TRUE(Send(kTxPowerOn, TxPowerOn(99000000)));
  Record w(204);
  w.u8(0, 1).u8(1, 1).u16(12, 0xD00D).u8(152, 4);
  const std::string ps = "STACK FM";
  for (size_t i = 0; i < ps.size(); ++i) w.u8(78 + i, static_cast<uint8_t>(ps[i]));
  ASSERT_TRUE(Send(kWriteTxRds, w));
  ASSERT_TRUE(Send(kReadRdsBlocks));
  ASSERT_EQ(reply[8], 16);
  EXPECT_EQ(U16(10), 0xD00D);
  EXPECT_EQ((U16(12) >> 5) & 0x1F, 4);
  EXPECT_EQ(U16(16), ('S' << 8) | 'T');
}

TEST_F(Gen1SimTest, PmuRegisterReplyMatchesTheReadPattern) {
  ASSERT_TRUE(At("at@pmu:get_register(28)"));
  EXPECT_EQ(reply_length, Text().size());
  unsigned value = 0;
  ASSERT_EQ(std::sscanf(Text().c_str(), "OK\n\r0x%x", &value), 1);
  EXPECT_NE(value & (1u << 22), 0u);  // PWM
  sim.set_pmu_register(28, 0x1234);
  ASSERT_TRUE(At("at@pmu:get_register(28)"));
  ASSERT_EQ(std::sscanf(Text().c_str(), "OK\n\r0x%x", &value), 1);
  EXPECT_EQ(value, 0x1234u);
}

TEST_F(Gen1SimTest, SelfTestCommands) {
  const std::string status = "at@quelm_fmr_internal_get_status_test_func(";
  ASSERT_TRUE(At(status + "95400000)"));
  EXPECT_EQ(Text().find("status retrieved successfully"), std::string::npos);  // radio off

  ASSERT_TRUE(At("at@fmr:quelm_fmr_enable_test_func()"));
  EXPECT_NE(Text().find("Enabled FMR"), std::string::npos);
  ASSERT_TRUE(At(status + "95400000)"));
  EXPECT_NE(Text().find("status retrieved successfully"), std::string::npos);
  EXPECT_NE(Text().find("95400000"), std::string::npos);
  ASSERT_TRUE(Send(kProbe));
  EXPECT_EQ(reply[4], 1);  // running

  ASSERT_TRUE(At(status + "9%s%n%x" + std::string(500, '9') + ")"));
  EXPECT_EQ(Text().find("status retrieved successfully"), std::string::npos);
  EXPECT_LT(reply_length, kTextReplyCapacity);

  ASSERT_TRUE(At("at@fmr:quelm_fmr_disable_test_func()"));
  EXPECT_NE(Text().find("Disabled FMR"), std::string::npos);
  ASSERT_TRUE(Send(kProbe));
  EXPECT_EQ(reply[4], 0);
}

TEST_F(Gen1SimTest, VersionTextAndAudioOutputOnTheirSlots) {
  ASSERT_TRUE(Call(kSlotInfoRequest, kInfoTextId, {0x00, kVersionSelector}));
  EXPECT_EQ(reply[0], 1);
  EXPECT_EQ(Text(1), sim.version_text());
  ASSERT_TRUE(Call(kSlotInfoRequest, kInfoTextId, {0x01, kVersionSelector}));
  EXPECT_EQ(reply[0], 0);

  Record audio(24);
  audio.u16(0, 1).u16(4, 2);
  ASSERT_TRUE(Call(kSlotAudioRequest, kAudioOutputId, audio.bytes));
  EXPECT_EQ(reply_length, 4);
  EXPECT_EQ(Status(), kStatusOk);
  EXPECT_EQ(U16(2), 2);
  EXPECT_EQ(sim.audio_destination(), 2);
}

}  // namespace
}  // namespace simtest
