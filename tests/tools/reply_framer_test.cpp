// Reply framing of the transport stand-in: line ends of every kind, final
// lines, replies split across reads or sharing one, and the hold limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply_framer.h"

namespace {

using tessic::Reply;
using tessic::ReplyFramer;

struct Case {
  const char* name;
  std::vector<std::string> reads;                     // the bytes of each read
  std::vector<std::pair<bool, std::string>> replies;  // error flag and text, in order
};

// Feeds the reads in order and takes every reply as soon as it is complete.
std::vector<std::pair<bool, std::string>> Frame(const std::vector<std::string>& reads,
                                                size_t limit = 0xFFFF) {
  ReplyFramer framer;
  framer.set_limit(limit);
  std::vector<std::pair<bool, std::string>> replies;
  for (const std::string& read : reads) {
    framer.Append(read.data(), read.size());
    while (std::optional<Reply> reply = framer.Take())
      replies.emplace_back(reply->error, reply->text);
  }
  return replies;
}

TEST(ReplyFramerTest, FramesRepliesByTheirFinalLine) {
  const Case cases[] = {
      {"crlf", {"a\r\nb\r\nOK\r\n"}, {{false, "a\r\nb"}}},
      {"lf", {"x\nERROR\n"}, {{true, "x"}}},
      {"cr only", {"a\rb\rOK\r", "c\rERROR\r"}, {{false, "a\rb"}, {true, "c"}}},
      {"empty reply", {"OK\r\n"}, {{false, ""}}},
      {"empty lines kept", {"\r\n\r\nOK\r\n"}, {{false, "\r\n"}}},
      {"near misses are reply lines",
       {"OKAY\r\nERRORS\r\n OK\r\nO\r\nOK \r\nOK\r\n"},
       {{false, "OKAY\r\nERRORS\r\n OK\r\nO\r\nOK "}}},
      {"crlf split across reads, lf of the final line late",
       {"a\r", "\nO", "K\r", "\nb\r\nOK\r\n"},
       {{false, "a"}, {false, "b"}}},
      {"two replies in one read", {"a\r\nOK\r\nb\r\nERROR\r\n"}, {{false, "a"}, {true, "b"}}},
      {"no final line yet", {"a\r\nb\r\nOK"}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Frame(c.reads), c.replies) << c.name;
}

TEST(ReplyFramerTest, AReplyBeyondTheLimitIsCutAndTheRestDroppedUpToItsFinalLine) {
  EXPECT_EQ(Frame({"abc\r\ndefgh\r\nOK\r\nnext\r\nOK\r\n"}, 5),
            (std::vector<std::pair<bool, std::string>>{{false, "abc\r\n"}, {false, "next"}}));

  // A reply without any line end: what is held never grows past the limit.
  ReplyFramer framer;
  framer.set_limit(1000);
  const std::string chunk(0x10000, 'x');
  size_t most_held = 0;
  for (int i = 0; i < 160; ++i) {  // 10 MiB
    framer.Append(chunk.data(), chunk.size());
    most_held = std::max(most_held, framer.held());
  }
  EXPECT_LE(most_held, 1000u);
  const std::string end = "\r\nERROR\r\nok\r\nOK\r\n";
  framer.Append(end.data(), end.size());
  std::optional<Reply> reply = framer.Take();
  ASSERT_TRUE(reply);
  EXPECT_TRUE(reply->error);
  EXPECT_EQ(reply->text, std::string(1000, 'x'));
  reply = framer.Take();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->text, "ok");
}

TEST(ReplyFramerTest, ClearDropsTheUnfinishedReplyAndWhatFollowsAComplete) {
  ReplyFramer framer;
  const std::string bytes = "a\r\nOK\r\nstray\r\nOK\r\nhalf";
  framer.Append(bytes.data(), bytes.size());
  framer.Clear();
  EXPECT_FALSE(framer.Take());
  EXPECT_EQ(framer.held(), 0u);
  const std::string next = "b\r\nOK\r\n";
  framer.Append(next.data(), next.size());
  const std::optional<Reply> reply = framer.Take();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->text, "b");
}

}  // namespace
