// The audio-application command set over the recording TESSIC.dll double:
// command texts and the decoding of each read record.
#include "gen2/aud_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "all_methods.h"
#include "recording_host.h"
#include "tessic_double.h"
#include "ui/headless/headless_services.h"

namespace MANAGED_IF {
namespace {

// "v0 v1 ... v(n-1)" for values first, first+1, ...
std::string Sequence(int first, int count, const char* separator = " ") {
  std::ostringstream out;
  for (int i = 0; i < count; ++i) out << (i > 0 ? separator : "") << first + i;
  return out.str();
}

class AudAppTest : public ::testing::Test {
 protected:
  AudAppTest() {
    TransportWrapper::Unload();
    TransportWrapper fresh(log_.Context(services_));
    app_ = std::make_unique<aud_app>(fresh);
  }
  ~AudAppTest() override {
    app_.reset();
    TransportWrapper::Unload();
  }
  void Reply(const std::string& command, const std::string& text) {
    double_->replies["at@audapp:" + command] = {0, text};
  }

  ui::HeadlessServices services_;
  testing_host::RecordingHost log_;
  gen2_test::TessicDouble double_;
  std::unique_ptr<aud_app> app_;
};

TEST_F(AudAppTest, EveryMethodSendsItsCommandTextOnASessionOfItsOwn) {
  EXPECT_EQ(app_->session().session_id(), 7);
  EXPECT_EQ(app_->session().channel_id(), 9);
  EXPECT_EQ(double_->CallCount("TESSIC_SessionOpen"), 1);
  Records records;
  for (const Method& m : AllMethods(records)) {
    double_->sent.clear();
    m.call(*app_);
    EXPECT_EQ(double_->sent, std::vector<std::string>{m.text});
  }
  double_->sent.clear();
  app_->fmrx_set_station({kAutoSeek, 0, -10, 0});
  EXPECT_EQ(double_->sent, std::vector<std::string>{"at@audapp:fmrx_set_station(5,0,-10,0)"});
}

TEST_F(AudAppTest, DynamicDataDecodesWhateverTheLayoutButNeedsThirteenValues) {
  T_DynamicData spaced, braced;
  Reply("fmrx_get_dynamic_data", "1 98100000 1 1 -45 0 7 -1200 9 2 0 0 0");
  EXPECT_EQ(app_->fmrx_get_dynamic_data(spaced), 0);
  Reply("fmrx_get_dynamic_data", "{1,98100000,1,1}\r\n{-45,0,7,-1200,9,2,0,0,0}");
  EXPECT_EQ(app_->fmrx_get_dynamic_data(braced), 0);
  EXPECT_EQ(braced.state, 1u);
  EXPECT_EQ(braced.frequency, 98100000u);
  EXPECT_EQ(braced.rssi, -45);
  EXPECT_EQ(braced.frequency_offset, -1200);
  EXPECT_EQ(braced.seek_status, 2u);
  EXPECT_EQ(spaced, braced);
  for (int count : {12, 14}) {
    Reply("fmrx_get_dynamic_data", Sequence(1, count));
    EXPECT_EQ(app_->fmrx_get_dynamic_data(braced), 3) << count;
  }
}

TEST_F(AudAppTest, AutoSeekReportTakesExactly101Values) {
  T_AutoSeekReport report;
  Reply("fmrx_get_auto_seek_report",
        "3\r\n{" + Sequence(87500000, 50, ",") + "}\r\n{" + Sequence(-25, 50, ",") + "}");
  ASSERT_EQ(app_->fmrx_get_auto_seek_report(report), 0);
  EXPECT_EQ(report.station_count, 3);
  EXPECT_EQ(report.frequencies[0], 87500000u);
  EXPECT_EQ(report.frequencies[49], 87500049u);
  EXPECT_EQ(report.rssi[0], -25);
  Reply("fmrx_get_auto_seek_report", "3 " + Sequence(87500000, 50) + " " + Sequence(-25, 49));
  EXPECT_EQ(app_->fmrx_get_auto_seek_report(report), 3);
}

TEST_F(AudAppTest, RdsReportFillsTheArraysOneAfterTheOther) {
  std::string reply;
  for (int array = 0; array < 6; ++array) reply += Sequence(array * 100, 28) + "\r\n";
  Reply("fmrx_get_rds_data", reply + Sequence(-28, 28));
  T_RdsReport report;
  ASSERT_EQ(app_->fmrx_get_rds_data(report), 0);
  EXPECT_EQ(report.block_a[0], 0);
  EXPECT_EQ(report.block_a[27], 27);
  EXPECT_EQ(report.block_b[0], 100);
  EXPECT_EQ(report.column6[27], 527u);
  EXPECT_EQ(report.column7[0], -28);
  EXPECT_EQ(report.column7[27], -1);
}

}  // namespace
}  // namespace MANAGED_IF
