// Read All, the polling timer, the auto-seek station list, and where every
// field of every reply lands.
#include <cstdio>

#include "gen2_panel/readout_format.h"
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

// `count` character codes of `text` (zeros after it), as a reply writes a
// character array.
std::string Codes(std::string_view text, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i)
    out += std::to_string(i < text.size() ? static_cast<unsigned char>(text[i]) : 0) + " ";
  return out;
}

// A dynamic-data reply of a radio on 98.1 MHz in stereo, with its seek status.
std::string DynamicReply(int seek_status) {
  return "{1,98100000,1,1}\r\n{-40,1,12,-1500,300," + std::to_string(seek_status) + ",0,0,0}";
}

// Each row's values differ from one another, and across the rows every
// flag has its own pattern, so a field shown in another's control shows. A
// spacing the box does not offer, and a failed read, leave what the row
// before showed. Setting the check boxes sends nothing.
TEST_F(DruskPanelTest, ReadAllShowsEveryStaticConfigurationFieldInItsControlAndTheVersions) {
  Reply("fmrx_get_dynamic_data", "", -2);
  Reply("fmr_get_version", Codes(std::string_view("ACME\0JUNK", 9), 16) + Codes("HW12", 16) +
                               Codes("-X9", 24) + Codes("PKG SW7.1 FW8.2Z", 100));
  const char* const rows[][2] = {
      {"{108000000,87500000,50000,1},1,0,0,{1,13},{0,-17,61},1,{-23,44,0},{-9,6,1},99,{71,83}",
       "108000000|87500000|50KHz|1|1|0|0|1|13|0|-17|61|1|-23|44|0|-9|6|1|71|83"},
      {"90000000 76000000 200000 0 0 1 1 1 5 0 -3 32767 0 -32768 12 1 -1 65535 1 0 255 300",
       "90000000|76000000|200KHz|0|0|1|1|1|5|0|-3|32767|0|-32768|12|1|-1|65535|1|255|44"},
      {"107900000 87600000 100000 1 0 0 0 0 0 1 -40 -5 1 7 -7 1 3 2 1 4 0 112",
       "107900000|87600000|100KHz|1|0|0|0|0|0|1|-40|-5|1|7|-7|1|3|2|1|0|112"},
      {"98000000 88000000 75000 0 0 1 7 0 15 2 11 22 0 33 44 5 55 66 0 1 1 2",
       "98000000|88000000|100KHz|0|0|1|1|0|15|1|11|22|0|33|44|1|55|66|0|1|2"},
      {nullptr, "98000000|88000000|100KHz|0|0|1|1|0|15|1|11|22|0|33|44|1|55|66|0|1|2"},
  };
  for (const auto& [reply, shown] : rows) {
    Reply("fmrx_get_static_config", reply != nullptr ? reply : "", reply != nullptr ? 0 : -2);
    ClearRecords();
    const uint64_t before = services_.NowMs();
    Do({"click btn_readall"});
    EXPECT_EQ(services_.NowMs() - before, 1000u);
    EXPECT_EQ(Values("le_maxfreq le_minfreq cb_stepsize rg_deemphasis cb_forcemono cb_antenna "
                     "cb_dspmode cb_agc cb_gaincontrol cb_rssi le_rssi_low le_rssi_high cb_mute "
                     "le_snc_low le_snc_high cb_snc le_softmute_threshold le_softmute_stepsize "
                     "cb_softmute e_lvol e_rvol"),
              shown);
    EXPECT_EQ(log_.Transcript(),
              std::string("Get FM static config|at@audapp:fmrx_get_static_config()|") +
                  (reply != nullptr ? "OK" : "!Error") +
                  "|Get FM dynamic config|at@audapp:fmrx_get_dynamic_data()|!Error"
                  "|Get FM version|at@audapp:fmr_get_version()|OK");
  }
  EXPECT_EQ(testing_form::Showing(*panel_, "l_man_ver l_pkg_ver l_hw_ver l_rx_ver"),
            "l_man_ver=ACME l_pkg_ver=SW7.1  l_hw_ver=HW12-X9 l_rx_ver=FW8.2");
}

// Quick information: one dynamic-data read a tick, each row in turn, shown
// in l1 to l10, le_frequency and cb_forcemono. A state or seek status
// without a text leaves its label as the row before set it; a failed read
// leaves every label.
TEST_F(DruskPanelTest, QuickInformationShowsEveryDynamicDataField) {
  const char* const rows[][2] = {
      {"{1,98100000,1,1}\r\n{-40,0,12,-1500,300,0,5,6,7}",
       "RX ON|98100000|stereo|success|Pilot found|-40|300|12|-1500|HSI|98100000|0"},
      {"0 76500000 0 0 -32768 1 65535 2147483647 1 1 0 0 0",
       "OFF|76500000|mono|failed|Pilot lost|-32768|1|65535|2147483647|LSI|76500000|1"},
      {"2 87500000 1 0 32767 3 40000 -2147483648 65000 2 0 0 0",
       "TX ON|87500000|stereo|ongoing|Pilot lost|32767|65000|40000|-2147483648|LSI|87500000|0"},
      {"3 108000000 0 9 0 0 0 0 0 4 0 0 0",
       "Test mode ON|108000000|mono|stopped|Pilot found|0|0|0|0|HSI|108000000|1"},
      {"7 90000000 5 1 -1 0 77 8 99 5 0 0 0",
       "Test mode ON|90000000|stereo|invalid|Pilot found|-1|99|77|8|HSI|90000000|0"},
      {"0 90100000 0 1 1 1 2 3 4 3 0 0 0",
       "OFF|90100000|mono|invalid|Pilot found|1|4|2|3|LSI|90100000|1"},
      {"4 90200000 1 0 2 0 3 4 5 6 0 0 0",
       "OFF|90200000|stereo|invalid|Pilot lost|2|5|3|4|HSI|90200000|0"},
      {nullptr, "OFF|90200000|stereo|invalid|Pilot lost|2|5|3|4|HSI|90200000|0"},
  };
  Do({"check cb_quickinfo 1"});
  for (const auto& [reply, shown] : rows) {
    Reply("fmrx_get_dynamic_data", reply != nullptr ? reply : "", reply != nullptr ? 0 : -2);
    Tick(1000);
    EXPECT_EQ(Values("l1 l2 l3 l4 l5 l6 l7 l8 l9 l10 le_frequency cb_forcemono"), shown);
    EXPECT_EQ(log_.Transcript(), std::string("Get FM dynamic config|"
                                             "at@audapp:fmrx_get_dynamic_data()|") +
                                     (reply != nullptr ? "OK" : "!Error"));
  }
}

// Entry i of the report: column c holds (c + 1) * 0x1000 + i in its low 16
// bits (the seventh negative), so every value shows where it came from.
TEST_F(DruskPanelTest, RdsReportShowsTheNewestEntryAloneAndTheOthersNewestFirst) {
  std::string reply;
  std::vector<std::string> older(28);  // entry 27 to 0, each as its line shows
  for (int column = 0; column < 7; ++column) {
    for (int i = 0; i < 28; ++i) {
      const long low = (column + 1) * 0x1000 + i;
      const long value = column == 6 ? low - 0x10000 : column >= 4 ? low + 0x70000 : low;
      reply += std::to_string(value) + (i == 27 ? "\r\n" : ",");
      char group[8];
      std::snprintf(group, sizeof group, "0x%04lX ", low);
      older[27 - i] += (column > 0 ? " " : "") + std::string(group);
    }
  }
  const std::string newest = older.front();
  older.erase(older.begin());
  Reply("fmrx_get_rds_data", reply);
  Do({"check CheckBox_rds 1"});
  Tick(1000);
  EXPECT_EQ(log_.Transcript(), "get FM RX RDS report|at@audapp:fmrx_get_rds_data()|OK");
  EXPECT_EQ(panel_->LData->text(), newest);
  EXPECT_EQ(panel_->MData->lines(), older);
  // A failed report leaves both, and the tick still reads quick information.
  Reply("fmrx_get_rds_data", "", -2);
  Reply("fmrx_get_dynamic_data", DynamicReply(0));
  Do({"check cb_quickinfo 1"});
  Tick(1000);
  EXPECT_EQ(log_.Transcript(),
            "get FM RX RDS report|at@audapp:fmrx_get_rds_data()|!Error|"
            "Get FM dynamic config|at@audapp:fmrx_get_dynamic_data()|OK");
  EXPECT_EQ(panel_->LData->text(), newest);
  EXPECT_EQ(panel_->MData->lines(), older);
}

TEST_F(DruskPanelTest, BothSubscriptionsShareOneTimerThatStopsAtItsFirstIdleTick) {
  Reply("fmrx_get_dynamic_data", DynamicReply(0));
  Do({"type le_rds 700", "check CheckBox_rds 1", "check cb_quickinfo 1"});
  EXPECT_EQ(panel_->Timer1->interval(), 1000u);
  Tick(1000);
  EXPECT_EQ(double_->sent, (std::vector<std::string>{"at@audapp:fmrx_get_rds_data()",
                                                     "at@audapp:fmrx_get_dynamic_data()"}));
  // Quick information off, RDS still on: RDS only.
  Do({"check cb_quickinfo 0"});
  Tick(1000);
  EXPECT_EQ(double_->sent, std::vector<std::string>{"at@audapp:fmrx_get_rds_data()"});
  // Both off: the timer runs on to one more tick, which finds no reason to run.
  Do({"check CheckBox_rds 0"});
  EXPECT_TRUE(panel_->Timer1->enabled());
  Tick(5000);
  EXPECT_TRUE(double_->sent.empty());
  EXPECT_FALSE(panel_->Timer1->enabled());
}

// A search polls the seek status every tick until it reads "success", then
// reads the station list once (as many entries as the count says) and
// stops; a search that failed keeps polling.
TEST_F(DruskPanelTest, AFinishedSearchFillsTheStationListOnce) {
  std::string frequencies, levels;
  for (int i = 0; i < 50; ++i) {
    frequencies += std::to_string(88100000 + i * 1800000 % 19000000) + ",";
    levels += std::to_string(-i) + " ";
  }
  Reply("fmrx_get_auto_seek_report", "3\r\n{" + frequencies + "}\r\n" + levels);
  Reply("fmrx_get_dynamic_data", DynamicReply(2));
  Do({"click btn_findstation"});
  Tick(2000);
  const std::string poll = "Get FM dynamic config|at@audapp:fmrx_get_dynamic_data()|OK";
  EXPECT_EQ(log_.Transcript(), poll + "|" + poll);
  EXPECT_TRUE(panel_->auto_seek_pending());

  Reply("fmrx_get_dynamic_data", DynamicReply(0));
  Tick(5000);
  EXPECT_EQ(log_.Transcript(),
            poll + "|Get auto seek report|at@audapp:fmrx_get_auto_seek_report()|OK");
  EXPECT_EQ(panel_->cb_station->items(),
            (std::vector<std::string>{"88100000", "89900000", "91700000"}));
  EXPECT_FALSE(panel_->auto_seek_pending());
  EXPECT_FALSE(panel_->Timer1->enabled());

  // A failed search polls on; showing the window again forgets the search.
  Reply("fmrx_get_dynamic_data", DynamicReply(1));
  Do({"click btn_findstation"});
  Tick(3000);
  EXPECT_EQ(log_.Transcript(), poll + "|" + poll + "|" + poll);
  panel_->Show();
  EXPECT_FALSE(panel_->auto_seek_pending());
  // A report of no station empties the list.
  Reply("fmrx_get_auto_seek_report", "0 " + frequencies + levels);
  Reply("fmrx_get_dynamic_data", DynamicReply(0));
  Do({"click btn_findstation"});
  services_.Advance(1000);
  EXPECT_TRUE(panel_->cb_station->items().empty());
}

// Version texts without one of their parts, or with the firmware first.
TEST(ReadoutFormatTest, VersionTextsSplitAtSwAndFw) {
  const char* const cases[][3] = {{"SW1.2 only", "SW1.2 only", ""},
                                  {"FW3.4X", "", "FW3.4"},
                                  {"FW3.4 SW1.2X", "", "FW3.4 SW1.2"}};
  for (const auto& [text, package, firmware] : cases) {
    EXPECT_EQ(gen2_panel::PackageVersionPart(text), package) << text;
    EXPECT_EQ(gen2_panel::FirmwareVersionPart(text), firmware) << text;
  }
}

}  // namespace
}  // namespace gen2_panel_test
