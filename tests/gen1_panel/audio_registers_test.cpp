// The volume edit's range check and the register address rule, driven
// through the automation interface as a user would.
#include "panel_fixture.h"

namespace {

// The tour pins 16384 and 0x4000 (-6.0) and 0 (a warning).
TEST_F(PanelTest, VolumeExitChecksTheRangeAndShowsTheLevelInDecibels) {
  PowerOn(false);
  const std::string warning = "Warning\tInput Value Out Of Range(1 ~ 32767)";
  // What LEVolume and le_db show after a volume typed and left (le_db keeps
  // its text on a warning), or read from the radio: above the range it
  // warns while the block is shown; 0 shows as 1.
  // clang-format off
  const struct { const char* commands; uint16_t radio_volume; const char* shown; std::string dialogs; } cases[] = {
      {"type LEVolume 32767; leave LEVolume", 0, "LEVolume=32767 le_db=0", ""},
      {"type LEVolume 1; leave LEVolume", 0, "LEVolume=1 le_db=-90.3", ""},
      {"type LEVolume 32768; leave LEVolume", 0, "LEVolume=32768 le_db=-90.3", warning},
      {"type LEVolume abc; leave LEVolume", 0, "LEVolume=abc le_db=-90.3", warning},
      {"click BtnReadAudio", 40000, "LEVolume=40000 le_db=-90.3", warning},
      {"click BtnReadAudio", 0, "LEVolume=1 le_db=-90.3", ""}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.commands);
    radio.volume = c.radio_volume;
    ASSERT_EQ(Run(c.commands).find("error"), std::string::npos);
    EXPECT_EQ(Showing("LEVolume le_db"), c.shown);
    EXPECT_EQ(Dialogs(), c.dialogs);
    EXPECT_TRUE(c.commands[0] != 't' || host.calls.empty()) << "a typed volume sends nothing";
  }
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
  EXPECT_EQ(Run("items LERegAddress; items LERegData"), "0x8004\n0x0002; ") << "reads add no data";
  ASSERT_EQ(Run("type LERegData 0x1; click BtnWriteReg; items LERegData"), "ok; ok; 0x00000001");
  EXPECT_EQ(Dialogs(), "");
}

}  // namespace
