// The one number reader of scripts, fault rules and options: every text a
// person might type, and what it reads as or why it is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/strict_number.h"

namespace {

using tooltext::NumberRefusal;

struct IntegerCase {
  const char* text;
  int64_t low, high;
  std::optional<int64_t> value;
  const char* why;  // when refused
};

TEST(StrictNumber, WholeNumbersAreTheWholeTextInTheirRange) {
  const IntegerCase kCases[] = {
      {"0", 0, 10, 0, ""},
      {"10", 0, 10, 10, ""},
      {"11", 0, 10, std::nullopt, "out of range (0 to 10)"},
      {"-1", 0, 10, std::nullopt, "out of range (0 to 10)"},
      {"-5", -10, 10, -5, ""},
      {"0x1A", 0, 255, 26, ""},
      {"0X1a", 0, 255, 26, ""},
      {"0x-1", INT64_MIN, INT64_MAX, std::nullopt, "not a whole number"},
      {"-0x1", INT64_MIN, INT64_MAX, std::nullopt, "not a whole number"},
      {"+5", 0, 10, std::nullopt, "not a whole number"},
      {" 5", 0, 10, std::nullopt, "not a whole number"},
      {"5 ", 0, 10, std::nullopt, "not a whole number"},
      {"5x", 0, 10, std::nullopt, "not a whole number"},
      {"0x", 0, 10, std::nullopt, "not a whole number"},
      {"", 0, 10, std::nullopt, "not a whole number"},
      {"-", 0, 10, std::nullopt, "not a whole number"},
      {"1.5", 0, 10, std::nullopt, "not a whole number"},
      {"9223372036854775807", INT64_MIN, INT64_MAX, INT64_MAX, ""},
      {"-9223372036854775808", INT64_MIN, INT64_MAX, INT64_MIN, ""},
      {"9223372036854775808", INT64_MIN, INT64_MAX, std::nullopt,
       "out of range (-9223372036854775808 to 9223372036854775807)"},
      {"99999999999999999999999", 0, 10, std::nullopt, "out of range (0 to 10)"},
      {"0x10000000000000000", 0, 10, std::nullopt, "out of range (0 to 10)"},
  };
  for (const IntegerCase& c : kCases) {
    NumberRefusal refusal;
    EXPECT_EQ(tooltext::ParseInteger(c.text, c.low, c.high, &refusal), c.value) << c.text;
    EXPECT_EQ(refusal.why, c.why) << c.text;
  }
  EXPECT_EQ(tooltext::ParseUnsigned("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(tooltext::ParseUnsigned("18446744073709551616"), std::nullopt);
  EXPECT_EQ(tooltext::ParseUnsigned("-0"), std::nullopt);
  EXPECT_EQ(tooltext::ParseUnsigned("0xFFFF", 65535), 65535u);
  NumberRefusal refusal;
  EXPECT_EQ(tooltext::ParseUnsigned("65536", 65535, &refusal), std::nullopt);
  EXPECT_EQ(refusal.why, "out of range (0 to 65535)");
}

TEST(StrictNumber, RealNumbersAreWrittenAsPeopleWriteThem) {
  const std::pair<const char*, std::optional<double>> kCases[] = {
      {"95400000", 95400000.0},
      {"-3", -3.0},
      {"95.4e6", 95.4e6},
      {"1E-3", 1e-3},
      {".5", 0.5},
      {"5.", 5.0},
      {"0x1E05", 7685.0},
      {"1e5", 1e5},
      {"1E05", 1e5},
      {"inf", {}},
      {"-inf", {}},
      {"nan", {}},
      {"infinity", {}},
      {"0x1p3", {}},
      {"0x-1", {}},
      {"1e999", {}},
      {"-1e999", {}},
      {"1e", {}},
      {"e5", {}},
      {"+1", {}},
      {" 1", {}},
      {"1 ", {}},
      {"1,5", {}},
      {"--1", {}},
      {"-", {}},
      {".", {}},
      {"", {}},
      {"1.2.3", {}},
  };
  for (const auto& [text, value] : kCases) {
    EXPECT_EQ(tooltext::ParseReal(text), value) << text;
  }
  NumberRefusal refusal;
  EXPECT_FALSE(tooltext::ParseReal("1e400", &refusal));
  EXPECT_EQ(refusal.why, "out of range for a number");
}

}  // namespace
