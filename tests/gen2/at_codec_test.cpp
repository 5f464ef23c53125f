// AT command texts and reply decoding.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gen2/at_command.h"
#include "gen2/at_reply.h"

namespace MANAGED_IF {
namespace {

TEST(AtCommandTest, ArgumentsAreWrittenAsTheValuesOfTheirTypesAndNothingFollows) {
  std::string text = "an earlier, longer command text";
  EXPECT_EQ(AtCommand(text, "at@audapp:fmr_disable").Text(), "at@audapp:fmr_disable()");
  EXPECT_EQ(AtCommand(text, "x").u32(static_cast<uint32_t>(-1)).Text(), "x(4294967295)");
  EXPECT_EQ(AtCommand(text, "x").s16(static_cast<int16_t>(65535)).Text(), "x(-1)");
  EXPECT_EQ(AtCommand(text, "x").u16(65535).Text(), "x(65535)");
  EXPECT_EQ(AtCommand(text, "x").u8(static_cast<uint8_t>(300)).Text(), "x(44)");
  EXPECT_EQ(AtCommand(text, "at@audapp:fmrx_set_sm").s32(INT32_MIN).s16(-5).u16(3).Text(),
            "at@audapp:fmrx_set_sm(-2147483648,-5,3)");
  EXPECT_EQ(text, "at@audapp:fmrx_set_sm(-2147483648,-5,3)") << "built in the caller's text";
}

struct Pair {
  int16_t a = -7;
  uint16_t b = 7;
};

TEST(DecodeReplyTest, FieldsInAnyLayoutThenTheWordOkAndNothingWrittenPastAFailure) {
  struct Case {
    const char* reply;
    int8_t exchange_code;
    int32_t code;
    int16_t a;
    uint16_t b;
  };
  const Case cases[] = {
      {"-3 4\r\nOK\r\n", 0, 0, -3, 4},
      {"{-3,\r\n4}\r\nOK\r\n", 0, 0, -3, 4},
      {"-3, 4 OK trailing words", 0, 0, -3, 4},
      {"-3 4\r\nok\r\n", 0, 3, -3, 4},       // lower case is not OK
      {"-3\r\nOK\r\n", 0, 3, -3, 7},         // one value too few
      {"-3 4 5\r\nOK\r\n", 0, 3, -3, 4},     // one value too many
      {"-3 4\r\nERROR\r\n", 0, 3, -3, 4},    // final word ERROR
      {"40000 4\r\nOK\r\n", 0, 3, -7, 7},    // out of range for s16: neither field written
      {"-3 -1\r\nOK\r\n", 0, 0, -3, 65535},  // u16 negated modulo 2^16
      {"-3 4\r\nOK\r\n", 3, 3, -7, 7},       // error exchange: record untouched
      {"", 0, 3, -7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.reply)));
    Pair pair;
    const auto read = [](mi_istringstream& in, Pair& p) {
      in.Extract(p.a);
      in.Extract(p.b);
    };
    EXPECT_EQ(DecodeReply(T_Result{c.exchange_code, c.reply}, pair, read), c.code);
    EXPECT_EQ(pair.a, c.a);
    EXPECT_EQ(pair.b, c.b);
  }
}

}  // namespace
}  // namespace MANAGED_IF
