// The second-generation panel over the real TESSIC.dll and the simulated
// handset's AT server: what reopening the panel leaves behind, and how a
// handset that never answers ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "fmr-sim/gen2/at_server.h"
#include "gen2/transport_wrapper.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "ui/automation.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

namespace gen2_panel_test {
namespace {

// Descriptors this process has open.
size_t OpenDescriptors() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<size_t>(std::distance(fds, std::filesystem::directory_iterator()));
}

class DruskLinkTest : public ::testing::Test {
 protected:
  DruskLinkTest() {
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    server_ = fmrsim::AtServer::Start(std::move(config), error);
    if (!server_) throw std::runtime_error(error);
    const std::string address = "127.0.0.1:" + std::to_string(server_->port());
    ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
    ::setenv("SONVIO_PROGRAM_DIR", SONVIO_BIN_DIR, 1);
    MANAGED_IF::TransportWrapper::Unload();
  }
  ~DruskLinkTest() override {
    MANAGED_IF::TransportWrapper::Unload();
    ::unsetenv("SONVIO_PROGRAM_DIR");
    ::unsetenv("TESSIC_AT_SERVER");
    ::unsetenv("TESSIC_TIMEOUT_MS");
  }
  std::unique_ptr<Tfrm_DruskGUI> OpenPanel() {
    auto panel = std::make_unique<Tfrm_DruskGUI>(app_, log_.Context(services_));
    panel->Show();
    return panel;
  }

  ui::HeadlessServices services_;
  ui::Application app_{services_};
  testing_host::RecordingHost log_;
  std::unique_ptr<fmrsim::AtServer> server_;
};

TEST_F(DruskLinkTest, ReopeningThePanelLeavesNoConnectionBehind) {
  OpenPanel();
  const size_t after_first = OpenDescriptors();
  for (int i = 0; i < 200; ++i) OpenPanel();
  // The server holds one connection, the newest; while it is taking over
  // from the one before, both may be open for a moment.
  EXPECT_LE(OpenDescriptors(), after_first + 2);
}

TEST_F(DruskLinkTest, AHandsetThatNeverAnswersEndsInAnErrorLine) {
  ::setenv("TESSIC_TIMEOUT_MS", "200", 1);
  const auto panel = OpenPanel();
  log_.Clear();
  ASSERT_EQ(ui::RunAutomation(*panel, "select cb_antenna 1"), "ok");
  std::string error;
  server_->faults().Add(*fmrsim::ParseFaultRule("delay=20000,on=fmrx_set_antenna", error));
  ASSERT_EQ(ui::RunAutomation(*panel, "select cb_antenna 0"), "ok");
  EXPECT_EQ(log_.Transcript(),
            "Set FMR antenna to External|at@audapp:fmrx_set_antenna(1)|OK|"
            "Set FMR antenna to Internal|at@audapp:fmrx_set_antenna(0)|!Error");
}

}  // namespace
}  // namespace gen2_panel_test
