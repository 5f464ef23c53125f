// Reply framing of the transport stand-in: line ends of every kind, final
// lines, replies split across reads or sharing one, and the hold limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply_framer.h"

namespace {

using Replies = std::vector<std::pair<bool, std::string>>;  // error flag and text, in order

// Feeds the reads in order and takes every reply as soon as it is complete.
Replies Frame(tessic::ReplyFramer& framer, const std::vector<std::string>& reads) {
  Replies replies;
  for (const std::string& read : reads) {
    framer.Append(read.data(), read.size());
    while (std::optional<tessic::Reply> reply = framer.Take()) {
      replies.emplace_back(reply->error, reply->text);
    }
  }
  return replies;
}

TEST(ReplyFramerTest, FramesRepliesByTheirFinalLine) {
  struct Case {
    const char* name;
    std::vector<std::string> reads;  // the bytes of each read
    Replies replies;
    size_t limit = 0xFFFF;
  };
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
      {"beyond the limit: cut, the rest dropped up to its final line",
       {"abc\r\ndefgh\r\nOK\r\nnext\r\nOK\r\n"},
       {{false, "abc\r\n"}, {false, "next"}},
       5},
  };
  for (const Case& c : cases) {
    tessic::ReplyFramer framer;
    framer.set_limit(c.limit);
    EXPECT_EQ(Frame(framer, c.reads), c.replies) << c.name;
  }
}

TEST(ReplyFramerTest, WhatIsHeldNeverGrowsPastTheLimit) {
  tessic::ReplyFramer framer;
  framer.set_limit(1000);
  const std::string chunk(0x10000, 'x');
  size_t most_held = 0;
  for (int i = 0; i < 160; ++i) {  // 10 MiB without any line end
    framer.Append(chunk.data(), chunk.size());
    most_held = std::max(most_held, framer.held());
  }
  EXPECT_LE(most_held, 1000u);
  EXPECT_EQ(Frame(framer, {"\r\nERROR\r\nok\r\nOK\r\n"}),
            (Replies{{true, std::string(1000, 'x')}, {false, "ok"}}));
}

TEST(ReplyFramerTest, ClearDropsTheUnfinishedReplyAndWhatFollowsAComplete) {
  tessic::ReplyFramer framer;
  const std::string bytes = "a\r\nOK\r\nstray\r\nOK\r\nhalf";
  framer.Append(bytes.data(), bytes.size());
  framer.Clear();
  EXPECT_EQ(framer.held(), 0u);
  EXPECT_EQ(Frame(framer, {"b\r\nOK\r\n"}), (Replies{{false, "b"}}));
}

}  // namespace
