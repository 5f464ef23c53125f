// Conversions and radix formatting shared by the panels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "common/convert.h"
#include "common/format.h"
#include "common/help_keyword.h"
#include "common/version_caption.h"
#include "platform/platform.h"
#include "platform/version_marker.h"
#include "test_folder.h"

namespace {

// Any character not a decimal digit counts as its code - 55 ("@" is 9).
struct HexCase {
  const char* text;
  int8_t count;
  uint32_t value;
};

TEST(HexToInt, ScansAtMostCountDigitsAndStopsAtTheFirstNonDigit) {
  const HexCase cases[] = {
      {"1f", 2, 0x1F},
      {"1G", 2, 1},
      {"12345", 4, 0x1234},
      {"12345", 0, 0},
      {"ab", 9, 0xAB},
      {"AbCdEf", 6, 0xABCDEF},
      {"123456789", 9, 0x23456789},
      {"FFFFFFFF", 8, 0xFFFFFFFF},
      {"@1", 9, 0x91},
      {"/1", 9, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HexToInt(c.text, c.count), c.value) << c.text << " " << int{c.count};
  EXPECT_EQ(HexToInt("12345", -1), 0u);
  EXPECT_EQ(HexToInt(nullptr, 8), 0u);
}

// Edit fields and integers of initialization files follow one rule; an
// initialization file's value is unquoted first, and its caller's default
// stands for a missing key or a text that is not a number.
TEST(TextToInt, FollowsTheEditFieldRulesAlsoInInitializationFiles) {
  const std::optional<int32_t> none;
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"123", 123},         {"  -45", -45},       {"0x1F", 31},
      {"$ff", 255},         {"0xFFFFFFFF", -1},   {"-2147483648", INT32_MIN},
      {"12a", none},        {"2147483648", none}, {"0x100000000", none},
      {"4294967297", none}, {"abc", none},        {"", none},
  };
  const testing_files::TestFolder folder;
  std::string text = "[S]\r\nquoted=\"7\"\r\n";
  for (size_t i = 0; i < std::size(cases); ++i)
    text += "k" + std::to_string(i) + "=" + cases[i].first + "\r\n";
  folder.Write("integers.ini", text);
  const platform::IniFile ini((folder.path() / "integers.ini").string());
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].first);
    EXPECT_EQ(TextToInt(cases[i].first), cases[i].second);
    EXPECT_EQ(ReadIniInteger(ini, "S", "k" + std::to_string(i), -7), cases[i].second.value_or(-7));
  }
  EXPECT_EQ(ReadIniInteger(ini, "S", "quoted", 0), 7);
  EXPECT_EQ(ReadIniInteger(ini, "S", "missing", -1), -1);
}

struct NumberCase {
  uint32_t value;
  int8_t radix;
  int8_t width;
  uint8_t as_short;
  const char* expected;
};

TEST(FormatNumber, EveryRadixRule) {
  const NumberCase cases[] = {
      {0xFFFF, 10, 0, 1, "-1"},
      {0x8000, 10, 3, 1, "-32768"},
      {0x7FFF, 10, 0, 1, "32767"},
      {0x12345, 10, 0, 1, "9029"},
      {0xFFFF, 10, 0, 0, "65535"},
      {0xFFFFFFFF, 10, 2, 0, "4294967295"},
      {5, 16, 0, 0, ""},
      {0xAB, 16, -1, 0, ""},
      {0x1FF, 16, 2, 0, "FF"},
      {0xAB, 16, 4, 0, "00AB"},
      {0xDEADBEEF, 16, 8, 0, "DEADBEEF"},
      {0, 16, 1, 0, "0"},
      {5, 2, 8, 0, "00000101"},
      {5, 2, 0, 0, ""},
      {0xFF, 2, 4, 0, "1111"},
      {6, 2, 3, 1, "110"},
      {7, 8, 4, 0, "0007"},
      {100, 3, 2, 0, "01"},
      {255, 15, 3, 0, "120"},
      {10, 11, 2, 0, "0A"},
      {0, 8, 3, 0, "000"},
      {0xAB, 12, 0, 0, ""},
      {9, 9, -2, 0, ""},
      {7, 1, 4, 0, "INVALID DATA"},
      {7, 17, 4, 0, "INVALID DATA"},
      {7, 0, 4, 0, "INVALID DATA"},
      {7, -2, 4, 0, "INVALID DATA"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.radix, c.width, c.as_short), c.expected)
        << c.value << " radix " << int{c.radix} << " width " << int{c.width};
  }
  EXPECT_EQ(RepeatChar('x', 3), "xxx");
  EXPECT_EQ(RepeatChar('x', 0), "");
  EXPECT_EQ(RepeatChar('x', -1), "");
}

TEST(FormatRegister, HexAndNibbleForms) {
  const struct {
    int16_t value;
    const char* hex;
    const char* nibbles;
    const char* wide;
  } cases[] = {
      {0x1A2B, "0x1A2B ", "0x1 0xA 0x2 0xB", "   0x1    0xA    0x2    0xB"},
      {-1, "0xFFFF ", "0xF 0xF 0xF 0xF", "   0xF    0xF    0xF    0xF"},
      {0, "0x0000 ", "0x0 0x0 0x0 0x0", "   0x0    0x0    0x0    0x0"},
      {-32768, "0x8000 ", "0x8 0x0 0x0 0x0", "   0x8    0x0    0x0    0x0"},
      {0x00C5, "0x00C5 ", "0x0 0x0 0xC 0x5", "   0x0    0x0    0xC    0x5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatRegisterHex(c.value), c.hex);
    EXPECT_EQ(FormatRegisterNibbles(c.value), c.nibbles);
    EXPECT_EQ(FormatRegisterNibblesWide(c.value), c.wide);
  }
}

TEST(HelpKeyword, EveryEntryAndTheEmptyOneOutsideTheTable) {
  const std::string base = "SonvioHelp.chm::/SonvioHelp/Sonvio.html#";
  const char* anchors[] = {"SONVIO",       "FREQ_TUN",         "AUDIO_CONTROL",
                           "RSSI_CONTROL", "RDS_CONTROL",      "Gain_Control",
                           "PMU_Control",  "Register_Control", "Audio_Output"};
  EXPECT_EQ(HelpKeyword(0), "");
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(HelpKeyword(i), base + anchors[i - 1]) << i;
  for (const int outside : {-1, 10, INT32_MIN, INT32_MAX}) EXPECT_EQ(HelpKeyword(outside), "");
}

// The caption comes from the version block of the named file in the program
// folder: product name, then " - Version: " and the file version when there
// is one; without a block, the fallback text.
TEST(VersionCaption, ProductAndFileVersionOfTheNamedFile) {
  const testing_files::TestFolder program("SONVIO_PROGRAM_DIR");
  // A file holding a version block: "key|value|..." with '|' for the zeros.
  auto block = [](std::string pairs) {
    std::replace(pairs.begin(), pairs.end(), '|', '\0');
    return std::string(
               "\x7f"
               "ELF\0\0",
               6) +
           platform::VersionMarker() + pairs + '\0';
  };
  const struct {
    std::optional<std::string> file;
    const char* caption;
  } cases[] = {
      {block("Translation|040904b0|ProductName|Sonvio|FileVersion|6.1.2.3|"),
       "Sonvio - Version: 6.1.2.3"},
      {block("Translation|041104e4|FileVersion|2.0|ProductName|Kelbo|"), "Kelbo - Version: 2.0"},
      {block("Translation|040904b0|ProductName|Sonvio|"), "Sonvio"},
      {block("Translation|040904b0|ProductName|Sonvio|FileVersion||"), "Sonvio"},
      {"no version block", "About: No version information available."},
      {std::nullopt, "About: No version information available."},
  };
  program.Write("Other.dll", block("Translation|040904b0|ProductName|Other|"));
  for (const auto& c : cases) {
    std::filesystem::remove(program.path() / "Sonvio.dll");
    if (c.file) program.Write("Sonvio.dll", *c.file);
    EXPECT_EQ(VersionCaption("Sonvio.dll"), c.caption);
  }
  EXPECT_EQ(VersionCaption("Other.dll"), "Other");
}

}  // namespace
