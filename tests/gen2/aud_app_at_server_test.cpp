// The command set over the real TESSIC.dll against the simulated handset's
// AT server: every method, with the server's answers and with its faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "at_server.h"
#include "gen2/aud_app.h"
#include "log_capture.h"
#include "ui/headless/headless_services.h"

namespace MANAGED_IF {
namespace {

struct Method {
  const char* name;
  std::function<int32_t(aud_app&)> call;
};

// Records the read commands fill (kept apart so a failed read can be seen
// to leave them as they were).
struct Records {
  T_Version version;
  T_AutoSeekReport seek;
  T_RdsReport rds;
  T_StaticConfig config;
  T_DynamicData data;
};

// All twenty methods, in an order in which each is valid for the radio.
std::vector<Method> AllMethods(Records& r) {
  return {
      {"fmr_configure_audio_dst", [](aud_app& a) { return a.fmr_configure_audio_dst(0); }},
      {"fmrx_enable", [](aud_app& a) { return a.fmrx_enable(); }},
      {"fmrx_set_band",
       [](aud_app& a) {
         return a.fmrx_set_band({108000000, 87500000, 100000, 0});
       }},
      {"fmrx_set_station",
       [](aud_app& a) {
         return a.fmrx_set_station({kTuneToFrequency, 98100000, 0, 0});
       }},
      {"fmrx_set_sideband", [](aud_app& a) { return a.fmrx_set_sideband(2); }},
      {"fmrx_set_output_mode", [](aud_app& a) { return a.fmrx_set_output_mode(1); }},
      {"fmrx_forcemono", [](aud_app& a) { return a.fmrx_forcemono(0); }},
      {"fmrx_set_antenna", [](aud_app& a) { return a.fmrx_set_antenna(1); }},
      {"fmrx_set_snc",
       [](aud_app& a) {
         return a.fmrx_set_snc({20, 40, 1});
       }},
      {"fmrx_set_sm",
       [](aud_app& a) {
         return a.fmrx_set_sm({10, 2, 1});
       }},
      {"fmrx_set_volume",
       [](aud_app& a) {
         return a.fmrx_set_volume({kVolumeLeft, 90});
       }},
      {"fmrx_set_rds",
       [](aud_app& a) {
         return a.fmrx_set_rds({1, 0, 1000});
       }},
      {"fmrx_set_rssi",
       [](aud_app& a) {
         return a.fmrx_set_rssi({1, -10, 60});
       }},
      {"fmrx_set_gain_control",
       [](aud_app& a) {
         return a.fmrx_set_gain_control({1, 7});
       }},
      {"fmr_get_version", [&r](aud_app& a) { return a.fmr_get_version(r.version); }},
      {"fmrx_get_static_config", [&r](aud_app& a) { return a.fmrx_get_static_config(r.config); }},
      {"fmrx_get_dynamic_data", [&r](aud_app& a) { return a.fmrx_get_dynamic_data(r.data); }},
      {"fmrx_get_rds_data", [&r](aud_app& a) { return a.fmrx_get_rds_data(r.rds); }},
      {"fmrx_get_auto_seek_report",
       [&r](aud_app& a) { return a.fmrx_get_auto_seek_report(r.seek); }},
      {"fmr_disable", [](aud_app& a) { return a.fmr_disable(); }},
  };
}

class AudAppAtServerTest : public ::testing::Test {
 protected:
  AudAppAtServerTest() {
    fmrsim::AtServerConfig config;
    config.port = 0;  // a free port; the transport is pointed at it
    config.auto_search_polls = 1;
    std::string error;
    server_ = fmrsim::AtServer::Start(std::move(config), error);
    if (!server_) throw std::runtime_error(error);
    ::setenv("SONVIO_PROGRAM_DIR", SONVIO_BIN_DIR, 1);
    const std::string address = "127.0.0.1:" + std::to_string(server_->port());
    ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
    TransportWrapper::Unload();
    TransportWrapper fresh(services_);
    app_ = std::make_unique<aud_app>(fresh);
  }
  ~AudAppAtServerTest() override {
    app_.reset();
    TransportWrapper::Unload();
    ::unsetenv("TESSIC_AT_SERVER");
    ::unsetenv("SONVIO_PROGRAM_DIR");
  }

  void Fault(const std::string& rule) {
    std::string error;
    auto parsed = fmrsim::ParseFaultRule(rule, error);
    ASSERT_TRUE(parsed) << error;
    server_->faults().Add(*parsed);
  }

  ui::HeadlessServices services_;
  gen2_test::LogCapture log_;
  std::unique_ptr<fmrsim::AtServer> server_;
  std::unique_ptr<aud_app> app_;
};

TEST_F(AudAppAtServerTest, EveryMethodSucceedsAndReadsDecode) {
  ASSERT_GE(app_->session().channel_id(), 0);
  Records r;
  for (const Method& m : AllMethods(r)) {
    if (std::string(m.name) == "fmrx_get_auto_seek_report") {
      // A search first; the server reports it finished on the second poll.
      ASSERT_EQ(app_->fmrx_set_station({kAutoSeek, 0, 0, 0}), 0);
      for (int poll = 0;
           poll < 5 && (app_->fmrx_get_dynamic_data(r.data) != 0 || r.data.seek_status != 0);
           ++poll) {
      }
    }
    EXPECT_EQ(m.call(*app_), 0) << m.name;
  }
  EXPECT_EQ(ArrayText(r.version.hardware_id).find("947"), 2u);
  EXPECT_NE(ArrayText(r.version.version_text).find("FW"), std::string::npos);
  EXPECT_EQ(r.config.upper_limit, 108000000u);
  EXPECT_EQ(r.config.spacing, 100000u);
  EXPECT_EQ(r.config.snc_high_threshold, 40);
  EXPECT_EQ(r.config.left_volume, 90);
  EXPECT_EQ(r.data.state, 1u);
  EXPECT_GT(r.seek.station_count, 0);
  EXPECT_GE(r.seek.frequencies[0], 87500000u);
}

TEST_F(AudAppAtServerTest, EveryMethodReportsAnErrorReplyAndReadsLeaveTheirRecords) {
  Fault("error");
  Records r;
  const Records before = r;
  for (const Method& m : AllMethods(r)) EXPECT_EQ(m.call(*app_), 3) << m.name;
  EXPECT_EQ(r.config, before.config);
  EXPECT_EQ(r.data, before.data);
  EXPECT_EQ(r.version, before.version);
}

TEST_F(AudAppAtServerTest, MalformedAndOversizedRepliesDoNotDecode) {
  T_DynamicData data;
  Fault("malformed,on=fmrx_get_dynamic_data,count=1");
  EXPECT_EQ(app_->fmrx_get_dynamic_data(data), 3);
  Fault("oversize,on=fmrx_get_static_config,count=1");
  T_StaticConfig config;
  EXPECT_EQ(app_->fmrx_get_static_config(config), 3);
  // The session is still in step with the server afterwards.
  EXPECT_EQ(app_->fmrx_get_dynamic_data(data), 0);
}

TEST_F(AudAppAtServerTest, ADroppedConnectionIsResentAndADelayedReplyAwaited) {
  Fault("drop,on=fmrx_enable,count=1");
  EXPECT_EQ(app_->fmrx_enable(), 0);
  EXPECT_EQ(server_->connections(), 2u);

  Fault("delay=300,on=fmr_disable,count=1");
  EXPECT_EQ(app_->fmr_disable(), 0);
  EXPECT_EQ(log_.texts().back(), "at@audapp:fmr_disable()");
}

}  // namespace
}  // namespace MANAGED_IF
