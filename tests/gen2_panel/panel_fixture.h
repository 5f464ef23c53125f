// A second-generation panel on the headless backend whose command set talks
// to the recording TESSIC.dll double.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "form_probe.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "recording_host.h"
#include "tessic_double.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

namespace gen2_panel_test {

class DruskPanelTest : public ::testing::Test {
 protected:
  DruskPanelTest();
  ~DruskPanelTest() override;

  // Runs automation commands as a user would; each must be accepted.
  void Do(const std::vector<std::string>& commands);
  std::string Get(const std::string& command);

  // Standing replies of the double, by command name without "at@audapp:".
  void Reply(const std::string& command, const std::string& text, int32_t status = 0);
  void Fail(const std::string& command) { Reply(command, "", -2); }

  std::vector<std::string> Sent() const { return double_->sent; }
  std::vector<std::string> LogTexts() const { return log_.LogTexts(); }
  void ClearRecords();

  // The form probe on this panel.
  std::string Shown(const std::string& name) const { return testing_form::Shown(*panel_, name); }
  std::string Showing(const std::string& names) const {
    return testing_form::Showing(*panel_, names);
  }
  std::string Enabled(const std::string& names) const {
    return testing_form::Enabled(*panel_, names);
  }

  ui::HeadlessServices services_;
  ui::Application app_{services_};
  gen2_test::TessicDouble double_;
  testing_host::RecordingHost log_;
  std::unique_ptr<Tfrm_DruskGUI> panel_;
};

// A dynamic-data reply: the ten shown fields, then three unshown ones.
std::string DynamicReply(uint32_t state, uint32_t frequency, uint32_t stereo, uint32_t seek_status,
                         int rssi = -40);

}  // namespace gen2_panel_test
