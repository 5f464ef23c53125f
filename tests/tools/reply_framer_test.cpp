// Reply framing of the transport stand-in: line ends, final lines, replies
// split across reads or sharing one, the hold limit and Clear.
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
    std::vector<std::string> reads;  // the bytes of each read
    Replies replies;
    size_t limit = 0xFFFF;
  };
  const Case cases[] = {
      {{"a\rb\rOK\r", "c\nERROR\n"}, {{false, "a\rb"}, {true, "c"}}},
      {{"\r\nOKAY\r\n OK\r\nOK \r\nOK\r\n"}, {{false, "\r\nOKAY\r\n OK\r\nOK "}}},
      {{"a\r", "\nO", "K\r", "\nb\r\nOK\r\nc\r\nOK"}, {{false, "a"}, {false, "b"}}},
      // Beyond the limit: cut, the rest dropped up to its final line.
      {{"abc\r\ndefgh\r\nOK\r\nnext\r\nOK\r\n"}, {{false, "abc\r\n"}, {false, "next"}}, 5},
  };
  for (const Case& c : cases) {
    tessic::ReplyFramer framer;
    framer.set_limit(c.limit);
    EXPECT_EQ(Frame(framer, c.reads), c.replies) << c.reads[0];
  }
}

TEST(ReplyFramerTest, WhatIsHeldNeverGrowsPastTheLimitAndClearDropsIt) {
  tessic::ReplyFramer framer;
  framer.set_limit(1000);
  const std::string chunk(0x10000, 'x');
  for (int i = 0; i < 160; ++i) {  // 10 MiB without any line end
    framer.Append(chunk.data(), chunk.size());
    ASSERT_LE(framer.held(), 1000u);
  }
  EXPECT_EQ(Frame(framer, {"\r\nERROR\r\nok\r\nOK\r\n"}),
            (Replies{{true, std::string(1000, 'x')}, {false, "ok"}}));
  // Clear drops an unfinished reply and whatever follows a complete one.
  const std::string bytes = "a\r\nOK\r\nstray\r\nOK\r\nhalf";
  framer.Append(bytes.data(), bytes.size());
  framer.Clear();
  EXPECT_EQ(framer.held(), 0u);
  EXPECT_EQ(Frame(framer, {"b\r\nOK\r\n"}), (Replies{{false, "b"}}));
}

}  // namespace
