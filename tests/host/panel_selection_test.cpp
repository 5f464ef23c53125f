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

// Showing the panel a probe selects runs end to end: both tours, and a
// failed probe in benchora's cases. The probe's text is pinned by the tours
// (benchora's handset answers only that text), its slot and handle by the
// host link's test.
TEST(PanelSelectionReply, TheSecondGenerationNames947AndAFullReplyIsNotReadPastItsEnd) {
  for (const char* reply : {"+CHIPVER: DR947 rev 2", "19472", "947"}) {
    EXPECT_TRUE(IsSecondGenerationReply(reply, std::strlen(reply))) << reply;
  }
  for (const char* reply : {"+CHIPVER: 1021", "", "9 4 7", "94-7"}) {
    EXPECT_FALSE(IsSecondGenerationReply(reply, std::strlen(reply))) << reply;
  }
  char full[200];
  std::memset(full, 'x', sizeof(full));
  EXPECT_FALSE(IsSecondGenerationReply(full, sizeof(full)));
  std::memcpy(full + 197, "947", 3);
  EXPECT_TRUE(IsSecondGenerationReply(full, sizeof(full)));
}

// The caption with version information, and the help keyword, are checked
// end to end (e2e.gen1_panel_caption); here the caption without it.
TEST_F(PanelSelection, PanelWithoutVersionInformationSaysSo) {
  setenv("SONVIO_PROGRAM_DIR", "/nonexistent-sonvio-dir", 1);
  ui::Form* panel = ShowWithReply("1021");
  EXPECT_EQ(panel->caption(), "About: No version information available.");
  unsetenv("SONVIO_PROGRAM_DIR");
}

TEST_F(PanelSelection, SecondShowForgetsButKeepsTheFirstPanel) {
  const size_t before = OwnApplication().form_count();
  ui::Form* first = ShowWithReply("1021");
  ui::Form* second = ShowWithReply("947");
  EXPECT_NE(first, second);
  EXPECT_EQ(Host().current_panel, second);
  EXPECT_EQ(OwnApplication().form_count(), before + 2) << "the first panel stays open";
  CloseMDIChildForm(&host_app);
  EXPECT_EQ(Host().current_panel, nullptr);
  CloseMDIChildForm(&host_app);  // nothing left: does nothing
  EXPECT_EQ(OwnApplication().form_count(), before + 1);
  OwnApplication().DestroyForm(first);
}

TEST_F(PanelSelection, FirstCallInstallsTheHostApplicationOnceAndDetachPutsItBack) {
  HostDetach();  // start from the library's own object
  void* own = OwnApplication().handle();
  int other_app = 0;
  CloseMDIChildForm(&host_app);  // before any show: the swap still happens
  EXPECT_EQ(OwnApplication().handle(), &host_app);
  ShowWithReply("1021");
  CloseMDIChildForm(&other_app);
  EXPECT_EQ(OwnApplication().handle(), &host_app) << "later calls keep the installed object";
  HostDetach();
  EXPECT_EQ(OwnApplication().handle(), own);
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
