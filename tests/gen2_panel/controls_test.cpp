// The panel's controls and their defaults, and what opening the window does.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

using testing_form::Captions;

TEST_F(DruskPanelTest, ControlsStartWithTheirDefaults) {
  const std::string defaults =
      "cb_dspmode=0 cb_audiooutput=-1 cb_antenna=-1 cb_band=-1 rg_deemphasis=-1 cb_stepsize= "
      "le_rssi=0 cb_wrap=0 cb_station=-1 cb_sideband=2 cb_forcemono=0 cb_agc=0 cb_gaincontrol=0 "
      "cb_snc=0 cb_softmute=0 e_lvol=0 cb_volume=0 cb_mute=0 cb_rssi=0 cb_rds=0 le_rds=1000 "
      "CheckBox_rds=0 cb_quickinfo=0 l1= LData= l_rx_ver=";
  EXPECT_EQ(Showing(defaults), defaults);
  EXPECT_EQ(Captions(*panel_,
                     "btn_onoff cb_dspmode btn_set_station btn_seekup cb_wrap btn_findstation "
                     "cb_forcemono cb_agc cb_snc cb_softmute cb_volume cb_mute btn_volume cb_rssi "
                     "CheckBox_rds cb_quickinfo btn_readall btn_reset btn_writeall"),
            "On|Force DSP Mode|Set Frequency|Seek Up|Wrap|Find Stations|Force Mono|AGC|Enable "
            "SNC|Soft Mute|Left = Right|Mute|Set Volume|Enable|Subscribe|Subscribe|Read All|Reset "
            "All|Write All|");
  const std::pair<const char*, const char*> items[] = {
      {"cb_audiooutput", "Headset\nEar Piece\nLoud Speaker\nunconfig"},
      {"cb_antenna", "Internal\nExternal"},
      {"cb_band", "Manual\nJapan\nUS\nEurope"},
      {"rg_deemphasis", "50 us\n75 us"},
      {"cb_stepsize", "50KHz\n100KHz\n200KHz"},
      {"cb_sideband", "High\nLow\nAuto"},
      {"cb_rds", "RDS\nR(B)DS\nMMBS"},
      {"cb_gaincontrol", "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15"}};
  for (const auto& [name, list] : items) EXPECT_EQ(Get(std::string("items ") + name), list);
  EXPECT_EQ(Get("get MData"), "kind=Memo enabled=1 visible=1 lines=0");
  EXPECT_EQ(Get("get Timer1"), "kind=Timer enabled=0 visible=0 interval=1000");
}

TEST_F(DruskPanelTest, ShowingTheWindowHidesTheTransmitterPageAndSendsNothing) {
  EXPECT_NE(Get("get ts_fmtx").find("visible=0"), std::string::npos);
  EXPECT_NE(Get("get ts_fmrx").find("caption=\"FM RX\""), std::string::npos);
  EXPECT_NE(Get("get PageControl1").find("page=\"ts_fmrx\""), std::string::npos);
  EXPECT_EQ(double_->CallCount("TESSIC_SessionOpen"), 1);
  EXPECT_FALSE(panel_->auto_seek_pending());
  Do({"click btn_reset", "click btn_writeall"});  // these two do nothing
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(LogTexts().empty());
}

}  // namespace
}  // namespace gen2_panel_test
