// Read All, the polling timer, the auto-seek station list, and the texts
// the read-outs show.
#include "gen2_panel/readout_format.h"
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

// The tour pins a subscription to both with its log lines and read-outs.
TEST_F(DruskPanelTest, BothSubscriptionsShareOneTimerThatStopsAtItsFirstIdleTick) {
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 1, 0));
  Do({"check CheckBox_rds 1", "check cb_quickinfo 1"});

  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"at@audapp:fmrx_get_rds_data()",
                                              "at@audapp:fmrx_get_dynamic_data()"}));
  // Quick information off, RDS still on: RDS only.
  Do({"check cb_quickinfo 0"});
  ClearRecords();
  services_.Advance(1000);
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_get_rds_data()"});
  // Both off: the timer runs on to one more tick, which finds no reason to run.
  Do({"check CheckBox_rds 0"});
  EXPECT_TRUE(panel_->Timer1->enabled());
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

// The tour pins the three reads and what they show; here what a read cannot
// show: a spacing and a state the panel does not know leave their controls,
// a failed read leaves what the last one showed and the other reads run.
TEST_F(DruskPanelTest, ReadAllLeavesWhatItCannotShow) {
  panel_->l1->SetCaption("OFF");
  panel_->l_man_ver->SetCaption("ACME");
  Reply("fmrx_get_static_config", "108000000 87500000 75000 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1");
  Reply("fmrx_get_dynamic_data", DynamicReply(7, 98100000, 1, 0));
  Fail("fmr_get_version");
  const std::string step = Showing("cb_stepsize");
  const uint64_t before = services_.NowMs();
  Do({"click btn_readall"});
  EXPECT_EQ(services_.NowMs() - before, 1000u);
  EXPECT_EQ(Showing("cb_stepsize"), step);
  EXPECT_EQ(Showing("l1 l2 l3 l_man_ver"), "l1=OFF l2=98100000 l3=stereo l_man_ver=ACME");
  EXPECT_EQ(LogTexts().back(), "Error");
  Fail("fmrx_get_static_config");
  panel_->le_maxfreq->SetText("1");
  ClearRecords();
  Do({"click btn_readall"});
  EXPECT_EQ(Shown("le_maxfreq"), "1");
  EXPECT_EQ(Sent().size(), 3u);
}

TEST(ReadoutFormatTest, RdsEntriesShowLow16BitsAndVersionTextsSplitAtSwAndFw) {
  MANAGED_IF::T_RdsReport report;
  report.block_a[5] = 0xABCD;
  report.column5[5] = 0xFFFF1234u;
  report.column6[5] = 0x10000u;
  report.column7[5] = -2;
  EXPECT_EQ(RdsEntryLine(report, 5), "0xABCD  0x0000  0x0000  0x0000  0x1234  0x0000  0xFFFE ");

  struct Case {
    const char* text;
    const char* package;
    const char* firmware;
  };
  const Case cases[] = {
      {"SW1.2 FW3.4X", "SW1.2 ", "FW3.4"},
      {"ID SW_A.7 FW_B.2\n", "SW_A.7 ", "FW_B.2"},
      {"SW1.2 only", "SW1.2 only", ""},  // no firmware part: the package runs to the end
      {"FW3.4X", "", "FW3.4"},           // no package part
      // Firmware named first: the package part ends before it starts, so empty.
      {"FW3.4 SW1.2X", "", "FW3.4 SW1.2"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PackageVersionPart(c.text), c.package) << c.text;
    EXPECT_EQ(FirmwareVersionPart(c.text), c.firmware) << c.text;
  }
}

}  // namespace
}  // namespace gen2_panel_test
