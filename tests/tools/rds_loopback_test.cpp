// The first-generation transmit path looped back: what the simulated
// handset transmits (its RDS stack from the transmit settings, or groups
// replayed from a data file) is heard by its receiver tuned to the same
// frequency, and fmr-rds decodes it back to what was set.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "fmr-rds/cli.h"
#include "fmr-rds/hex_text.h"
#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen1/responder.h"

namespace {

using namespace fmrsim::gen1;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kTxHz = 100000000;  // no station of the band there

class RdsLoopbackTest : public ::testing::Test {
 protected:
  uint16_t Send(uint16_t id, Bytes request) {
    uint16_t length = 0;
    EXPECT_TRUE(sim.SendTestFunction(id, request.empty() ? nullptr : request.data(),
                                     static_cast<uint16_t>(request.size()), &length, reply.data()));
    return fmrsim::le::U16(reply, 0);
  }
  static Bytes Band(size_t size, uint32_t frequency) {
    Bytes r(size, 0);
    fmrsim::le::Put32(r, 0, frequency);
    fmrsim::le::Put32(r, 8, 108000000);
    fmrsim::le::Put32(r, 12, 87500000);
    fmrsim::le::Put32(r, 16, 100000);
    return r;
  }
  // Transmitter on at kTxHz with RDS on and the given RDS settings (stack
  // on or off); `intervals` read-backs put 16 groups each on air.
  void Transmit(Bytes rds_settings, int intervals) {
    Bytes on = Band(48, kTxHz);
    fmrsim::le::Put8(on, 44, 1);
    ASSERT_EQ(Send(kTxPowerOn, on), kStatusOk);
    ASSERT_EQ(Send(kWriteTxRds, rds_settings), kStatusOk);
    for (const Bytes& groups : replay) ASSERT_EQ(Send(kSendRdsGroups, groups), kStatusOk);
    for (int i = 0; i < intervals; ++i) ASSERT_EQ(Send(kReadRdsBlocks, {}), kStatusOk);
    ASSERT_EQ(Send(kTxPowerOff, {}), kStatusOk);
  }
  // The receiver tuned to kTxHz: `polls` RDS polls as interchange lines,
  // decoded by fmr-rds into its summary.
  std::string ReceiveAndDecode(int polls) {
    Bytes on = Band(52, kTxHz);
    fmrsim::le::Put16(on, 4, 20);
    on[40] = on[41] = on[42] = fmrsim::kNoChange;
    EXPECT_EQ(Send(kRxPowerOn, on), kStatusOk);
    std::string lines;
    for (int i = 0; i <= polls; ++i) {
      EXPECT_EQ(Send(kAccessRds, Bytes{1, fmrsim::kNoChange}), kStatusOk);
      for (size_t g = 0; g < reply[2]; ++g) {
        std::array<uint16_t, 4> blocks{};
        for (size_t b = 0; b < 4; ++b) blocks[b] = fmrsim::le::U16(reply, 4 + 8 * g + 2 * b);
        lines += fmrrds::HexGroupLine(blocks, {true, true, true, true}, "") + "\n";
      }
    }
    std::istringstream in(lines);
    std::ostringstream out, err;
    EXPECT_EQ(fmrrds::Run({"--summary"}, in, out, err), 0) << err.str();
    return out.str();
  }
  static Bytes RdsSettings(bool stack_on) {
    Bytes r(204, 0);
    r[0] = 1;
    r[1] = stack_on ? 1 : 0;
    fmrsim::le::Put16(r, 12, 0xD4A2);
    const std::string text = "Loopback test: what was set comes back";
    const std::string name = "LOOP FM";
    std::copy(text.begin(), text.end(), r.begin() + 14);
    std::copy(name.begin(), name.end(), r.begin() + 78);
    r[152] = 7;  // Culture
    // 100.0 MHz itself, 101.7 MHz in 100 kHz, 88.0 MHz as an RDS code.
    for (const auto& [i, entry] : {std::pair{0, 1000}, {1, 1017}, {2, 5}})
      fmrsim::le::Put16(r, 154 + 2 * i, static_cast<uint16_t>(entry));
    return r;
  }

  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder sim{radio};
  std::array<uint8_t, 300> reply{};
  std::vector<Bytes> replay;
};

TEST_F(RdsLoopbackTest, TheStackSendsTheTransmitSettings) {
  Transmit(RdsSettings(true), 4);
  EXPECT_EQ(ReceiveAndDecode(4),
            "PI        D4A2\nPTY       7 Culture\nTP/TA     TP 0, TA 0\nMS        music, stereo\n"
            "PS        \"LOOP FM \"\nRT        \"Loopback test: what was set comes back\"\n"
            "RT+       -\nECC       -\nAF        88 100 101.7 (list of 3)\nCT        -\n"
            "Groups    0A 16, 2A 48\n"
            "Received  64 groups, 0 skipped (block B lost), 0 partial\n"
            "BLER      0.0% overall (0 of 256 blocks lost), 0.0% over the last 64 groups\n"
            "Input     hex: 0 records, 0 malformed lines, 0 lines passed over\n");
}

// Groups of an RDS data file, replayed with the stack off, come back as
// they were sent: here a name in four 0A groups, sent twice.
TEST_F(RdsLoopbackTest, ReplayedGroupsComeBackAsSent) {
  Bytes groups(162, 0);
  groups[0] = 8;
  const std::string name = "REPLAYED";
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = 2 + 8 * i;
    const size_t segment = i % 4;
    fmrsim::le::Put16(groups, at, 0xE123);
    fmrsim::le::Put16(groups, at + 2, static_cast<uint16_t>(0x0120 | segment));  // PTY 9
    fmrsim::le::Put16(groups, at + 4, 0xCDCD);
    fmrsim::le::Put16(groups, at + 6,
                      static_cast<uint16_t>(name[2 * segment] << 8 | name[2 * segment + 1]));
  }
  replay.push_back(groups);
  Transmit(RdsSettings(false), 1);
  const std::string summary = ReceiveAndDecode(1);
  EXPECT_NE(summary.find("PI        E123\nPTY       9 Varied\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("PS        \"REPLAYED\"\n"), std::string::npos) << summary;
}

}  // namespace
