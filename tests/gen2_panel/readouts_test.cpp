// Read All, the polling timer, the auto-seek station list, and the texts
// the read-outs show.
#include "gen2_panel/readout_format.h"
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

using testing_form::Captions;

std::string Repeat(const std::string& value, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += value + " ";
  return out;
}

// The tour pins a subscription to both with its log lines and read-outs.
TEST_F(DruskPanelTest, BothSubscriptionsShareOneTimerThatStopsAtItsFirstIdleTick) {
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 1, 0));
  Do({"type le_rds ", "check CheckBox_rds 1"});  // an empty interval: the default
  EXPECT_EQ(Sent(), std::vector<std::string>{"at@audapp:fmrx_set_rds(1,0,1000)"});
  Do({"check CheckBox_rds 0", "select cb_rds 2", "type le_rds 500", "check CheckBox_rds 1"});
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

// The tour pins a search that ends in success: its polls, the one report
// and the station list. Here a search that cannot start, one still going,
// then failing, and an empty report.
TEST_F(DruskPanelTest, AFailedSeekKeepsPollingAndAnEmptyReportEmptiesTheList) {
  Fail("fmrx_set_station");
  Do({"click btn_findstation"});
  EXPECT_FALSE(panel_->auto_seek_pending());
  EXPECT_FALSE(panel_->Timer1->enabled());

  Reply("fmrx_set_station", "");
  panel_->cb_station->SetItems({"1"});
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 87500000, 1, 2));
  Reply("fmrx_get_auto_seek_report", "0\r\n" + Repeat("0", 50) + "\r\n" + Repeat("-30", 50));
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

// The characters of `text` as reply values, padded with zeros to `size`.
std::string Chars(const std::string& text, size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i)
    out += std::to_string(i < text.size() ? static_cast<unsigned char>(text[i]) : 0) + " ";
  return out;
}

// The tour pins the three reads' log lines.
TEST_F(DruskPanelTest, ReadAllShowsEveryValueHalfASecondApartAndLeavesWhatItCannotShow) {
  Reply("fmrx_get_static_config",
        "{108000000,87500000,200000,1,0,1,1,1,5,1,-10,60,1,-20,40,1,-30,2,1,0,300,112}");
  Reply("fmrx_get_dynamic_data", DynamicReply(1, 98100000, 0, 3, -45));
  Reply("fmr_get_version",
        Chars("ACME", 16) + Chars("DR947", 16) + Chars("-B2", 24) + Chars("SW1.2 FW3.4X", 100));
  const uint64_t before = services_.NowMs();
  Do({"click btn_readall"});
  EXPECT_EQ(services_.NowMs() - before, 1000u);
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

  // A spacing and a state the panel does not know leave their controls; a
  // failed read leaves what the last one showed.
  panel_->l1->SetCaption("OFF");
  Reply("fmrx_get_static_config", "108000000 87500000 75000 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 1");
  Reply("fmrx_get_dynamic_data", DynamicReply(7, 98100000, 1, 0));
  Fail("fmr_get_version");
  Do({"click btn_readall"});
  EXPECT_EQ(Showing("cb_stepsize l1 l2 l3 l_man_ver"),
            "cb_stepsize=200KHz l1=OFF l2=98100000 l3=stereo l_man_ver=ACME");
  EXPECT_EQ(LogTexts().back(), "Error");
  // A failed static configuration leaves the controls and the other reads run.
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
