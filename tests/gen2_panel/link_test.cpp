// The command set and the panel over the real TESSIC.dll against the
// simulated handset's AT server.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "all_methods.h"
#include "fmr-sim/gen2/at_server.h"
#include "gen2/aud_app.h"
#include "gen2/transport_wrapper.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace MANAGED_IF {
namespace {

class AtServerTest : public ::testing::Test {
 protected:
  AtServerTest() {
    fmrsim::AtServerConfig config;
    config.port = 0;  // a free port; the transport is pointed at it
    config.auto_search_polls = 1;
    std::string error;
    server_ = fmrsim::AtServer::Start(std::move(config), error);
    if (!server_) throw std::runtime_error(error);
    ::setenv("SONVIO_PROGRAM_DIR", SONVIO_BIN_DIR, 1);
    ::setenv("TESSIC_AT_SERVER", ("127.0.0.1:" + std::to_string(server_->port())).c_str(), 1);
    TransportWrapper::Unload();
  }
  ~AtServerTest() override {
    app_.reset();
    TransportWrapper::Unload();
    ::unsetenv("TESSIC_AT_SERVER");
    ::unsetenv("SONVIO_PROGRAM_DIR");
    ::unsetenv("TESSIC_TIMEOUT_MS");
  }
  aud_app& CommandSet() {
    TransportWrapper fresh(log_.Context(services_));
    app_ = std::make_unique<aud_app>(fresh);
    return *app_;
  }
  std::unique_ptr<gen2_panel::Tfrm_DruskGUI> OpenPanel() {
    auto panel = std::make_unique<gen2_panel::Tfrm_DruskGUI>(ui_app_, log_.Context(services_));
    panel->Show();
    return panel;
  }
  void Fault(const std::string& rule) {
    std::string error;
    auto parsed = fmrsim::ParseFaultRule(rule, error);
    ASSERT_TRUE(parsed) << error;
    server_->faults().Add(*parsed);
  }

  ui::HeadlessServices services_;
  ui::Application ui_app_{services_};
  testing_host::RecordingHost log_;
  std::unique_ptr<fmrsim::AtServer> server_;
  std::unique_ptr<aud_app> app_;
};

TEST_F(AtServerTest, EveryMethodSendsItsCommandSucceedsAndReadsDecode) {
  aud_app& app = CommandSet();
  ASSERT_GE(app.session().channel_id(), 0);
  Records r;
  for (const Method& m : AllMethods(r)) {
    if (std::string(m.text) == "at@audapp:fmrx_get_auto_seek_report()") {
      // A search first; the server reports it finished on the second poll.
      log_.Clear();
      ASSERT_EQ(app.fmrx_set_station({kAutoSeek, 0, -10, 0}), 0);
      EXPECT_EQ(log_.LogTexts().at(0), "at@audapp:fmrx_set_station(5,0,-10,0)");
      for (int poll = 0;
           poll < 5 && (app.fmrx_get_dynamic_data(r.data) != 0 || r.data.seek_status != 0);
           ++poll) {
      }
    }
    log_.Clear();
    EXPECT_EQ(m.call(app), 0) << m.text;
    EXPECT_EQ(log_.Transcript(), m.text);
  }
  // Every field as the settings above wrote it (right volume and mute as the
  // radio starts).
  EXPECT_EQ(r.config, (T_StaticConfig{108000000, 87500000, 100000, 0,  0, 1,  1, 1, 7, 1,   -10,
                                      60,        0,        -20,    40, 1, -5, 3, 1, 0, 112, 80}));
}

TEST_F(AtServerTest, GarbledRepliesDoNotDecodeDropsAreResentDelaysAwaited) {
  aud_app& app = CommandSet();
  T_DynamicData data;
  T_StaticConfig config;
  Fault("malformed,on=fmrx_get_dynamic_data,count=1");
  Fault("oversize,on=fmrx_get_static_config,count=1");
  Fault("drop,on=fmrx_enable,count=1");
  Fault("delay=300,on=fmr_disable,count=1");
  EXPECT_EQ(app.fmrx_get_dynamic_data(data), 3);
  EXPECT_EQ(app.fmrx_get_static_config(config), 3);
  EXPECT_EQ(app.fmrx_get_dynamic_data(data), 0);  // still in step with the server
  EXPECT_EQ(app.fmrx_enable(), 0);
  EXPECT_EQ(server_->connections(), 2u);
  EXPECT_EQ(app.fmr_disable(), 0);
}

TEST_F(AtServerTest, ReopeningThePanelLeavesNoConnectionBehind) {
  const auto open_descriptors = [] {
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<size_t>(std::distance(fds, std::filesystem::directory_iterator()));
  };
  OpenPanel();
  const size_t after_first = open_descriptors();
  for (int i = 0; i < 200; ++i) OpenPanel();
  // The server holds one connection, the newest; while it is taking over
  // from the one before, both may be open for a moment.
  EXPECT_LE(open_descriptors(), after_first + 2);
}

TEST_F(AtServerTest, AHandsetThatNeverAnswersEndsInAnErrorLine) {
  ::setenv("TESSIC_TIMEOUT_MS", "200", 1);
  const auto panel = OpenPanel();
  log_.Clear();
  ASSERT_EQ(ui::RunAutomation(*panel, "select cb_antenna 1"), "ok");
  Fault("delay=20000,on=fmrx_set_antenna");
  ASSERT_EQ(ui::RunAutomation(*panel, "select cb_antenna 0"), "ok");
  EXPECT_EQ(log_.Transcript(),
            "Set FMR antenna to External|at@audapp:fmrx_set_antenna(1)|OK|"
            "Set FMR antenna to Internal|at@audapp:fmrx_set_antenna(0)|!Error");
}

}  // namespace
}  // namespace MANAGED_IF
