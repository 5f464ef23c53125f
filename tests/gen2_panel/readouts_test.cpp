// Read All, the polling timer and the auto-seek station list.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

using testing_form::Captions;

std::string Repeat(const std::string& value, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += value + " ";
  return out;
}

// Block A counts 0..27, block B 0x1000.., C all 65535, D zero, the 32-bit
// columns 0x12345, 0 and -1.
std::string RdsReply() {
  std::string a, b;
  for (int i = 0; i < 28; ++i) {
    a += std::to_string(i) + " ";
    b += std::to_string(0x1000 + i) + " ";
  }
  return a + b + Repeat("65535", 28) + Repeat("0", 28) + Repeat("74565", 28) + Repeat("0", 28) +
         Repeat("-1", 28);
}

std::string AutoSeekReply(int count, const std::vector<uint32_t>& frequencies) {
  std::string out = std::to_string(count) + "\r\n";
  for (uint32_t f : frequencies) out += std::to_string(f) + ",";
  out += Repeat("0", 50 - static_cast<int>(frequencies.size())) + "\r\n" + Repeat("-30", 50);
  return out;
}

// The tour pins the report's log lines and read-outs; here an empty interval,
// and a timer that runs on until its next tick after unsubscribing.
TEST_F(DruskPanelTest, RdsSubscriptionPollsTheReportOnItsInterval) {
  Reply("fmrx_get_rds_data", RdsReply());
  Do({"type le_rds ", "check CheckBox_rds 1"});
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_set_rds(1,0,1000)"});
  EXPECT_EQ(panel_->Timer1->interval(), 1000u);
  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_get_rds_data()"});
  EXPECT_EQ(panel_->MData->lines().size(), 27u);

  Do({"check CheckBox_rds 0"});
  EXPECT_EQ(Sent().back(), "at@audapp:fmrx_set_rds(0,0,1000)");
  EXPECT_TRUE(panel_->Timer1->enabled());
  ClearRecords();
  services_.Advance(1000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(panel_->Timer1->enabled());
}

TEST_F(DruskPanelTest, BothSubscriptionsShareOneTimerWithTheIntervalSetLast) {
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 1, 0));
  Do({"select cb_rds 2", "type le_rds 500", "check CheckBox_rds 1"});
  EXPECT_EQ(Sent().back(), "at@audapp:fmrx_set_rds(1,2,500)");
  EXPECT_EQ(panel_->Timer1->interval(), 500u);
  Do({"check cb_quickinfo 1"});
  EXPECT_EQ(panel_->Timer1->interval(), 1000u);

  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"at@audapp:fmrx_get_rds_data()",
                                              "at@audapp:fmrx_get_dynamic_data()"}));

  // Quick information off, RDS still on: RDS only.
  Do({"check cb_quickinfo 0"});
  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_get_rds_data()"});

  // Both off: one more tick, which finds no reason to run.
  panel_->CheckBox_rds->SetChecked(false);
  ClearRecords();
  services_.Advance(5000);
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(panel_->Timer1->enabled());
}

TEST_F(DruskPanelTest, AFailedRdsReportStillLetsTheTickReadQuickInformation) {
  Fail("fmrx_get_rds_data");
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 1, 0));
  Do({"check CheckBox_rds 1", "check cb_quickinfo 1"});
  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(log_.Transcript(),
            "get FM RX RDS report|at@audapp:fmrx_get_rds_data()|!Error|"
            "Get FM dynamic config|at@audapp:fmrx_get_dynamic_data()|OK");
  EXPECT_EQ(panel_->LData->text(), "");
  EXPECT_EQ(panel_->l2->caption(), "98100000");
  EXPECT_TRUE(panel_->Timer1->enabled());
}

// The tour pins a search that ends in success: its polls, the one report
// and the station list. Here a search still going, then failing, and an
// empty report.
TEST_F(DruskPanelTest, AFailedSeekKeepsPollingAndAnEmptyReportEmptiesTheList) {
  panel_->cb_station->SetItems({"1"});
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 87500000, 1, 2));
  Reply("fmrx_get_auto_seek_report", AutoSeekReply(0, {}));
  Do({"click btn_findstation"});
  EXPECT_TRUE(panel_->auto_seek_pending());
  services_.Advance(2000);
  EXPECT_EQ(panel_->l4->caption(), "ongoing");
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 87500000, 1, 1));
  services_.Advance(2000);
  EXPECT_EQ(panel_->l4->caption(), "failed");
  EXPECT_TRUE(panel_->Timer1->enabled());

  Reply("fmrx_get_dynamic_data", DynamicReply(1, 87500000, 1, 0));
  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"at@audapp:fmrx_get_dynamic_data()",
                                              "at@audapp:fmrx_get_auto_seek_report()"}));
  EXPECT_EQ(Get("items cb_station"), "");
  EXPECT_FALSE(panel_->auto_seek_pending());
}

TEST_F(DruskPanelTest, FindStationsThatFailsStartsNoPolling) {
  Fail("fmrx_set_station");
  Do({"click btn_findstation"});
  EXPECT_FALSE(panel_->auto_seek_pending());
  EXPECT_FALSE(panel_->Timer1->enabled());
}

class ReadAllTest : public DruskPanelTest {
 protected:
  void SetUp() override {
    Reply("fmrx_get_static_config",
          "{108000000,87500000,200000,1,0,1,1,1,5,1,-10,60,1,-20,40,1,-30,2,1,0,300,112}");
    Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 0, 3, -45));
    std::string version;
    const std::string texts[] = {"ACME", "DR947", "-B2", "SW1.2 FW3.4X"};
    const size_t sizes[] = {16, 16, 24, 100};
    for (size_t t = 0; t < 4; ++t) {
      for (size_t i = 0; i < sizes[t]; ++i) {
        const int c = i < texts[t].size() ? static_cast<unsigned char>(texts[t][i]) : 0;
        version += std::to_string(c) + " ";
      }
    }
    Reply("fmr_get_version", version);
  }
};

TEST_F(ReadAllTest, ReadsConfigDataAndVersionsHalfASecondApart) {
  const uint64_t before = services_.NowMs();
  Do({"click btn_readall"});
  EXPECT_EQ(services_.NowMs() - before, 1000u);  // the tour pins the three reads' lines
  const std::string config =
      "le_maxfreq=108000000 le_minfreq=87500000 cb_stepsize=200KHz rg_deemphasis=1 cb_antenna=1 "
      "cb_dspmode=1 cb_agc=1 cb_gaincontrol=5 cb_rssi=1 le_rssi_low=-10 le_rssi_high=60 "
      "cb_mute=1 le_snc_low=-20 le_snc_high=40 cb_snc=1 le_softmute_threshold=-30 "
      "le_softmute_stepsize=2 cb_softmute=1 e_lvol=44 e_rvol=112";
  EXPECT_EQ(Showing(config), config);
  // Mono ticks Force Mono without sending; seek status 3 leaves its label.
  const std::string data =
      "l2=98100000 le_frequency=98100000 l3=mono cb_forcemono=1 l4= l6=-45 "
      "l7=300 l8=12 l9=-1500 l10=LSI";
  EXPECT_EQ(Showing(data), data);
  EXPECT_EQ(Shown("l1") + "|" + Shown("l5"), "RX ON|Pilot found");
  EXPECT_EQ(Captions(*panel_, "l_man_ver l_hw_ver l_pkg_ver l_rx_ver"),
            "ACME|DR947-B2|SW1.2 |FW3.4|");
}

TEST_F(ReadAllTest, UnknownValuesLeaveTheirControlsAndAFailedReadChangesNothing) {
  panel_->cb_stepsize->SetItemIndex(0);
  panel_->l1->SetCaption("OFF");
  Reply("fmrx_get_static_config", "108000000 87500000 75000 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1");
  Reply("fmrx_get_dynamic_data", DynamicReply(7, 98100000, 1, 0));
  Fail("fmr_get_version");
  Do({"click btn_readall"});
  EXPECT_EQ(Showing("cb_stepsize l1 l2 l3 l_man_ver"),
            "cb_stepsize=50KHz l1=OFF l2=98100000 l3=stereo l_man_ver=");
  EXPECT_EQ(LogTexts().back(), "Error");

  // A failed static configuration leaves the controls and the other reads run.
  Fail("fmrx_get_static_config");
  panel_->le_maxfreq->SetText("1");
  ClearRecords();
  Do({"click btn_readall"});
  EXPECT_EQ(Shown("le_maxfreq"), "1");
  EXPECT_EQ(Sent().size(), 3u);
}

}  // namespace
}  // namespace gen2_panel_test
