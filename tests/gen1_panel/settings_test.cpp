// Save and Load of the panel's settings, the register histories kept in the
// settings file, and a save that fails.
#include "panel_fixture.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace {

// A panel whose settings folder is a folder of the test's own.
class SettingsTest : public PanelTest {
 protected:
  std::string File() const { return folder_.Read("Sonvio.ini"); }
  void WriteFile(const std::string& text) const { folder_.Write("Sonvio.ini", text); }

  testing_files::TestFolder folder_{"SONVIO_CONFIG_DIR"};
};

// Every saved kind, set away from its default.
constexpr char kChanged[] =
    "LEVolume=1234 CBMute=1 CBOutputPath=1 RGDeEmphasis=1 LESMSS=9 le_db=-3.5 "
    "cb_ptc=-1 CBTMode=1 CBLNAGain=4 LEPSN=RADIO CBFreqMute=1";

TEST_F(SettingsTest, SaveThenLoadRestoresEverySavedControlWithoutRadioTraffic) {
  PowerOn(false);
  SetControls(std::string(kChanged) + " LERegData=0x1");
  ASSERT_EQ(Run("click btn_save"), "ok");  // its log line is pinned by the tour
  // Keys appear in component order, selectors by index, boxes as 1 or 0.
  EXPECT_NE(File().find("[FM Radio Parameters]\r\nLEVolume=1234\r\nCBMute=1\r\nCBSNC=0\r\n"),
            std::string::npos);
  EXPECT_NE(File().find("\r\nLERegAddress=-1\r\nLERegData=-1\r\nCBOutput=-1\r\n"),
            std::string::npos)
      << "typed text of the register selectors is not saved";

  SetControls(
      "LEVolume=5 CBMute=0 CBOutputPath=0 RGDeEmphasis=0 LESMSS=1 le_db=x cb_ptc=3 "
      "CBTMode=0 CBLNAGain=0 LEPSN=A CBFreqMute=0");
  host.Clear();
  ASSERT_EQ(Run("click btn_load"), "ok");
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(Showing(kChanged), kChanged);
  // The transmit mode came back without any traffic; the next operation
  // uses the transmit operation.
  ASSERT_EQ(Run("click BtnReadFrequency"), "ok");
  EXPECT_EQ(SentIds(), (std::vector<uint16_t>{0x18}));
}

TEST_F(SettingsTest, LoadRunsCheckBoxHandlersButNotSelectorHandlersAndClearsBadIndexes) {
  PowerOn(true);
  Run("type LEPilotDeviation 6750");
  WriteFile(
      "[FM Radio Parameters]\r\nCBPilot=1\r\nCBBandSelection=0\r\nLEMINFreq=1\r\n"
      "CBSideband=7\r\nCBDecode=$1\r\nCBAntenna=12abc\r\nRGPreEmphasis=1\r\n"
      "LEPilotDeviation=6750\r\nLEFreqDeviation=75000\r\n");
  ASSERT_EQ(Shown("CBPilot"), "0");
  host.Clear();
  ASSERT_EQ(Run("click btn_load"), "ok");
  // The pilot's handler ran; the band preset did not overwrite the limit;
  // no antenna or decoder traffic; out-of-range and non-numbers clear.
  EXPECT_EQ(Showing("CBPilot LEFreqDeviation CBBandSelection LEMINFreq CBSideband CBDecode "
                    "CBAntenna RGPreEmphasis"),
            "CBPilot=1 LEFreqDeviation=68250 CBBandSelection=0 LEMINFreq=1 CBSideband=-1 "
            "CBDecode=1 CBAntenna=-1 RGPreEmphasis=1");
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(SettingsTest, HistoriesLoadOnShowAndTheTenNewestSaveOnClose) {
  WriteFile(
      "[Register_Address]\r\n0=0x0010\r\n2=0x0020\r\n5=0x8004\r\n9=0x0030\r\n"
      "[Register_Data]\r\n1=0x00000001\r\n");
  panel.Show();
  EXPECT_EQ(Run("items LERegAddress; items LERegData"),
            "0x0010\n0x0020\n0x8004\n0x0030; 0x00000001");

  // A fresh file with three new entries: keys 0 to 2 change, 3 to 9 stay.
  WriteFile("[Register_Address]\r\n3=0x0040\r\n4=0x0050\r\n");
  panel.LERegAddress->SetItems({"0x0002", "0x0004", "0x0006"});
  panel.LERegData->SetItems({});
  panel.Close();
  EXPECT_EQ(File(),
            "[Register_Address]\r\n3=0x0040\r\n4=0x0050\r\n0=0x0002\r\n1=0x0004\r\n"
            "2=0x0006\r\n");
  gen1_panel::TKelboFMRGUI reopened(app, host.Context(services));
  reopened.Show();

  reopened.LERegAddress->SetItems({"0x0010", "0x0011", "0x0012", "0x0013", "0x0014", "0x0015",
                                   "0x0016", "0x0017", "0x0018", "0x0019", "0x0020", "0x0021"});
  reopened.Close();
  EXPECT_EQ(File().find("0x0020"), std::string::npos) << "only the ten newest are saved";
  EXPECT_NE(File().find("9=0x0019\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AFailedSaveSaysSoInsteadOfClaimingSuccess) {
  panel.Show();
  // A folder where the file goes.
  std::filesystem::create_directories(folder_.path() / "Sonvio.ini");
  host.Clear();
  ASSERT_EQ(Run("click btn_save"), "ok");
  EXPECT_EQ(host.Transcript(), "!FM Radio settings could not be written to " +
                                   (folder_.path() / "Sonvio.ini").string() + ".");
}

// A settings file at the size limit takes the save; one beyond it is
// refused with the reason and left byte for byte as it was: never cut to
// the limit and rewritten.
TEST_F(SettingsTest, ASettingsFileBeyondTheSizeLimitIsRefusedAndLeftWhole) {
  panel.Show();
  const std::string path = (folder_.path() / "Sonvio.ini").string();
  const struct {
    size_t size;
    std::string transcript;
  } cases[] = {
      {platform::kIniFileMostBytes - 4096, "FM Radio settings saved."},
      {platform::kIniFileMostBytes + (1u << 20),
       "!FM Radio settings could not be written to " + path + ": the file is larger than 4 MiB."},
  };
  for (const auto& c : cases) {
    std::string text = "[Filler]\r\n";
    for (int key = 0; text.size() < c.size; ++key)
      text += "Key" + std::to_string(key) + "=" + std::string(100, 'v') + "\r\n";
    text.resize(c.size - 2);
    text += "\r\n";
    WriteFile(text);
    host.Clear();
    SetControls("LEVolume=1234");
    host.Clear();
    ASSERT_EQ(Run("click btn_save"), "ok");
    EXPECT_EQ(host.Transcript(), c.transcript) << c.size;
    const std::string after = File();
    if (c.size <= platform::kIniFileMostBytes) {
      EXPECT_EQ(after.substr(0, text.size()), text);
      EXPECT_NE(after.find("LEVolume=1234\r\n", text.size()), std::string::npos);
    } else {
      EXPECT_TRUE(after == text) << "the file changed: " << after.size() << " bytes";
    }
  }
}

}  // namespace
