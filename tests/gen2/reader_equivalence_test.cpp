// The command set's reply reader decodes every reply as the reference stream
// reader does, for every record kind.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"
#include "stream_reply_reader.h"

namespace MANAGED_IF {
namespace {

// The reply texts the simulated radio gives to every AT command of the
// second-generation tour, as the transport hands them on (the final line
// replaced by the session's terminator line).
std::vector<std::string> SimulatorReplies() {
  std::vector<std::string> replies;
  std::ifstream tour(SOURCE_DIR "/tests/e2e/gen2_tour.expected");
  fmrsim::RadioModel radio;
  fmrsim::AtCommands at(radio);
  for (std::string line; std::getline(tour, line);) {
    constexpr std::string_view kLogged = "LOG[1] at@audapp:";
    if (!line.starts_with(kLogged)) continue;
    const fmrsim::AtReply reply = at.Execute(line.substr(7));
    std::string text;
    for (size_t i = 0; i < reply.lines.size(); ++i) {
      if (i > 0) text += "\r\n";
      text += reply.lines[i];
    }
    replies.push_back(text + (reply.ok ? "\r\nOK\r\n" : "\r\nERROR\r\n"));
  }
  return replies;
}

const std::vector<std::string> kHandMade = {
    "{1,2,3}\r\n{4}\r\nOK\r\n",
    "1\r2 3\r\nOK\r\n",  // a carriage return inside a number closes the gap
    "-0 +5 -65535 -65536 4294967295 4294967296\r\nOK\r\n",
    "-32768 32767 -32769 2147483647 -2147483648 -2147483649\r\nOK\r\n",
    "65535 65536 -9223372036854775808 -9223372036854775809 9223372036854775807\r\nOK\r\n",
    "0x1F 5\r\nOK\r\n",
    "1 2 3\x0b\x0c\t4 OK\r",
    "\r\r\r1,,,,2}}}{{{OK",
    "7\r\nO\rK\r\n",
};

template <typename Record>
void ExpectSameDecoding(const std::string& reply) {
  Record mine{};
  Record theirs{};
  mi_istringstream fast(reply);
  ReadFields(fast, mine);
  reference::StreamReplyReader stream(reply);
  ReadFields(stream, theirs);
  const bool mine_ok = fast.Word() == kReplyOkWord;
  const bool theirs_ok = stream.Word() == kReplyOkWord;
  EXPECT_EQ(mine_ok, theirs_ok) << ::testing::PrintToString(reply);
  EXPECT_TRUE(mine == theirs) << ::testing::PrintToString(reply);
}

TEST(ReaderEquivalence, SameCodesAndRecordsAsTheStreamReader) {
  std::vector<std::string> replies = SimulatorReplies();
  ASSERT_GE(replies.size(), 20u) << "the tour's commands were found";
  replies.insert(replies.end(), kHandMade.begin(), kHandMade.end());
  // Each value at the edge of a field type's range in every field of every
  // record, up to the first field that cannot take it.
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
