// AT command texts and reply decoding.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gen2/at_command.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"

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

// Decodes the values 1, 2, ... count, ten to a braced line, into a record;
// one value fewer or more must fail.
template <typename Record>
Record DecodedSequence(int count) {
  const auto decode = [](int n, Record& record) {
    std::string reply = "{";
    for (int i = 1; i <= n; ++i) reply += std::to_string(i) + (i % 10 != 0 ? "," : "}\r\n{");
    return DecodeReply(T_Result{0, reply + "}\r\nOK\r\n"}, record, kReadFields);
  };
  Record record{};
  EXPECT_EQ(decode(count - 1, record), 3) << "one value too few";
  EXPECT_EQ(decode(count + 1, record), 3) << "one value too many";
  EXPECT_EQ(decode(count, record), 0);
  return record;
}

TEST(DecodeReplyTest, EachRecordTakesExactlyItsValuesInFieldOrder) {
  EXPECT_EQ(DecodedSequence<T_DynamicData>(13),
            (T_DynamicData{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_EQ(DecodedSequence<T_StaticConfig>(22),
            (T_StaticConfig{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                            12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
  const auto version = DecodedSequence<T_Version>(156);
  EXPECT_EQ(version.manufacturer_id[0], 1);
  EXPECT_EQ(version.hardware_id[0], 17);
  EXPECT_EQ(version.hardware_id_ext[0], 33);
  EXPECT_EQ(version.version_text[99], 156);
  const auto seek = DecodedSequence<T_AutoSeekReport>(101);
  EXPECT_EQ(seek.station_count, 1);
  EXPECT_EQ(seek.frequencies[49], 51u);
  EXPECT_EQ(seek.rssi[0], 52);
  const auto rds = DecodedSequence<T_RdsReport>(196);
  EXPECT_EQ(rds.block_b[0], 29);
  EXPECT_EQ(rds.block_c[0], 57);
  EXPECT_EQ(rds.block_d[0], 85);
  EXPECT_EQ(rds.column5[0], 113u);
  EXPECT_EQ(rds.column6[0], 141u);
  EXPECT_EQ(rds.column7[27], 196);
}

}  // namespace
}  // namespace MANAGED_IF
