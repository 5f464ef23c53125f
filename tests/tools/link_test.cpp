// The second-generation link: the transport stand-in TESSIC.dll talking to
// the simulated handset's AT server over TCP. Dropped connections and delayed
// replies are covered with the plug-in's command set (aud_app_at_server_test).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "fmr-sim/gen2/at_server.h"
#include "reply_framer.h"
#include "tessic_library.h"

namespace {

using fmrsim::AtServer;
using tessic_test::Tessic;

TEST(ConnectionTextTest, NamesHostAndPort) {
  std::string host;
  uint16_t port = 0;
  EXPECT_TRUE(tessic::ParseConnectionText("FMR/TCPIPc_127.0.0.1:27018", host, port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 27018);
  for (const char* bad : {"TCPIPc_127.0.0.1:27018", "FMR/TCPIPc_127.0.0.1", "FMR/TCPIPc_:1",
                          "FMR/TCPIPc_h:0", "FMR/TCPIPc_h:65536", "FMR/TCPIPc_h:12a"}) {
    EXPECT_FALSE(tessic::ParseConnectionText(bad, host, port)) << bad;
  }
}

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    server = AtServer::Start(std::move(config), error);
    ASSERT_NE(server, nullptr) << error;
  }
  void AddFault(const std::string& rule_text) {
    std::string error;
    const auto rule = fmrsim::ParseFaultRule(rule_text, error);
    ASSERT_TRUE(rule.has_value()) << error;
    server->faults().Add(*rule);
  }
  bool Powered() {
    return server->WithCommands([](fmrsim::AtCommands& at) { return at.radio().powered(); });
  }
  // A dedicated channel of a new session with the server.
  int32_t OpenChannel() {
    return tessic.Channel(tessic.Open("FMR/TCPIPc_127.0.0.1:" + std::to_string(server->port())));
  }

  std::unique_ptr<AtServer> server;
  Tessic tessic;
  std::string text;
};

TEST_F(LinkTest, CommandsGoAsOneLineRepliesComeWithoutTheFinalLineANewSessionTakesOver) {
  const int32_t session = tessic.Open("FMR/TCPIPc_127.0.0.1:" + std::to_string(server->port()));
  ASSERT_GE(session, 0);
  const int32_t channel = tessic.Channel(session);
  ASSERT_GE(channel, 0);
  EXPECT_EQ(tessic.Send(channel, "at@audapp:fmrx_enable()"), 0);
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(Powered());
  tessic.Send(channel, "at@audapp:fmrx_get_static_config()");
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_TRUE(text.starts_with("{108000000,")) << text;
  EXPECT_TRUE(text.ends_with("}")) << text;
  tessic.Send(channel, "at@ver:get_chip_ver(0)");
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_NE(text.find("947"), std::string::npos) << text;
  tessic.Send(channel, "at@audapp:fmrx_bogus()");
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_ERROR);
  const int32_t second = OpenChannel();  // served at once, though the first never closed
  tessic.Send(second, "at@audapp:fmr_disable()");
  EXPECT_EQ(tessic.Await(second, text), TESSIC_RECV_COMPLETE);
  EXPECT_FALSE(Powered());
  EXPECT_EQ(server->connections(), 2u);
  EXPECT_EQ(tessic.Close(session), 1);
  EXPECT_EQ(tessic.Close(session), 0);
}

TEST_F(LinkTest, AReplyLongerThanTheReceiveBufferIsCutToFit) {
  AddFault("oversize=70000,on=fmr_get_version,count=1");
  const int32_t channel = OpenChannel();
  tessic.Send(channel, "at@audapp:fmr_get_version()");
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text.size(), static_cast<size_t>(Tessic::kCapacity - 1));  // with its zero byte
  EXPECT_EQ(text.find_first_not_of("0,\r\n"), std::string::npos);
}

TEST_F(LinkTest, StoppingTheServerCutsAPendingDelayShort) {
  AddFault("delay=600000");
  const int32_t channel = OpenChannel();
  tessic.Send(channel, "at@audapp:fmrx_enable()");
  while (server->connections() == 0) std::this_thread::yield();
  server.reset();
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_FAILED);
}

TEST_F(LinkTest, NoServerOrABadConnectionTextGivesNoSession) {
  const std::string closed = "FMR/TCPIPc_127.0.0.1:" + std::to_string(server->port());
  server.reset();
  EXPECT_LT(tessic.Open(closed), 0);
  EXPECT_LT(tessic.Open("COM3"), 0);
  EXPECT_LT(tessic.Channel(12345), 0);
  EXPECT_EQ(tessic.Recv(-1, text), TESSIC_RECV_FAILED);
}

}  // namespace
