#include "panel_fixture.h"

#include "gen2/transport_wrapper.h"
#include "ui/automation.h"

namespace gen2_panel_test {

DruskPanelTest::DruskPanelTest() {
  MANAGED_IF::TransportWrapper::Unload();
  panel_ = std::make_unique<Tfrm_DruskGUI>(app_, log_.Context(services_));
  panel_->Show();
  ClearRecords();
}

DruskPanelTest::~DruskPanelTest() {
  panel_.reset();
  MANAGED_IF::TransportWrapper::Unload();
}

void DruskPanelTest::Do(const std::vector<std::string>& commands) {
  for (const std::string& command : commands)
    ASSERT_EQ(ui::RunAutomation(*panel_, command), "ok") << command;
}

std::string DruskPanelTest::Get(const std::string& command) {
  return ui::RunAutomation(*panel_, command);
}

void DruskPanelTest::Reply(const std::string& command, const std::string& text, int32_t status) {
  double_->replies["at@audapp:" + command] = {status, text};
}

void DruskPanelTest::ClearRecords() {
  double_->sent.clear();
  log_.Clear();
}

std::string DynamicReply(uint32_t state, uint32_t frequency, uint32_t stereo, uint32_t seek_status,
                         int rssi) {
  return "{" + std::to_string(state) + "," + std::to_string(frequency) + "," +
         std::to_string(stereo) + ",1}\r\n{" + std::to_string(rssi) + ",1,12,-1500,300," +
         std::to_string(seek_status) + ",0,0,0}";
}

}  // namespace gen2_panel_test
