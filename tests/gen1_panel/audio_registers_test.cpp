// The volume edit's range check and the register address rule, driven
// through the automation interface as a user would.
#include "panel_fixture.h"

namespace {

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
  EXPECT_EQ(Run("items LERegData"), "") << "reads add no data";
  ASSERT_EQ(Run("type LERegData 0x1; click BtnWriteReg; items LERegData"), "ok; ok; 0x00000001");
  EXPECT_EQ(Dialogs(), "");
}

}  // namespace
