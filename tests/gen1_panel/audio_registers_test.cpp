// The audio, RSSI, gain, register and output handlers, driven through the
// automation interface as a user would.
#include "panel_fixture.h"

namespace {

using Ids = std::vector<uint16_t>;

// The tour pins 16384 and 0x4000 (-6.0) and 0 (a warning).
TEST_F(PanelTest, VolumeExitChecksTheRangeAndShowsTheLevelInDecibels) {
  PowerOn(false);
  const struct {
    const char* volume;
    const char* db;  // what le_db shows afterwards
    const char* dialogs;
  } cases[] = {
      {"32767", "0", ""},
      {"1", "-90.3", ""},
      {"32768", "-90.3", "Warning\tInput Value Out Of Range(1 ~ 32767)"},  // le_db keeps its text
      {"abc", "-90.3", "Warning\tInput Value Out Of Range(1 ~ 32767)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.volume);
    ASSERT_EQ(Run(std::string("type LEVolume ") + c.volume + "; leave LEVolume"), "ok; ok");
    EXPECT_EQ(Showing("LEVolume le_db"), std::string("LEVolume=") + c.volume + " le_db=" + c.db);
    EXPECT_EQ(Dialogs(), c.dialogs);
  }
  EXPECT_TRUE(host.calls.empty());

  // The radio reporting a volume above the range raises the warning while
  // the block is shown; reporting 0 shows 1.
  radio.volume = 40000;
  ASSERT_EQ(Run("click BtnReadAudio"), "ok");
  EXPECT_EQ(Showing("LEVolume le_db"), "LEVolume=40000 le_db=-90.3");
  EXPECT_EQ(Dialogs(), "Warning\tInput Value Out Of Range(1 ~ 32767)");
  radio.volume = 0;
  ASSERT_EQ(Run("click BtnReadAudio"), "ok");
  EXPECT_EQ(Showing("LEVolume le_db"), "LEVolume=1 le_db=-90.3");
}

TEST_F(PanelTest, ReadAndWriteButtonsSendTheirOperationInEachMode) {
  const struct {
    const char* button;
    const char* line;
    uint16_t receive;
    uint16_t transmit;
  } cases[] = {
      {"BtnReadAudio", "Read audio control.", 0x06, 0x18},
      {"BtnWriteAudio", "Write audio control.", 0x05, 0x15},
      {"BtnReadRSSI", "Read RSSI.", 0x08, 0x08},
      {"BtnWriteRSSI", "Write RSSI.", 0x08, 0x08},
      {"BtnReadRDS", "Read RDS.", 0x07, 0x1B},
      {"BtnWriteRDS", "Write RDS.", 0x07, 0x16},
      {"btn_gain_write", "Write Gain Control.", 0x0D, 0x0D},
      {"Btn_gain_read", "Read gain control.", 0x0E, 0x0E},
  };
  for (const bool transmit : {false, true}) {
    PowerOn(transmit);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.button);
      host.Clear();
      // From code: the RSSI group is for receiving only, yet its handlers
      // use the same operation in both modes.
      static_cast<ui::Button*>(panel.FindComponent(c.button))->Click();
      EXPECT_EQ(SentIds(), Ids{transmit ? c.transmit : c.receive});
      EXPECT_EQ(host.Transcript(), std::string(c.line) + "|Sending to mobile...|OK");
    }
    Run("click BtnFMRDisable");
  }
  // The RSSI buttons tell the radio which way the settings go.
  Run("select CBTMode Receive");
  PowerOn(false);
  ASSERT_EQ(Run("click BtnReadRSSI"), "ok");
  EXPECT_EQ(LastCall(0x08)->request.at(0), 1);
  ASSERT_EQ(Run("click BtnWriteRSSI"), "ok");
  EXPECT_EQ(LastCall(0x08)->request.at(0), 0);
}

// The tour pins a register written and read back, both histories and a
// refused odd address; here the other refused addresses and a history that
// takes an address once whatever its letter case.
TEST_F(PanelTest, RegisterAddressesAreCheckedAndBothHistoriesKeepNewestFirst) {
  PowerOn(false);
  for (const std::string address : {"0x8002", "0x8001"}) {
    SCOPED_TRACE(address);
    ASSERT_EQ(Run("type LERegAddress " + address + "; click BtnReadReg"), "ok; ok");
    EXPECT_EQ(Dialogs(), "\tThe register address is incorrect.");
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(Shown("LERegAddress"), address) << "not shown again";
  }
  for (const std::string address : {"0x0002", "0x8004", "0X8004"})
    ASSERT_EQ(Run("type LERegAddress " + address + "; click BtnReadReg"), "ok; ok");
  EXPECT_EQ(Run("items LERegAddress"), "0x8004\n0x0002");
  EXPECT_EQ(Dialogs(), "");
}

TEST_F(PanelTest, ReadAllClicksTheSevenReadsThenShowsThePmuMode) {
  PowerOn(false);
  Run("type LERegAddress 0x8740");
  for (const auto& [at_reply, shown] :
       {std::pair{"OK\n\r0x400000", "PWM"}, {"OK\n\r0x3FFFFF", "PFM"}, {"ERROR 5", "PFM"}}) {
    radio.at_reply = at_reply;
    host.Clear();
    panel.Btn_readall->Click();
    EXPECT_EQ(SentIds(), (Ids{0x03, 0x03, 0x06, 0x0E, 0x08, 0x07, 0x0C, 0}));
    EXPECT_EQ(Shown("le_pmu"), shown);
  }
  EXPECT_EQ(host.LogTexts().back(), "OK");
  // Hidden and disabled: no user reaches it.
  EXPECT_EQ(Run("click Btn_readall"), "error: Btn_readall is disabled");
}

TEST_F(PanelTest, SetOutputLogsTheDestinationAndSendsTheIndexAsAByte) {
  PowerOn(false);
  const struct {
    const char* select;  // "" for no selection
    const char* word;
    uint8_t sent;
  } cases[] = {
      {"", "backspeaker", 255}, {"Earpiece", "headset", 0}, {"Loudspeaker", "backspeaker", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    if (*c.select != '\0') Run(std::string("select CBOutput ") + c.select);
    host.Clear();
    ASSERT_EQ(Run("click btn_set_output"), "ok");
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].request.at(4), c.sent);
    EXPECT_EQ(host.Transcript(),
              std::string("Configure destination to: ") + c.word + "|Sending to mobile...|OK");
  }
}

}  // namespace
