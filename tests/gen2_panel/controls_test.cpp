// The controls' defaults, and what opening the window does.
#include "panel_fixture.h"

namespace gen2_panel_test {
namespace {

TEST_F(DruskPanelTest, OpeningShowsTheDefaultsAndTheReceiverPageOnly) {
  const std::string defaults =
      "cb_dspmode=0 cb_audiooutput=-1 cb_antenna=-1 cb_band=-1 rg_deemphasis=-1 cb_stepsize= "
      "le_rssi=0 cb_wrap=0 cb_station=-1 cb_sideband=2 cb_forcemono=0 cb_agc=0 cb_gaincontrol=0 "
      "cb_snc=0 cb_softmute=0 e_lvol=0 cb_volume=0 cb_mute=0 cb_rssi=0 cb_rds=0 le_rds=1000 "
      "CheckBox_rds=0 cb_quickinfo=0 l1= LData= l_rx_ver=";
  EXPECT_EQ(Showing(defaults), defaults);
  // Showing the window hides the transmitter page and sends nothing.
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
