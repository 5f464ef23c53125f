// AT command texts and reply decoding; the command set's reply reader
// decodes every reply as the reference stream reader does.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "gen2/at_command.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"
#include "stream_reply_reader.h"

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

TEST(DecodeReplyTest, FieldsInAnyLayoutThenTheWordOkAndNothingWrittenPastAFailure) {
  // The reply, the exchange's code, then the decoding's code and the fields
  // as it leaves them, from -7 and 7.
  const std::tuple<std::string, int8_t, int32_t, std::pair<int16_t, uint16_t>> cases[] = {
      {"-3 4\r\nOK\r\n", 0, 0, {-3, 4}},
      {"{-3,\r\n4}\r\nOK\r\n", 0, 0, {-3, 4}},
      {"-3, 4 OK trailing words", 0, 0, {-3, 4}},
      {"-3 4\r\nok\r\n", 0, 3, {-3, 4}},       // lower case is not OK
      {"-3\r\nOK\r\n", 0, 3, {-3, 7}},         // one value too few
      {"-3 4 5\r\nOK\r\n", 0, 3, {-3, 4}},     // one value too many
      {"-3 4\r\nERROR\r\n", 0, 3, {-3, 4}},    // final word ERROR
      {"40000 4\r\nOK\r\n", 0, 3, {-7, 7}},    // out of range for s16: neither field written
      {"-3 -1\r\nOK\r\n", 0, 0, {-3, 65535}},  // u16 negated modulo 2^16
      {"-3 4\r\nOK\r\n", 3, 3, {-7, 7}},       // error exchange: record untouched
      {"", 0, 3, {-7, 7}},
  };
  const auto read = [](mi_istringstream& in, std::pair<int16_t, uint16_t>& p) {
    in.Extract(p.first);
    in.Extract(p.second);
  };
  for (const auto& [reply, exchange_code, code, fields] : cases) {
    SCOPED_TRACE(::testing::PrintToString(reply));
    std::pair<int16_t, uint16_t> pair{-7, 7};
    EXPECT_EQ(DecodeReply(T_Result{exchange_code, reply}, pair, read), code);
    EXPECT_EQ(pair, fields);
  }
}

template <typename Record>
void ExpectSameDecoding(const std::string& reply) {
  Record mine{}, theirs{};
  mi_istringstream fast(reply);
  ReadFields(fast, mine);
  reference::StreamReplyReader stream(reply);
  ReadFields(stream, theirs);
  EXPECT_EQ(fast.Word() == kReplyOkWord, stream.Word() == kReplyOkWord)
      << ::testing::PrintToString(reply);
  EXPECT_TRUE(mine == theirs) << ::testing::PrintToString(reply);
}

// The replies: the simulated radio's to every AT command of the
// second-generation tour, as the transport hands them on; hand-made ones;
// and each value at the edge of a field type's range in every field of
// every record, up to the first field that cannot take it.
TEST(ReaderEquivalence, SameCodesAndRecordsAsTheStreamReader) {
  // clang-format off
  std::vector<std::string> replies = {
      "-0 +5 -65535 -65536 4294967295 4294967296\r\nOK\r\n",
      "-32768 32767 -32769 2147483647 -2147483648 -2147483649\r\nOK\r\n",
      "65535 65536 -9223372036854775808 -9223372036854775809 9223372036854775807\r\nOK\r\n",
      "{1,2,3}\r\n{4}\r\nOK\r\n", "0x1F 5\r\nOK\r\n", "1 2 3\x0b\x0c\t4 OK\r", "7\r\nO\rK\r\n",
      "\r\r\r1,,,,2}}}{{{OK", "1\r2 3\r\nOK\r\n"};  // a carriage return in a number ends it
  // clang-format on
  std::ifstream tour(SOURCE_DIR "/tests/e2e/gen2_tour.expected");
  fmrsim::RadioModel radio;
  fmrsim::AtCommands at(radio);
  for (std::string line; std::getline(tour, line);) {
    if (!line.starts_with("LOG[1] at@audapp:")) continue;
    const fmrsim::AtReply reply = at.Execute(line.substr(7));
    replies.push_back((reply.lines.empty() ? "\r\n" : "") + fmrsim::FramedReply(reply));
  }
  ASSERT_GE(replies.size(), 29u) << "the tour's commands were found";
  for (const char* edge : {"-2147483649", "-2147483648", "2147483647", "2147483648", "-32769",
                           "-32768", "32767", "32768", "-65536", "65535", "65536", "-4294967295",
                           "4294967295", "4294967296", "256", "-255", "+7", "-0", "0x1F"}) {
    std::string reply;
    for (int i = 0; i < 200; ++i) reply += std::string(edge) + " ";
    replies.push_back(reply + "OK");
  }
  for (const std::string& reply : replies) {
    ExpectSameDecoding<T_Version>(reply);
    ExpectSameDecoding<T_AutoSeekReport>(reply);
    ExpectSameDecoding<T_RdsReport>(reply);
    ExpectSameDecoding<T_StaticConfig>(reply);
    ExpectSameDecoding<T_DynamicData>(reply);
  }
}

}  // namespace
}  // namespace MANAGED_IF
