// Integers read from initialization files: the value's text by the
// edit-field rule, the caller's default when it is missing or not a number.
#include <gtest/gtest.h>

#include "common/convert.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace {

TEST(ReadIniInteger, TakesTheTextByTheEditFieldRuleOrTheDefault) {
  const testing_files::TestFolder folder;
  folder.Write("integers.ini",
               "[S]\r\n"
               "plain=42\r\n"
               "padded=  -12  \r\n"
               "dollar=$1F\r\n"
               "hex=0x1F\r\n"
               "all_ones=0xFFFFFFFF\r\n"
               "lowest=-2147483648\r\n"
               "quoted=\"7\"\r\n"
               "trailing=12abc\r\n"
               "too_big=4294967297\r\n"
               "past_int=2147483648\r\n"
               "word=abc\r\n"
               "empty=\r\n");
  const platform::IniFile ini((folder.path() / "integers.ini").string());
  const struct {
    const char* key;
    int32_t fallback;
    int32_t expected;
  } cases[] = {
      {"plain", 0, 42},    {"padded", 0, -12},       {"dollar", 0, 31}, {"hex", 0, 31},
      {"all_ones", 0, -1}, {"lowest", 0, INT32_MIN}, {"quoted", 0, 7},  {"trailing", 5, 5},
      {"too_big", 5, 5},   {"past_int", 5, 5},       {"word", -1, -1},  {"empty", 9, 9},
      {"missing", -1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadIniInteger(ini, "S", c.key, c.fallback), c.expected) << c.key;
}

}  // namespace
