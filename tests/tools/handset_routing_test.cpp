// The host stand-in's handset table: what the last-error slot reports, and
// the chip probe's faults.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "handset.h"
#include "host_table.h"

namespace {

using namespace benchora;

struct Reply {
  bool carried = false;
  uint16_t length = 0;
  std::array<uint8_t, 256> bytes{};
  std::string Text() const { return reinterpret_cast<const char*>(bytes.data()); }
};

Reply Send(const SimulatedHandset& handset, size_t slot, uint16_t id, const std::string& request) {
  Reply reply;
  reply.carried = reinterpret_cast<SendSlotFunc>(handset.table()[slot])(
                      id, static_cast<uint16_t>(request.size()), request.data(), &reply.length,
                      reply.bytes.data(), 1) != 0;
  return reply;
}

// Every slot reaches the simulated radio in the gen1 tour (e2e_tour_test);
// here what the last-error slot reports after a failure.
TEST(HandsetRoutingTest, TheLastErrorSlotReportsTheSimulatorsFailure) {
  SimulatedHandset handset{Chip::kGen1};
  const auto last_error = [&] {
    return std::string(
        reinterpret_cast<GetLastErrorSlotFunc>(handset.table()[kSlotGetLastError])());
  };
  EXPECT_TRUE(Send(handset, kSlotSendTestFunction, 0x3A, "").carried);
  EXPECT_EQ(last_error(), "No errors");
  EXPECT_FALSE(Send(handset, kSlotSendTestFunction, 0x55, "").carried);
  EXPECT_NE(last_error().find("0x55"), std::string::npos);
  std::string error;
  for (const char* text : {"cable unplugged", "No errors"}) {
    ASSERT_TRUE(handset.AddFault(std::string("0x3A:fail:") + text, error)) << error;
    EXPECT_FALSE(Send(handset, kSlotSendTestFunction, 0x3A, "").carried);
    EXPECT_EQ(last_error(), text);
  }
}

// The chip probe meets the faults of its slot, so the failed probe that makes
// the plug-in choose the second-generation panel can be tried.
TEST(HandsetRoutingTest, ChipProbeMeetsTheFaultsOfItsSlot) {
  struct Case {
    const char* rule;
    bool carried;
    const char* reply;  // the text written, when carried
    uint16_t length;
  };
  const Case cases[] = {{"slot54:fail:probe lost", false, "", 0},
                        {"slot54:status", true, "ERROR", 5},
                        {"slot54:length:7", true, "+CHIPVE", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    SimulatedHandset handset{Chip::kGen1};
    std::string error;
    ASSERT_TRUE(handset.AddFault(c.rule, error)) << error;
    const Reply r = Send(handset, kSlotSendAtCommand, 0, "at@ver:get_chip_ver(0)");
    EXPECT_EQ(r.carried, c.carried);
    if (!c.carried) {
      EXPECT_EQ(handset.last_error(), "probe lost");
    }
    EXPECT_EQ(r.length, c.length);
    EXPECT_EQ(r.Text(), c.reply);
  }
}

}  // namespace
