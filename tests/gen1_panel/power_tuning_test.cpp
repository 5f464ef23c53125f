// Show, power, status, mode, antenna, band, range checks, tuning and seeking.
#include "common/le_bytes.h"
#include "panel_fixture.h"

namespace {

using testing_host::LogLine;
using Ids = std::vector<uint16_t>;

TEST_F(PanelTest, ShowAdoptsARadioThatIsOnAndLeavesOneThatIsOffOrSilent) {
  const struct {
    uint32_t power_state;
    uint16_t info_status;
    Ids sent;
    const char* shown;
  } cases[] = {{1, 1, {0x23, 0x3A, 0x03}, "CBTMode=0 LEFrequency=98100000"},
               {2, 1, {0x23, 0x3A, 0x18}, "CBTMode=1 LEFrequency=98100000"},
               {0, 1, {0x23, 0x3A}, "CBTMode=0 LEFrequency=76000000"},
               {1, 0, {0x23, 0x3A}, "CBTMode=0 LEFrequency=76000000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    radio.power_state = c.power_state;
    radio.frequency_hz = 98100000;
    radio.status[0x3A] = c.info_status;
    TKelboFMRGUI fresh(app, host.Context(services));
    host.Clear();
    fresh.Show();
    const bool on = c.power_state != 0 && c.info_status == 1;
    EXPECT_EQ(fresh.radioOn, on);
    EXPECT_EQ(SentIds(), c.sent);
    EXPECT_EQ(testing_form::Showing(fresh, c.shown), c.shown);
    EXPECT_EQ(testing_form::Enabled(fresh, "BtnFMREnable BtnFMRDisable"), on ? "01" : "10");
    EXPECT_EQ(fresh.LEFreqDeviation->visible(), c.power_state == 2);
  }
}

TEST_F(PanelTest, PowerOnPausesAndAFailedPowerOnOrOffKeepsThePowerState) {
  panel.Show();
  radio.status[0x11] = 0;
  panel.CBTMode->UserSelect(1);
  host.Clear();
  panel.BtnFMREnable->UserClick();
  EXPECT_FALSE(panel.radioOn);
  EXPECT_EQ(SentIds(), (Ids{0x11, 0x18}));
  EXPECT_TRUE(panel.BtnFMREnable->enabled());

  radio.status.clear();
  const uint64_t before = services.NowMs();
  PowerOn(true);
  EXPECT_EQ(services.NowMs() - before, 300u) << "the pause after a power-on";
  panel.btn_selftest->SetEnabled(false);
  radio.status[0x12] = 0;
  panel.BtnFMRDisable->UserClick();
  EXPECT_TRUE(panel.radioOn);
  EXPECT_EQ(Enabled("BtnFMRDisable btn_selftest"), "11");  // self test: after any power-off
}

TEST_F(PanelTest, PowerOffSwitchesRunningFeaturesOffFirst) {
  PowerOn(false);
  std::vector<std::string> clicked;
  for (auto [button, running] : {std::pair{panel.btn_rds, "RDS Off"},
                                 {panel.btn_rssi, "RSSI Off"},
                                 {panel.btn_chirp, "Chirp On"},  // not running: not clicked
                                 {panel.btn_test_tone, "Tone Off"}}) {
    button->SetCaption(running);
    button->OnClick = [&clicked, b = button] { clicked.push_back(b->name()); };
  }
  panel.BtnFMRDisable->UserClick();
  EXPECT_EQ(clicked, (std::vector<std::string>{"btn_rds", "btn_rssi", "btn_test_tone"}));
  EXPECT_FALSE(panel.radioOn);
  EXPECT_EQ(SentIds(), (Ids{0x02}));
  EXPECT_EQ(host.log.front(), (LogLine{"FMR OFF", 1}));
  EXPECT_TRUE(panel.BtnFMREnable->enabled());
}

TEST_F(PanelTest, FailedRefreshShowsNotReadyAndNothingElse) {
  PowerOn(false);
  SetControls("LEFrequency=90000000");
  radio.status[0x03] = 0;
  panel.BtnRefresh->UserClick();
  EXPECT_EQ(Showing("LReady LEFrequency"), "LReady=No LEFrequency=90000000");
  EXPECT_EQ(panel.LReady->color(), ui::Label::Color::kRed);
  EXPECT_TRUE(panel.radioOn);
  radio.status.clear();
  panel.BtnRefresh->UserClick();
  EXPECT_EQ(panel.LReady->color(), ui::Label::Color::kGreen);
}

// The tour seeks both ways and pins the log lines; here the settings sent.
TEST_F(PanelTest, SeekSendsTheStoredSettingsAndShowsTheStationFound) {
  PowerOn(false);
  SetControls("LEMASRSSI=30 CBMono=1");
  radio.seek_up_hz = 101300000;
  panel.BtnSeekUp->UserClick();
  const auto* call = LastCall(0x04);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->request[0], 1);               // seek up
  EXPECT_EQ(le::GetS16(call->request, 8), 30);  // stored minimum RSSI
  EXPECT_EQ(call->request[10], 1);              // stored mono flag
  EXPECT_EQ(Shown("LEFrequency"), "101300000");
}

// Tuning steps and the band presets' values are checked end to end by the
// first-generation tour; here what the tour cannot see.
TEST_F(PanelTest, TuningSendsATuneAndPresetsAreStoredWithoutSending) {
  panel.Show();
  panel.CBTMode->UserSelect(1);
  panel.CBTMode->UserSelect(0);
  EXPECT_EQ(Shown("LEFrequency"), "76000000");
  PowerOn(false);
  panel.CBBandSelection->UserSelect(0);
  EXPECT_EQ(params().bandMinHz, 87500000u);
  EXPECT_TRUE(host.calls.empty());

  SetControls("LEFrequency=87550000");
  panel.BtnTuneDown->UserClick();  // clamped to the band's lower edge
  ASSERT_NE(LastCall(0x04), nullptr);
  EXPECT_EQ(LastCall(0x04)->request[0], 0);
  EXPECT_EQ(le::GetU32(LastCall(0x04)->request, 4), 87500000u);
  EXPECT_EQ(host.log.front().text, "Tune down station.");
}

// A value outside an edit's limits (a band's limits as they are now) warns
// when the edit is left, focuses it, keeps its text and sends nothing.
TEST_F(PanelTest, RangeChecksWarnWithTheCurrentLimitsAndFocusTheEdit) {
  PowerOn(false);
  SetControls("LEMINFreq=87500000");
  const struct {
    const char* edit;
    const char* bad;
    const char* good;
    const char* limits;
  } cases[] = {{"LEFrequency", "87400000", "87500000", "87500000 ~ 108000000"},
               {"LESNCStep", "32768", "0", "0 ~ 32767"},
               {"LESNCLowThreshold", "-101", "200", "-100 ~ 200"},
               {"LESNCHighThreshold", "201", "-100", "-100 ~ 200"},
               {"LESMSS", "-1", "32767", "0 ~ 32767"},
               {"LESMThreshold", "300", "0", "-100 ~ 200"},
               {"LELFreq", "25000", "20000", "1 ~ 20000"},
               {"LERFreq", "0", "1", "1 ~ 20000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edit);
    const std::string edit = c.edit;
    EXPECT_EQ(Run("type " + edit + " " + c.bad + "; leave " + edit), "ok; ok");
    EXPECT_EQ(Dialogs(), std::string("Warning\tInput Value Out Of Range(") + c.limits + ")");
    EXPECT_EQ(services.Focused(), panel.FindComponent(edit));
    EXPECT_EQ(Shown(edit), c.bad);
    Run("type " + edit + " " + c.good + "; leave " + edit);
    EXPECT_EQ(Dialogs(), "");
  }
  // The second minimum-RSSI edit (for transmitting, so left from code)
  // checks the first.
  SetControls("LEMASRSSI2=500");
  panel.LEMASRSSI2->UserLeave();
  EXPECT_EQ(Dialogs(), "");
  SetControls("LEMASRSSI=-101");
  panel.LEMASRSSI2->UserLeave();
  EXPECT_EQ(Dialogs(), "Warning\tInput Value Out Of Range(-100 ~ 200)");
  EXPECT_EQ(services.Focused(), panel.LEMASRSSI);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(PanelTest, AntennaGoesOutAtOnceAndTheDecoderStraightIntoTheBlock) {
  PowerOn(false);
  panel.CBAntenna->UserSelect(0);
  EXPECT_EQ(host.log.front(), (LogLine{"Set Antenna", 1}));
  ASSERT_NE(LastCall(0x0F), nullptr);
  EXPECT_EQ(LastCall(0x0F)->request, (std::vector<uint8_t>{0, 0, 0, 0}));

  panel.CBDecode->UserSelect(1);
  EXPECT_EQ(params().rdsDecoderMode, 1);
  panel.SyncParameters(true);
  EXPECT_EQ(params().rdsDecoderMode, 0xFF);
}

}  // namespace
