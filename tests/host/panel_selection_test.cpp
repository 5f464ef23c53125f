// Choosing the panel from the chip-version probe, and the window life cycle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/exports.h"
#include "host/host_state.h"
#include "host/panel_selection.h"
#include "table_host.h"
#include "ui/application.h"
#include "ui/form.h"

namespace {

class PanelSelection : public ::testing::Test {
 protected:
  testing_host::TableHost host;
  int host_app = 0;

  void TearDown() override {
    while (Host().current_panel != nullptr) CloseMDIChildForm(&host_app);
  }
  ui::Form* ShowWithReply(const std::string& reply) {
    host.AnswerText(reply);
    ShowMDIChildForm(&host_app);
    return Host().current_panel;
  }
};

// Showing the panel a probe selects runs end to end (both tours, and a
// failed probe in benchora's cases); here the reply's edges.
TEST(PanelSelectionReply, TheSecondGenerationNames947AndAFullReplyIsNotReadPastItsEnd) {
  const std::pair<const char*, bool> cases[] = {
      {"+CHIPVER: DR947 rev 2", true}, {"+CHIPVER: 1021", false}, {"", false}, {"94-7", false}};
  for (const auto& [reply, second] : cases)
    EXPECT_EQ(IsSecondGenerationReply(reply, std::strlen(reply)), second) << reply;
  char full[200];
  std::memset(full, 'x', sizeof(full));
  EXPECT_FALSE(IsSecondGenerationReply(full, sizeof(full)));
  std::memcpy(full + 197, "947", 3);
  EXPECT_TRUE(IsSecondGenerationReply(full, sizeof(full)));
}

// A host that closes the panel from its log callback (a Windows host that
// pumps messages while it logs can do this) while a handler of that panel
// runs: the panel goes when the handler has returned. Under the address
// sanitizer a panel freed under its own feet fails this test.
testing_host::TableHost* g_closing_host = nullptr;
const char* g_close_on = nullptr;
int g_close_app = 0;

void ClosingLog(const char* text, uint8_t flag) {
  g_closing_host->Log(text, static_cast<LogFlag>(flag));
  if (g_close_on != nullptr && std::strcmp(text, g_close_on) == 0) {
    CloseMDIChildForm(&g_close_app);
    CloseMDIChildForm(&g_close_app);  // asked twice: closed once
  }
}

TEST_F(PanelSelection, APanelClosedFromTheLogCallbackGoesWhenItsHandlerReturns) {
  struct Case {
    const char* reply;
    const char* command;
    const char* close_on;
  };
  const Case cases[] = {
      {"1021", "click BtnFMREnable", "FMR ON"},
      {"947", "click btn_onoff", "Configure audio path before switching on FMR"},
  };
  g_closing_host = &host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_NE(ShowWithReply(c.reply), nullptr);
    const size_t forms = OwnApplication().form_count();
    g_close_on = c.close_on;
    SetShowLineFunc(&ClosingLog);
    char reply[64] = {};
    EXPECT_EQ(SonvioAutomate(c.command, reply, sizeof reply), 2);
    EXPECT_STREQ(reply, "ok");
    EXPECT_EQ(Host().current_panel, nullptr);
    EXPECT_EQ(OwnApplication().form_count(), forms - 1);
    g_close_on = nullptr;
  }
  g_closing_host = nullptr;
}

}  // namespace
