// The exported setters and CanRun, and the log output.
#include <gtest/gtest.h>

#include <vector>

#include "host/exports.h"
#include "host/host_state.h"
#include "recording_host.h"

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
  testing_host::RecordingHost host;
  SetBasebandType(7);  // accepted and ignored

  ShowLine("Sending to mobile...", 1);
  ShowLine(std::string("Error!"), 0);
  SetShowLineFunc(nullptr);
  ShowLine("gone", 1);
  EXPECT_EQ(host.Transcript(), "Sending to mobile...|!Error!");
}

}  // namespace
