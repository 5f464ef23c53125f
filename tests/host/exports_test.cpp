// The exported setters and CanRun, and the log output.
#include <gtest/gtest.h>

#include <vector>

#include "host/exports.h"
#include "host/host_state.h"
#include "host/host_table_link.h"
#include "table_host.h"

namespace {

TEST(Exports, CanRunFollowsTheTestFunctionSlot) {
  std::vector<void*> table(kHostSlotCount, nullptr);
  const auto bytes = [](size_t slots) { return static_cast<int32_t>(slots * sizeof(void*)); };
  int marker = 0;
  table[kSlotSendTestFunction] = &marker;

  SetFuncInterface(table.data(), bytes(kHostSlotCount));
  EXPECT_EQ(CanRun(), 1);
  // A table that ends at or before slot 77 leaves it empty.
  SetFuncInterface(table.data(), bytes(kSlotSendTestFunction));
  EXPECT_EQ(CanRun(), 0);
  SetFuncInterface(table.data(), bytes(kSlotSendTestFunction + 1));
  EXPECT_EQ(CanRun(), 1);
}

TEST(Exports, ShorterTableClearsTheRestAndInvalidCallsKeepTheOldTable) {
  std::vector<void*> table(kHostSlotCount + 10, nullptr);
  int marker = 0;
  for (auto& slot : table) slot = &marker;
  SetFuncInterface(table.data(), static_cast<int32_t>(4 * sizeof(void*)));
  EXPECT_EQ(Host().table[3], &marker);
  EXPECT_EQ(Host().table[4], nullptr);
  EXPECT_EQ(Host().table[kSlotSendTestFunction], nullptr);

  SetFuncInterface(nullptr, 100);
  SetFuncInterface(table.data(), 0);
  SetFuncInterface(table.data(), -8);
  EXPECT_EQ(Host().table[3], &marker);
}

TEST(Exports, LogLinesReachTheHostOnlyWhileItHasACallback) {
  HostAttach();  // no callback yet, an all-ones handle
  EXPECT_EQ(Host().com_handle, 0xFFFFFFFFu);
  ShowLine("dropped", 1);
  testing_host::TableHost host;
  SetBasebandType(7);  // accepted and ignored

  ShowLine("Sending to mobile...", 1);
  ShowLine(std::string("Error!"), 0);
  SetShowLineFunc(nullptr);
  ShowLine("gone", 1);
  EXPECT_EQ(host.Transcript(), "Sending to mobile...|!Error!");
}

// The link the back ends and panels use: each channel goes to its slot with
// the host's handle, an empty slot fails without a call, the error text
// comes from slot 3 while it is filled, and log lines keep their flag.
TEST(HostTableLinkTest, ChannelsGoToTheirSlotsWithTheComHandle) {
  testing_host::TableHost host;
  HostLink& link = ModuleHostLink();
  const HostChannel channels[] = {HostChannel::kTestFunction, HostChannel::kAtCommand,
                                  HostChannel::kAudioRequest, HostChannel::kInfoRequest};
  host.responder = [](const testing_host::HostCall&) { return testing_host::StatusReply(3); };
  uint8_t reply[4] = {};
  for (HostChannel channel : channels) {
    uint16_t length = 0;
    EXPECT_TRUE(link.Send(channel, 9, 1, "x", length, reply));
    EXPECT_EQ(length, 3);
  }
  ASSERT_EQ(host.calls.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(host.calls[i].channel, channels[i]);
  EXPECT_EQ(host.handles, std::vector<uint32_t>(4, testing_host::TableHost::kComHandle));

  host.RemoveSlot(kSlotSendInfoRequest);
  uint16_t length = 0;
  EXPECT_FALSE(link.Send(HostChannel::kInfoRequest, 9, 0, nullptr, length, reply));
  EXPECT_EQ(host.calls.size(), 4u);
  EXPECT_EQ(link.LastError(), std::optional<std::string_view>("No errors"));
  host.RemoveSlot(kSlotGetLastError);
  EXPECT_EQ(link.LastError(), std::nullopt);

  link.Log("failed", LogFlag::kFailure);
  link.Log(std::string("fine"), LogFlag::kProgress);
  EXPECT_EQ(host.Transcript(), "!failed|fine");
}

}  // namespace
