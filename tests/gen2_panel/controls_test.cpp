// The panel's controls and their defaults as the automation interface
// reports them, and what opening the window does.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

struct Default {
  const char* name;
  const char* state;  // expected part of the `get` reply after kind=... enabled=1 visible=1
};

TEST_F(DruskPanelTest, EveryControlStartsWithItsDefault) {
  const Default defaults[] = {
      {"btn_onoff", "kind=Button enabled=1 visible=1 caption=\"On\""},
      {"cb_dspmode", "kind=CheckBox enabled=1 visible=1 caption=\"Force DSP Mode\" checked=0"},
      {"cb_audiooutput", "kind=ComboBox enabled=1 visible=1 text=\"\" index=-1 items=4"},
      {"cb_antenna", "kind=ComboBox enabled=1 visible=1 text=\"\" index=-1 items=2"},
      {"cb_band", "kind=ComboBox enabled=1 visible=1 text=\"\" index=-1 items=4"},
      {"rg_deemphasis", "index=-1 items=2"},
      {"cb_stepsize", "kind=ComboBox enabled=1 visible=1 text=\"\" index=-1 items=3"},
      {"le_rssi", "text=\"0\""},
      {"btn_set_station", "caption=\"Set Frequency\""},
      {"btn_seekup", "caption=\"Seek Up\""},
      {"cb_wrap", "caption=\"Wrap\" checked=0"},
      {"cb_station", "text=\"\" index=-1 items=0"},
      {"btn_findstation", "caption=\"Find Stations\""},
      {"cb_sideband", "text=\"Auto\" index=2 items=3"},
      {"cb_forcemono", "caption=\"Force Mono\" checked=0"},
      {"cb_agc", "caption=\"AGC\" checked=0"},
      {"cb_gaincontrol", "text=\"0\" index=0 items=16"},
      {"cb_snc", "caption=\"Enable SNC\" checked=0"},
      {"cb_softmute", "caption=\"Soft Mute\" checked=0"},
      {"e_lvol", "kind=Edit enabled=1 visible=1 text=\"0\""},
      {"cb_volume", "caption=\"Left = Right\" checked=0"},
      {"cb_mute", "caption=\"Mute\" checked=0"},
      {"btn_volume", "caption=\"Set Volume\""},
      {"cb_rssi", "caption=\"Enable\" checked=0"},
      {"cb_rds", "text=\"RDS\" index=0 items=3"},
      {"le_rds", "text=\"1000\""},
      {"CheckBox_rds", "caption=\"Subscribe\" checked=0"},
      {"cb_quickinfo", "caption=\"Subscribe\" checked=0"},
      {"l1", "kind=Label enabled=1 visible=1 caption=\"\""},
      {"LData", "kind=Edit enabled=1 visible=1 text=\"\""},
      {"MData", "kind=Memo enabled=1 visible=1 lines=0"},
      {"l_rx_ver", "caption=\"\""},
      {"btn_readall", "caption=\"Read All\""},
      {"btn_reset", "caption=\"Reset All\""},
      {"btn_writeall", "caption=\"Write All\""},
      {"Timer1", "kind=Timer enabled=0 visible=0 interval=1000"},
  };
  for (const Default& d : defaults) {
    EXPECT_NE(Get(std::string("get ") + d.name).find(d.state), std::string::npos)
        << d.name << ": " << Get(std::string("get ") + d.name);
  }
  EXPECT_EQ(Get("items cb_audiooutput"), "Headset\nEar Piece\nLoud Speaker\nunconfig");
  EXPECT_EQ(Get("items cb_antenna"), "Internal\nExternal");
  EXPECT_EQ(Get("items cb_band"), "Manual\nJapan\nUS\nEurope");
  EXPECT_EQ(Get("items rg_deemphasis"), "50 us\n75 us");
  EXPECT_EQ(Get("items cb_stepsize"), "50KHz\n100KHz\n200KHz");
  EXPECT_EQ(Get("items cb_sideband"), "High\nLow\nAuto");
  EXPECT_EQ(Get("items cb_rds"), "RDS\nR(B)DS\nMMBS");
}

TEST_F(DruskPanelTest, ShowingTheWindowHidesTheTransmitterPageAndSendsNothing) {
  EXPECT_NE(Get("get ts_fmtx").find("visible=0"), std::string::npos);
  EXPECT_NE(Get("get ts_fmrx").find("caption=\"FM RX\""), std::string::npos);
  EXPECT_NE(Get("get PageControl1").find("page=\"ts_fmrx\""), std::string::npos);
  EXPECT_EQ(double_->CallCount("TESSIC_SessionOpen"), 1);
  EXPECT_TRUE(Sent().empty());
  EXPECT_FALSE(panel_->auto_seek_pending());
}

TEST_F(DruskPanelTest, ResetAndWriteAllDoNothing) {
  Do({"click btn_reset", "click btn_writeall"});
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(LogTexts().empty());
}

}  // namespace
}  // namespace gen2_panel_test
