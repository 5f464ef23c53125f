// Choosing the panel from the chip-version probe, and the window life cycle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
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

// A reply that fills the whole buffer is not read past its end.
TEST(PanelSelectionReply, AFullReplyIsNotReadPastItsEnd) {
  char full[200];
  std::memset(full, 'x', sizeof(full));
  EXPECT_FALSE(IsSecondGenerationReply(full, sizeof(full)));
  std::memcpy(full + 197, "947", 3);
  EXPECT_TRUE(IsSecondGenerationReply(full, sizeof(full)));
}

// The probe goes over the AT-command slot with message id 0 and the host's
// handle; "947" anywhere in the reply's text, or a failed call, gives the
// second-generation panel, anything else the first. Either gets the help
// keyword and the version caption and is shown.
TEST_F(PanelSelection, TheChipProbeChoosesThePanel) {
  const struct {
    std::optional<std::string> reply;  // none: the host call fails
    const char* panel;
  } cases[] = {
      {"+CHIPVER: DR947 rev 2", "frm_DruskGUI"},
      {"9470", "frm_DruskGUI"},
      {"+CHIPVER: 1021", "KelboFMRGUI"},
      {"", "KelboFMRGUI"},
      {"94-7", "KelboFMRGUI"},
      {std::string("12\0947", 6), "KelboFMRGUI"},  // the text ends at its zero
      {std::nullopt, "frm_DruskGUI"},
  };
  SetComHandle(0x12345678);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply.value_or("(failed)"));
    host.Clear();
    host.com_handles.clear();
    host.Queue(c.reply ? testing_host::TextReply(*c.reply) : testing_host::HostFailure("down"));
    ShowMDIChildForm(&host_app);
    ASSERT_FALSE(host.calls.empty());
    const testing_host::HostCall& probe = host.calls[0];
    EXPECT_EQ(probe.channel, HostChannel::kAtCommand);
    EXPECT_EQ(probe.message_id, 0);
    EXPECT_EQ(probe.Text(), "at@ver:get_chip_ver(0)");
    EXPECT_EQ(host.com_handles.at(0), 0x12345678u);
    ui::Form* panel = Host().current_panel;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->name(), c.panel);
    EXPECT_TRUE(panel->shown());
    EXPECT_EQ(panel->help_keyword(), "SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO");
    EXPECT_EQ(panel->caption().rfind("Sonvio - Version: ", 0), 0u) << panel->caption();
    CloseMDIChildForm(&host_app);
    EXPECT_EQ(Host().current_panel, nullptr);
  }
}

// The first show or close installs the host's application object; later
// ones leave it, and detaching puts the library's own back. Closing without
// a panel, or twice, does nothing more.
TEST_F(PanelSelection, TheFirstCallInstallsTheHostApplicationObject) {
  HostDetach();
  void* own = OwnApplication().handle();
  int first = 0;
  int second = 0;
  const size_t forms = OwnApplication().form_count();
  CloseMDIChildForm(&first);
  EXPECT_EQ(OwnApplication().handle(), &first);
  host.AnswerText("1021");
  ShowMDIChildForm(&second);
  EXPECT_EQ(OwnApplication().handle(), &first);
  EXPECT_EQ(OwnApplication().form_count(), forms + 1);
  CloseMDIChildForm(&second);
  CloseMDIChildForm(&second);
  EXPECT_EQ(OwnApplication().form_count(), forms);
  EXPECT_EQ(OwnApplication().handle(), &first);
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
