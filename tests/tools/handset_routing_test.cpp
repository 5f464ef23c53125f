// The host stand-in's handset table: which slot reaches the simulated
// first-generation radio, and what the last-error slot reports.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "handset.h"
#include "host_table.h"

namespace {

using namespace benchora;

class HandsetRoutingTest : public ::testing::Test {
 protected:
  uint8_t Slot(size_t slot, uint16_t id, const std::string& request) {
    const auto send = reinterpret_cast<SendSlotFunc>(handset.table()[slot]);
    reply.fill(0);
    return send(id, static_cast<uint16_t>(request.size()), request.data(), &reply_length,
                reply.data(), 1);
  }
  std::string LastError() const {
    return reinterpret_cast<GetLastErrorSlotFunc>(handset.table()[kSlotGetLastError])();
  }
  std::string Text() const { return reinterpret_cast<const char*>(reply.data()); }

  SimulatedHandset handset{Chip::kGen1};
  std::array<uint8_t, 256> reply{};
  uint16_t reply_length = 0;
};

TEST_F(HandsetRoutingTest, SlotsReachTheSimulatedRadioAndItsLastError) {
  ASSERT_TRUE(Slot(kSlotSendTestFunction, 0x3A, ""));
  EXPECT_EQ(reply_length, 16);
  EXPECT_EQ(reply[0], 1);
  EXPECT_EQ(LastError(), "No errors");

  ASSERT_TRUE(Slot(kSlotSendInfoRequest, 8, std::string("\x00\x32", 2)));
  EXPECT_EQ(reply[0], 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.data() + 1)).find("KF1021"), 0u);

  ASSERT_TRUE(
      Slot(kSlotSendAudioRequest, 4, std::string("\x01\0\0\0\x02", 5) + std::string(19, 0)));
  EXPECT_EQ(reply_length, 4);
  EXPECT_EQ(reply[0] + reply[2], 1 + 2);  // status 1, destination 2 taken

  ASSERT_TRUE(Slot(kSlotSendAtCommand, 0, "at@pmu:get_register(28)"));
  EXPECT_EQ(Text().rfind("OK", 0), 0u);
  // The chip probe is still answered by the handset itself.
  ASSERT_TRUE(Slot(kSlotSendAtCommand, 0, "at@ver:get_chip_ver(0)"));
  EXPECT_EQ(Text().find("947"), std::string::npos);
  // The last-error slot reports the simulator's failure.
  EXPECT_FALSE(Slot(kSlotSendTestFunction, 0x55, ""));
  EXPECT_NE(LastError().find("0x55"), std::string::npos);
  std::string error;
  for (const char* text : {"cable unplugged", "No errors"}) {
    ASSERT_TRUE(handset.AddFault(std::string("0x3A:fail:") + text, error)) << error;
    EXPECT_FALSE(Slot(kSlotSendTestFunction, 0x3A, ""));
    EXPECT_EQ(LastError(), text);
  }
}

// The chip probe meets the faults of its slot, so the failed probe that makes
// the plug-in choose the second-generation panel can be tried.
TEST_F(HandsetRoutingTest, ChipProbeMeetsTheFaultsOfItsSlot) {
  struct Case {
    const char* rule;
    bool carried;
    const char* reply;  // the text written, when carried
    uint16_t length;
  };
  const Case cases[] = {
      {"slot54:fail:probe lost", false, "", 0},
      {"slot54:status", true, "ERROR", 5},
      {"slot54:length:7", true, "+CHIPVE", 7},
  };
  for (const Case& c : cases) {
    SimulatedHandset faulty{Chip::kGen1};
    std::string error;
    ASSERT_TRUE(faulty.AddFault(c.rule, error)) << error;
    const auto send = reinterpret_cast<SendSlotFunc>(faulty.table()[kSlotSendAtCommand]);
    const std::string probe = "at@ver:get_chip_ver(0)";
    reply.fill(0);
    EXPECT_EQ(send(0, static_cast<uint16_t>(probe.size()), probe.data(), &reply_length,
                   reply.data(), 1) != 0,
              c.carried)
        << c.rule;
    if (!c.carried) {
      EXPECT_EQ(faulty.last_error(), "probe lost");
      continue;
    }
    EXPECT_EQ(reply_length, c.length) << c.rule;
    EXPECT_EQ(Text(), c.reply) << c.rule;
  }
}

}  // namespace
