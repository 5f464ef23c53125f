// Initialization files keep the observable rules of the Windows profile
// functions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace {

class IniFile : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  std::string path;

  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("sonvio-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = (dir / "Sonvio.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Content() const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(platform::IniReadString(path, "S", "K", "def"), "def");
  ASSERT_TRUE(platform::IniWriteString(path, "S", "K", "1"));
  EXPECT_EQ(platform::IniReadString(path, "S", "Other", "d"), "d");
  EXPECT_EQ(platform::IniReadString(path, "T", "K", "d"), "d");
}

TEST_F(IniFile, WritesReplaceInPlaceAppendToSectionAndAddSectionsAtTheEnd) {
  ASSERT_TRUE(platform::IniWriteString(path, "FM Radio Parameters", "LEFrequency", "87500000"));
  ASSERT_TRUE(platform::IniWriteString(path, "Register_Address", "Count", "2"));
  ASSERT_TRUE(platform::IniWriteString(path, "FM Radio Parameters", "CBBand", "1"));
  ASSERT_TRUE(platform::IniWriteString(path, "fm radio parameters", "lefrequency", "90000000"));
  EXPECT_EQ(Content(),
            "[FM Radio Parameters]\r\nLEFrequency=90000000\r\nCBBand=1\r\n"
            "[Register_Address]\r\nCount=2\r\n");
  EXPECT_EQ(platform::IniReadString(path, "FM RADIO PARAMETERS", "CBBAND", ""), "1");
}

TEST_F(IniFile, ReadsTrimAndUnquoteAndIgnoreCommentsAndForeignLines) {
  std::ofstream(path) << "; comment\n[A]\n  key =  \"quoted value\"  \nnoise line\n"
                         "[B]\nkey=other\n";
  EXPECT_EQ(platform::IniReadString(path, "A", "key", ""), "quoted value");
  EXPECT_EQ(platform::IniReadString(path, "B", "key", ""), "other");
}

TEST_F(IniFile, BareNameLivesInTheSettingsFolderAndWritesLeaveNoTemporaryFile) {
  setenv("SONVIO_CONFIG_DIR", (dir / "cfg").string().c_str(), 1);
  EXPECT_EQ(platform::IniResolvePath("Sonvio.ini"), (dir / "cfg" / "Sonvio.ini").string());
  ASSERT_TRUE(platform::IniWriteString("Sonvio.ini", "S", "K", "V"));
  EXPECT_EQ(platform::IniReadString("Sonvio.ini", "S", "K", ""), "V");
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir / "cfg"))
    ++files;
  EXPECT_EQ(files, 1u);
  unsetenv("SONVIO_CONFIG_DIR");
}

TEST_F(IniFile, UnwritableLocationFailsCleanly) {
  EXPECT_FALSE(platform::IniWriteString("/proc/sonvio-no/x.ini", "S", "K", "V"));
}

}  // namespace
