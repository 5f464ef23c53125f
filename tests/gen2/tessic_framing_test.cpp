// Reply framing and connection texts of the transport stand-in.
#include <gtest/gtest.h>

#include "reply_framer.h"

namespace tessic {
namespace {

TEST(ReplyFramerTest, AReplyEndsAtItsFinalLine) {
  ReplyFramer framer;
  framer.Append("{1,2}\r\n3\r\nO", 11);
  EXPECT_FALSE(framer.Take().has_value());
  framer.Append("K\r\n", 3);
  const std::optional<Reply> reply = framer.Take();
  ASSERT_TRUE(reply.has_value());
  EXPECT_FALSE(reply->error);
  EXPECT_EQ(reply->text, "{1,2}\r\n3");
  EXPECT_EQ(framer.pending(), 0u);
}

TEST(ReplyFramerTest, ErrorAndEmptyRepliesAndBareLineFeeds) {
  ReplyFramer framer;
  const std::string bytes = "OK\r\n+CME: 5\nERROR\nOKAY\nOK\n";
  framer.Append(bytes.data(), bytes.size());

  std::optional<Reply> reply = framer.Take();
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->text, "");
  EXPECT_FALSE(reply->error);

  reply = framer.Take();
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->text, "+CME: 5");
  EXPECT_TRUE(reply->error);

  reply = framer.Take();  // "OKAY" is a reply line, not a final line
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->text, "OKAY");
  EXPECT_FALSE(framer.Take().has_value());
}

TEST(ConnectionTextTest, NamesHostAndPort) {
  std::string host;
  uint16_t port = 0;
  EXPECT_TRUE(ParseConnectionText("FMR/TCPIPc_127.0.0.1:27018", host, port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 27018);
  for (const char* bad : {"TCPIPc_127.0.0.1:27018", "FMR/TCPIPc_127.0.0.1", "FMR/TCPIPc_:1",
                          "FMR/TCPIPc_h:0", "FMR/TCPIPc_h:65536", "FMR/TCPIPc_h:12a"}) {
    EXPECT_FALSE(ParseConnectionText(bad, host, port)) << bad;
  }
}

}  // namespace
}  // namespace tessic
