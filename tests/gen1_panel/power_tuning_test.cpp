// Show, power, status, mode, antenna, band, range checks, tuning and seeking.
#include "common/le_bytes.h"
#include "panel_fixture.h"

namespace {

using testing_host::LogLine;

TEST_F(PanelTest, ShowAdoptsARadioThatIsReceiving) {
  radio.power_state = 1;
  radio.frequency_hz = 98100000;
  panel.Show();
  EXPECT_TRUE(panel.radioOn);
  EXPECT_EQ(panel.CBTMode->item_index(), 0);
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x23, 0x3A, 0x03}));
  EXPECT_EQ(panel.LEFrequency->text(), "98100000");
  EXPECT_TRUE(panel.BtnFMRDisable->enabled());
  EXPECT_FALSE(panel.BtnFMREnable->enabled());
}

TEST_F(PanelTest, ShowAdoptsARadioThatIsTransmitting) {
  radio.power_state = 2;
  panel.Show();
  EXPECT_TRUE(panel.radioOn);
  EXPECT_EQ(panel.CBTMode->item_index(), 1);
  EXPECT_EQ(panel.LEFrequency->text(), "87500000");  // no mode preset ran
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x23, 0x3A, 0x18}));
  EXPECT_TRUE(panel.LEFreqDeviation->visible());
}

TEST_F(PanelTest, ShowLeavesARadioThatIsOffOrSilent) {
  radio.power_state = 0;
  panel.Show();
  EXPECT_FALSE(panel.radioOn);
  EXPECT_TRUE(panel.BtnFMREnable->enabled());

  TKelboFMRGUI second(app);
  radio.power_state = 1;
  radio.status[0x3A] = 0;  // the radio-info read fails
  host.Clear();
  second.Show();
  EXPECT_FALSE(second.radioOn);
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x23, 0x3A}));
}

TEST_F(PanelTest, PowerOnReceivingPausesThenRefreshes) {
  panel.Show();
  host.Clear();
  const uint64_t before = services.NowMs();
  panel.BtnFMREnable->UserClick();
  EXPECT_TRUE(panel.radioOn);
  EXPECT_EQ(services.NowMs() - before, 300u);
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x01, 0x03}));
  EXPECT_EQ(host.LogTexts(), (std::vector<std::string>{"FMR ON", "Sending to mobile...", "OK",
                                                       "Read FM Radio current status",
                                                       "Sending to mobile...", "OK"}));
  EXPECT_EQ(panel.LReady->caption(), "Yes");
  EXPECT_TRUE(panel.BtnSeekUp->enabled());
  EXPECT_FALSE(panel.CBTMode->enabled());
}

TEST_F(PanelTest, PowerOnFailureLeavesTheRadioOff) {
  panel.Show();
  radio.status[0x11] = 0;
  panel.CBTMode->UserSelect(1);
  host.Clear();
  panel.BtnFMREnable->UserClick();
  EXPECT_FALSE(panel.radioOn);
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x11, 0x18}));
  EXPECT_TRUE(panel.BtnFMREnable->enabled());
}

TEST_F(PanelTest, PowerOffSwitchesRunningFeaturesOffFirst) {
  PowerOn(false);
  std::vector<std::string> clicked;
  for (auto [button, running] : {std::pair{panel.btn_rds, "RDS Off"},
                                 {panel.btn_rssi, "RSSI Off"},
                                 {panel.btn_chirp, "Chirp Off"},
                                 {panel.btn_test_tone, "Tone Off"}}) {
    button->SetCaption(running);
    button->OnClick = [&clicked, b = button] { clicked.push_back(b->name()); };
  }
  panel.btn_chirp->SetCaption("Chirp On");  // not running: not clicked
  panel.BtnFMRDisable->UserClick();
  EXPECT_EQ(clicked, (std::vector<std::string>{"btn_rds", "btn_rssi", "btn_test_tone"}));
  EXPECT_FALSE(panel.radioOn);
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x02}));
  EXPECT_EQ(host.log.front(), (LogLine{"FMR OFF", 1}));
  EXPECT_TRUE(panel.BtnFMREnable->enabled());
}

TEST_F(PanelTest, PowerOffFailureKeepsTheRadioOn) {
  PowerOn(true);
  panel.btn_selftest->SetEnabled(false);
  radio.status[0x12] = 0;
  panel.BtnFMRDisable->UserClick();
  EXPECT_TRUE(panel.radioOn);
  EXPECT_TRUE(panel.BtnFMRDisable->enabled());
  EXPECT_TRUE(panel.btn_selftest->enabled());  // after any transmit power-off
}

TEST_F(PanelTest, FailedRefreshShowsNotReadyAndNothingElse) {
  PowerOn(false);
  panel.LEFrequency->SetText("90000000");
  radio.status[0x03] = 0;
  panel.BtnRefresh->UserClick();
  EXPECT_EQ(panel.LReady->caption(), "No");
  EXPECT_EQ(panel.LReady->color(), ui::Label::Color::kRed);
  EXPECT_EQ(panel.LEFrequency->text(), "90000000");
  EXPECT_TRUE(panel.radioOn);

  radio.status.clear();
  panel.BtnRefresh->UserClick();
  EXPECT_EQ(panel.LReady->caption(), "Yes");
  EXPECT_EQ(panel.LReady->color(), ui::Label::Color::kGreen);
}

TEST_F(PanelTest, SeekFollowsTheFiveSteps) {
  PowerOn(false);
  panel.LEMASRSSI->SetText("30");
  panel.CBMono->SetChecked(true);
  radio.seek_up_hz = 101300000;
  panel.BtnSeekUp->UserClick();
  EXPECT_EQ(host.LogTexts(),
            (std::vector<std::string>{"Seek up station.", "Sending to mobile...", "OK"}));
  const auto* call = LastCall(0x04);
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->request[0], 1);                     // seek up
  EXPECT_EQ(le::GetS16(call->request, 8), 30);        // stored minimum RSSI
  EXPECT_EQ(call->request[10], 1);                    // stored mono flag
  EXPECT_EQ(panel.LEFrequency->text(), "101300000");  // the reply, shown

  host.Clear();
  panel.BtnSeekDown->Click();
  EXPECT_EQ(LastCall(0x04)->request[0], 2);
  EXPECT_EQ(panel.LEFrequency->text(), "86500000");
}

TEST_F(PanelTest, TransmitModeUsesTheTransmitOperations) {
  PowerOn(true);
  panel.LEFrequency->SetText("99900000");
  panel.BtnWriteFrequency->UserClick();
  panel.BtnReadFrequency->UserClick();
  panel.BtnSeekUp->Click();  // disabled for the user, still runs from code
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x13, 0x18, 0x13}));
  EXPECT_EQ(le::GetU32(host.calls[0].request, 0), 99900000u);
  EXPECT_EQ(panel.LEFrequency->text(), "99900000");
}

struct TuneCase {
  const char* name;
  int band;
  const char* from;
  bool up;
  uint32_t sent;
};

void PrintTo(const TuneCase& c, std::ostream* out) {
  *out << c.name;
}

class TuneStep : public PanelTest, public ::testing::WithParamInterface<TuneCase> {};

TEST_P(TuneStep, StepsOneChannelWithinTheBand) {
  const TuneCase& c = GetParam();
  PowerOn(false);
  panel.CBBandSelection->UserSelect(c.band);
  panel.LEFrequency->SetText(c.from);
  (c.up ? panel.BtnTuneUp : panel.BtnTuneDown)->UserClick();
  ASSERT_NE(LastCall(0x04), nullptr);
  EXPECT_EQ(LastCall(0x04)->request[0], 0);
  EXPECT_EQ(le::GetU32(LastCall(0x04)->request, 4), c.sent);
  EXPECT_EQ(panel.LEFrequency->text(), std::to_string(c.sent));
  EXPECT_EQ(host.log.front().text, c.up ? "Tune up station." : "Tune down station.");
}

const TuneCase kTuneCases[] = {
    {"UpWithinBand", 0, "98000000", true, 98100000},
    {"UpClampedToMaximum", 0, "107950000", true, 108000000},
    {"UpAtMaximumStays", 0, "108000000", true, 108000000},
    {"DownWithinBand", 1, "80000000", false, 79900000},
    {"DownAtJapaneseMinimumStays", 1, "76000000", false, 76000000},
    {"DownClampedToMinimum", 1, "76050000", false, 76000000},
};

INSTANTIATE_TEST_SUITE_P(Tuning, TuneStep, ::testing::ValuesIn(kTuneCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(PanelTest, ModeChangePresetsFrequencies) {
  panel.Show();
  panel.LEMAXFreq->SetText("95000000");
  panel.CBTMode->UserSelect(1);
  EXPECT_EQ(panel.LEFrequency->text(), "88000000");
  EXPECT_EQ(panel.LEMINFreq->text(), "87500000");
  EXPECT_EQ(panel.LEMAXFreq->text(), "95000000");
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x23, 0x3A}));  // only the reads of showing
  panel.CBTMode->UserSelect(0);
  EXPECT_EQ(panel.LEFrequency->text(), "76000000");
  EXPECT_EQ(panel.LEMINFreq->text(), "76000000");
}

TEST_F(PanelTest, BandPresetsAndManual) {
  PowerOn(false);
  panel.LEMINFreq->SetText("80000000");
  panel.CBBandSelection->UserSelect(2);
  EXPECT_TRUE(panel.LEMINFreq->enabled());
  EXPECT_EQ(panel.LEMINFreq->text(), "80000000");
  panel.CBBandSelection->UserSelect(1);
  EXPECT_EQ(panel.LEMINFreq->text(), "76000000");
  EXPECT_EQ(panel.LEMAXFreq->text(), "90000000");
  EXPECT_FALSE(panel.LEMAXFreq->enabled());
  EXPECT_EQ(params().bandMaxHz, 90000000u);  // stored, not sent
  panel.CBBandSelection->UserSelect(0);
  EXPECT_EQ(panel.LEMINFreq->text(), "87500000");
  EXPECT_EQ(panel.LEMAXFreq->text(), "108000000");
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(PanelTest, FrequencyCheckUsesTheCurrentLimits) {
  PowerOn(false);
  panel.LEMINFreq->SetText("87500000");
  panel.LEFrequency->UserType("87400000");
  panel.LEFrequency->UserLeave();
  ASSERT_EQ(services.all_messages().size(), 1u);
  EXPECT_EQ(services.all_messages()[0].text, "Input Value Out Of Range(87500000 ~ 108000000)");
  EXPECT_EQ(services.all_messages()[0].caption, "Warning");
  EXPECT_EQ(services.Focused(), panel.LEFrequency);
  EXPECT_EQ(panel.LEFrequency->text(), "87400000");
}

TEST_F(PanelTest, SecondMinimumRssiEditChecksTheFirst) {
  panel.LEMASRSSI2->SetText("500");
  panel.LEMASRSSI2->UserLeave();
  EXPECT_TRUE(services.all_messages().empty());
  panel.LEMASRSSI->SetText("-101");
  panel.LEMASRSSI2->UserLeave();
  ASSERT_EQ(services.all_messages().size(), 1u);
  EXPECT_EQ(services.all_messages()[0].text, "Input Value Out Of Range(-100 ~ 200)");
  EXPECT_EQ(services.Focused(), panel.LEMASRSSI);
}

TEST_F(PanelTest, AntennaChangeSendsTheSelection) {
  PowerOn(false);
  panel.CBAntenna->UserSelect(0);
  EXPECT_EQ(host.log.front(), (LogLine{"Set Antenna", 1}));
  ASSERT_NE(LastCall(0x0F), nullptr);
  EXPECT_EQ(LastCall(0x0F)->request, (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST_F(PanelTest, DecoderChangeGoesStraightIntoTheBlock) {
  PowerOn(false);
  panel.CBDecode->UserSelect(1);
  EXPECT_EQ(params().rdsDecoderMode, 1);
  panel.SyncParameters(true);
  EXPECT_EQ(params().rdsDecoderMode, 0xFF);
}

}  // namespace
