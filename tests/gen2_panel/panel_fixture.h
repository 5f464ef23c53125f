// A second-generation panel on the headless backend whose command set talks
// to the recording TESSIC.dll double.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "form_probe.h"
#include "gen2/transport_wrapper.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "recording_host.h"
#include "tessic_double.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace gen2_panel_test {

class DruskPanelTest : public ::testing::Test {
 protected:
  DruskPanelTest() {
    MANAGED_IF::TransportWrapper::Unload();
    panel_ = std::make_unique<gen2_panel::Tfrm_DruskGUI>(app_, log_.Context(services_));
    panel_->Show();
    ClearRecords();
  }
  ~DruskPanelTest() override {
    panel_.reset();
    MANAGED_IF::TransportWrapper::Unload();
  }

  // Runs automation commands as a user would; each must be accepted.
  void Do(const std::vector<std::string>& commands) {
    for (const std::string& command : commands)
      ASSERT_EQ(ui::RunAutomation(*panel_, command), "ok") << command;
  }

  // Standing replies of the double, by command name without "at@audapp:".
  void Reply(const std::string& command, const std::string& text, int32_t status = 0) {
    double_->replies["at@audapp:" + command] = {status, text};
  }

  void ClearRecords() {
    double_->sent.clear();
    log_.Clear();
  }
  // Clears the records, then lets `ms` pass.
  void Tick(uint32_t ms) {
    ClearRecords();
    services_.Advance(ms);
  }
  std::string Shown(const std::string& name) const { return testing_form::Shown(*panel_, name); }
  // What each of the space-separated controls shows, joined by "|".
  std::string Values(const std::string& names) const {
    std::istringstream words(names);
    std::string values;
    for (std::string name; words >> name;) values += (values.empty() ? "" : "|") + Shown(name);
    return values;
  }

  ui::HeadlessServices services_;
  ui::Application app_{services_};
  gen2_test::TessicDouble double_;
  testing_host::RecordingHost log_;
  std::unique_ptr<gen2_panel::Tfrm_DruskGUI> panel_;
};

}  // namespace gen2_panel_test
