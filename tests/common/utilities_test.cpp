// Conversions and radix formatting shared by the panels.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "common/convert.h"
#include "common/format.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace {

TEST(HexToInt, ScansAtMostCountDigitsAndStopsAtTheFirstNonDigit) {
  const std::pair<const char*, uint32_t> cases[] = {
      {"1G", 1}, {"ab", 0xAB}, {"123456789", 0x23456789}, {"@1", 0x91}, {"/1", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(HexToInt(text, 9), value) << text;
  EXPECT_EQ(HexToInt("12345", 4), 0x1234u);
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
      {5, 2, 8, 0, "00000101"},      {0x1FF, 16, 2, 0, "FF"}, {0xFFFF, 10, 0, 1, "-1"},
      {0xFFFF, 10, 0, 0, "65535"},   {7, 8, 4, 0, "0007"},    {7, 1, 4, 0, "INVALID DATA"},
      {7, 17, 4, 0, "INVALID DATA"}, {5, 2, 0, 0, ""},        {0xAB, 16, 0, 0, ""},
      {0xAB, 16, -1, 0, ""},         {100, 3, 2, 0, "01"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.radix, c.width, c.as_short), c.expected)
        << c.value << " radix " << int{c.radix} << " width " << int{c.width};
  }
}

TEST(FormatRegister, HexAndNibbleForms) {
  EXPECT_EQ(FormatRegisterHex(-1), "0xFFFF ");
  EXPECT_EQ(FormatRegisterNibbles(-32768), "0x8 0x0 0x0 0x0");
}

}  // namespace
