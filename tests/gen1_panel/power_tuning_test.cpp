// Adopting a radio that is on when shown, and the range checks of the edits.
#include "panel_fixture.h"

namespace {

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

}  // namespace
