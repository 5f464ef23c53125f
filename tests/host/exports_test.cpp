// The exported setters and CanRun, the log output, and the exported
// automation function.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "host/host_state.h"
#include "host/host_table_link.h"
#include "table_host.h"
#include "ui/automation.h"

namespace {

// A table fills the slots its size covers and empties the rest; an invalid
// one keeps the table before it. CanRun follows slot 77.
TEST(Exports, TheTableSizeDecidesTheSlotsAndCanRunFollowsTheTestFunctionSlot) {
  std::vector<void*> table(kHostSlotCount + 10, nullptr);
  int marker = 0;
  for (auto& slot : table) slot = &marker;
  const auto bytes = [](size_t slots) { return static_cast<int32_t>(slots * sizeof(void*)); };
  SetFuncInterface(table.data(), bytes(table.size()));
  EXPECT_EQ(CanRun(), 1);
  SetFuncInterface(table.data(), bytes(kSlotSendTestFunction));
  EXPECT_EQ(CanRun(), 0);
  EXPECT_EQ(Host().table[kSlotSendTestFunction - 1], &marker);
  SetFuncInterface(table.data(), bytes(kSlotSendTestFunction + 1));
  EXPECT_EQ(CanRun(), 1);
  EXPECT_EQ(Host().table[kSlotSendTestFunction + 1], nullptr);
  table[kSlotSendTestFunction] = nullptr;
  SetFuncInterface(table.data(), bytes(table.size()));
  EXPECT_EQ(CanRun(), 0);
  EXPECT_EQ(Host().table[kHostSlotCount - 1], &marker);

  SetFuncInterface(table.data(), bytes(4));
  SetFuncInterface(nullptr, 100);
  SetFuncInterface(table.data(), 0);
  SetFuncInterface(table.data(), -8);
  EXPECT_EQ(Host().table[3], &marker);
  EXPECT_EQ(Host().table[4], nullptr);
}

// The link over the host table: each channel goes to its own slot with the
// handle set last, an empty slot fails without a call, the error text comes
// from slot 3 while it is filled, and log lines keep their flag until the
// callback is taken away. Attaching the library forgets the log callback
// and the handle; the baseband type and the get-interface value change
// nothing that is used.
TEST(Exports, TheLinkUsesTheSlotsHandleAndLogCallbackAsSet) {
  testing_host::TableHost host;
  HostLink& link = ModuleHostLink();
  host.AnswerText("x");
  int value = 0;
  SetBasebandType(7);
  SetGetInterface(&value);
  EXPECT_EQ(Host().get_interface, &value);
  const std::vector<HostChannel> channels = {HostChannel::kTestFunction, HostChannel::kAtCommand,
                                             HostChannel::kAudioRequest, HostChannel::kInfoRequest};
  uint8_t reply[8] = {};
  uint16_t length = 0;
  for (uint32_t i = 0; i < channels.size(); ++i) {
    SetComHandle(100 + i);
    EXPECT_TRUE(link.Send(channels[i], 5, 0, nullptr, length, reply));
  }
  EXPECT_EQ(host.com_handles, (std::vector<uint32_t>{100, 101, 102, 103}));
  ASSERT_EQ(host.calls.size(), channels.size());
  for (size_t i = 0; i < channels.size(); ++i) EXPECT_EQ(host.calls[i].channel, channels[i]);
  host.RemoveSlot(kSlotSendInfoRequest);
  EXPECT_FALSE(link.Send(HostChannel::kInfoRequest, 9, 0, nullptr, length, reply));
  EXPECT_EQ(host.calls.size(), channels.size());
  EXPECT_EQ(link.LastError(), std::optional<std::string_view>("No errors"));
  host.RemoveSlot(kSlotGetLastError);
  EXPECT_EQ(link.LastError(), std::nullopt);
  link.Log("failed", LogFlag::kFailure);
  ShowLine("fine", 1);
  SetShowLineFunc(nullptr);
  ShowLine("dropped", 1);
  EXPECT_EQ(host.Transcript(), "!failed|fine");
  HostAttach();
  EXPECT_EQ(Host().com_handle, 0xFFFFFFFFu);
  EXPECT_EQ(Host().show_line, nullptr);
}

// No panel, replies cut to the caller's buffer, and the null command that
// fetches the last reply again.
TEST(AutomationExport, NoPanelTruncatedRepliesAndTheNullCommandRefetch) {
  testing_host::TableHost host;
  int app = 0;
  while (Host().current_panel != nullptr) CloseMDIChildForm(&app);
  char reply[8] = "unset";
  EXPECT_EQ(SonvioAutomate("list", reply, sizeof(reply)), -1);

  host.AnswerText("1021");
  ShowMDIChildForm(&app);
  const std::string full = ui::RunAutomation(*Host().current_panel, "get KelboFMRGUI");
  EXPECT_EQ(SonvioAutomate("get KelboFMRGUI", reply, sizeof(reply)),
            static_cast<int32_t>(full.size()));
  EXPECT_EQ(std::string(reply), full.substr(0, 7));

  // A null command fetches the same reply again without running anything:
  // a click would log (and so reach the host) a second time.
  host.Clear();
  ASSERT_EQ(SonvioAutomate("click BtnFMREnable", reply, sizeof(reply)), 2);
  const size_t calls = host.calls.size();
  std::string whole(64, '\0');
  EXPECT_EQ(SonvioAutomate(nullptr, whole.data(), static_cast<int32_t>(whole.size())), 2);
  EXPECT_EQ(whole.c_str(), std::string("ok"));
  EXPECT_EQ(host.calls.size(), calls);
  CloseMDIChildForm(&app);
}

}  // namespace
