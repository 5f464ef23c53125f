// AT command texts and reply decoding.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "gen2/at_command.h"
#include "gen2/at_reply.h"
#include "gen2/mi_istringstream.h"

namespace MANAGED_IF {
namespace {

TEST(AtCommandTest, ArgumentsAreWrittenAsTheValuesOfTheirTypesAndNothingFollows) {
  std::string text = "an earlier, longer command text";
  EXPECT_EQ(AtCommand(text, "at@audapp:fmr_disable").Text(), "at@audapp:fmr_disable()");
  EXPECT_EQ(AtCommand(text, "x").u32(static_cast<uint32_t>(-1)).Text(), "x(4294967295)");
  EXPECT_EQ(AtCommand(text, "x").s16(-300).Text(), "x(-300)");
  EXPECT_EQ(AtCommand(text, "x").s16(static_cast<int16_t>(65535)).Text(), "x(-1)");
  EXPECT_EQ(AtCommand(text, "x").u16(65535).Text(), "x(65535)");
  EXPECT_EQ(AtCommand(text, "x").u8(static_cast<uint8_t>(300)).Text(), "x(44)");
  EXPECT_EQ(AtCommand(text, "x").s32(INT32_MIN).u32(0).Text(), "x(-2147483648,0)");
  EXPECT_EQ(AtCommand(text, "at@audapp:fmrx_set_sm").s16(-5).u16(3).s32(1).Text(),
            "at@audapp:fmrx_set_sm(-5,3,1)");
  EXPECT_EQ(text, "at@audapp:fmrx_set_sm(-5,3,1)") << "built in the caller's text";
}

// Extracts one value of type T from `text`; nullopt when the reader fails.
template <typename T>
std::optional<T> ExtractOne(const std::string& text) {
  mi_istringstream in(text);
  T value{};
  in.Extract(value);
  if (in.fail()) return std::nullopt;
  return value;
}

TEST(MiIstringstreamTest, ValuesAreDecodedWithTheRangeRulesOfTheirTypes) {
  EXPECT_EQ(ExtractOne<uint32_t>("-1"), 4294967295u);
  EXPECT_EQ(ExtractOne<uint32_t>("4294967295"), 4294967295u);
  EXPECT_EQ(ExtractOne<uint32_t>("4294967296"), std::nullopt);
  EXPECT_EQ(ExtractOne<int32_t>("-2147483648"), INT32_MIN);
  EXPECT_EQ(ExtractOne<int32_t>("2147483648"), std::nullopt);
  EXPECT_EQ(ExtractOne<uint16_t>("-1"), 65535);
  EXPECT_EQ(ExtractOne<uint16_t>("65536"), std::nullopt);
  EXPECT_EQ(ExtractOne<int16_t>("-32768"), -32768);
  EXPECT_EQ(ExtractOne<int16_t>("40000"), std::nullopt);
  EXPECT_EQ(ExtractOne<uint8_t>("300"), 44);
  EXPECT_EQ(ExtractOne<uint8_t>("256"), 0);
  EXPECT_EQ(ExtractOne<uint32_t>("+7"), 7u);
  EXPECT_EQ(ExtractOne<uint32_t>("OK"), std::nullopt);
  EXPECT_EQ(ExtractOne<uint32_t>("   "), std::nullopt);
}

TEST(MiIstringstreamTest, AFailedExtractionLeavesItsAndEveryLaterFieldUnwritten) {
  mi_istringstream in("0x1F 5 6");
  uint32_t first = 99, second = 99, third = 99;
  in.Extract(first);
  in.Extract(second);
  in.Extract(third);
  EXPECT_EQ(first, 0u);  // the digits before the "x"
  EXPECT_EQ(second, 99u);
  EXPECT_EQ(third, 99u);
  EXPECT_EQ(in.Word(), "");
}

struct Pair {
  int16_t a = -7;
  uint16_t b = 7;
};

void ReadPair(mi_istringstream& in, Pair& p) {
  in.Extract(p.a);
  in.Extract(p.b);
}

struct DecodeCase {
  const char* reply;
  int8_t exchange_code;
  int32_t expected_code;
  int16_t expected_a;
  uint16_t expected_b;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::string(c.reply)) << " code " << int{c.exchange_code};
}

class DecodeReplyTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeReplyTest, DecodesFieldsThenRequiresTheWordOk) {
  const DecodeCase& c = GetParam();
  Pair pair;
  EXPECT_EQ(DecodeReply(T_Result{c.exchange_code, c.reply}, pair, ReadPair), c.expected_code);
  EXPECT_EQ(pair.a, c.expected_a);
  EXPECT_EQ(pair.b, c.expected_b);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, DecodeReplyTest,
    ::testing::Values(DecodeCase{"-3 4\r\nOK\r\n", 0, 0, -3, 4},
                      DecodeCase{"{-3,\r\n4}\r\nOK\r\n", 0, 0, -3, 4},
                      DecodeCase{"-3, 4 OK trailing words", 0, 0, -3, 4},
                      DecodeCase{"-3 4\r\nok\r\n", 0, 3, -3, 4},       // lower case is not OK
                      DecodeCase{"-3\r\nOK\r\n", 0, 3, -3, 7},         // one value too few
                      DecodeCase{"-3 4 5\r\nOK\r\n", 0, 3, -3, 4},     // one value too many
                      DecodeCase{"-3 4\r\nERROR\r\n", 0, 3, -3, 4},    // final word ERROR
                      DecodeCase{"40000 4\r\nOK\r\n", 0, 3, -7, 7},    // out of range for s16
                      DecodeCase{"-3 -1\r\nOK\r\n", 0, 0, -3, 65535},  // u16 negated modulo 2^16
                      DecodeCase{"-3 4\r\nOK\r\n", 3, 3, -7,
                                 7},  // error exchange: record untouched
                      DecodeCase{"", 0, 3, -7, 7}));

}  // namespace
}  // namespace MANAGED_IF
