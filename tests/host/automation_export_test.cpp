// The exported automation function: no panel, truncated replies and the
// null-command re-fetch of the last reply.
#include <gtest/gtest.h>

#include <string>

#include "host/exports.h"
#include "host/host_state.h"
#include "table_host.h"
#include "ui/automation.h"

namespace {

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
