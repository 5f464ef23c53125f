#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "at_server.h"
#include "socket_io.h"

namespace {

using fmrsim::AtServer;
using fmrsim::FaultKind;
namespace net = fmrsim::net;

// Long enough for a loaded machine; a hang fails the test instead of the run.
constexpr int kPatienceMs = 10000;

// A plain line-based client, as the transport library talks to the handset.
class Client {
 public:
  explicit Client(uint16_t port) {
    std::string error;
    socket_ = net::ConnectTcp("127.0.0.1", port, error);
    EXPECT_TRUE(socket_.valid()) << error;
  }

  void Send(const std::string& text) { ASSERT_TRUE(net::SendAll(socket_, text)); }

  // Everything up to and including the next final line ("OK" or "ERROR");
  // nullopt when the connection ends (or nothing comes) first.
  std::optional<std::string> ReadAnswer() {
    while (true) {
      size_t start = 0;
      size_t end = 0;
      while ((end = buffered_.find("\r\n", start)) != std::string::npos) {
        const std::string line = buffered_.substr(start, end - start);
        start = end + 2;
        if (line == "OK" || line == "ERROR") {
          std::string answer = buffered_.substr(0, start);
          buffered_.erase(0, start);
          return answer;
        }
      }
      if (!ReceiveMore()) return std::nullopt;
    }
  }

  // True when the server closed the connection (after any pending data).
  bool ClosedByServer() {
    while (ReceiveMore()) {
    }
    return closed_;
  }

  std::string Exchange(const std::string& command) {
    Send(command + "\r\n");
    return ReadAnswer().value_or("<no answer>");
  }

 private:
  bool ReceiveMore() {
    bool ready = false;
    bool unused = false;
    if (!net::WaitReadable(socket_, net::Socket(), kPatienceMs, ready, unused)) return false;
    char buffer[8192];
    const long n = net::Receive(socket_, buffer, sizeof buffer);
    if (n <= 0) {
      closed_ = true;
      return false;
    }
    buffered_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  net::SocketLibrary library_;
  net::Socket socket_;
  std::string buffered_;
  bool closed_ = false;
};

class AtServerTcpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    server = AtServer::Start(std::move(config), error);
    ASSERT_NE(server, nullptr) << error;
    ASSERT_NE(server->port(), 0);
  }

  void AddFault(const std::string& text) {
    std::string error;
    const auto rule = fmrsim::ParseFaultRule(text, error);
    ASSERT_TRUE(rule.has_value()) << error;
    server->faults().Add(*rule);
  }

  std::unique_ptr<AtServer> server;
};

TEST_F(AtServerTcpTest, AnswersCommandsEndedByCrLfOrLfWithTheirReplyLinesAndFinalLine) {
  Client client(server->port());
  EXPECT_EQ(client.Exchange("at@audapp:fmrx_enable()"), "OK\r\n");
  EXPECT_TRUE(server->WithCommands([](fmrsim::AtCommands& at) { return at.radio().powered(); }));

  client.Send("at@audapp:fmrx_get_dynamic_data()\n");
  const std::string answer = client.ReadAnswer().value_or("");
  EXPECT_TRUE(answer.starts_with("{1,87500000,")) << answer;
  EXPECT_TRUE(answer.ends_with("}\r\nOK\r\n")) << answer;

  EXPECT_EQ(client.Exchange("at@audapp:fmrx_unknown()"), "ERROR\r\n");
}

TEST_F(AtServerTcpTest, SeveralCommandsInOneWriteAreAnsweredInOrder) {
  Client client(server->port());
  client.Send(
      "at@ver:get_chip_ver(0)\r\n\r\nat@audapp:fmr_disable(1)\r\nat@audapp:fmr_disable()\r\n");
  EXPECT_NE(client.ReadAnswer().value_or("").find("947"), std::string::npos);
  EXPECT_EQ(client.ReadAnswer(), "ERROR\r\n");
  EXPECT_EQ(client.ReadAnswer(), "OK\r\n");
}

TEST_F(AtServerTcpTest, ANewConnectionReplacesTheCurrentOne) {
  Client first(server->port());
  EXPECT_EQ(first.Exchange("at@audapp:fmrx_enable()"), "OK\r\n");
  {
    Client second(server->port());
    EXPECT_EQ(second.Exchange("at@audapp:fmr_disable()"), "OK\r\n");
    EXPECT_TRUE(first.ClosedByServer());
  }
  Client third(server->port());
  EXPECT_EQ(third.Exchange("at@audapp:fmrx_enable()"), "OK\r\n");
  EXPECT_EQ(server->connections(), 3u);
}

TEST_F(AtServerTcpTest, SecondServerOnTheSamePortReportsThePortInUse) {
  fmrsim::AtServerConfig config;
  config.port = server->port();
  std::string error;
  EXPECT_EQ(AtServer::Start(std::move(config), error), nullptr);
  EXPECT_NE(error.find("already in use"), std::string::npos) << error;
}

TEST_F(AtServerTcpTest, DelayedAnswerArrivesAfterTheDelay) {
  AddFault("delay=300,on=fmrx_get_dynamic_data,count=1");
  Client client(server->port());
  const auto start = std::chrono::steady_clock::now();
  const std::string answer = client.Exchange("at@audapp:fmrx_get_dynamic_data()");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(answer.ends_with("OK\r\n"));
  EXPECT_GE(waited, std::chrono::milliseconds(300));
}

TEST_F(AtServerTcpTest, DroppedConnectionLeavesTheServerReadyForTheNextClient) {
  AddFault("drop,count=1");
  {
    Client client(server->port());
    client.Send("at@audapp:fmrx_enable()\r\n");
    EXPECT_FALSE(client.ReadAnswer().has_value());
    EXPECT_TRUE(client.ClosedByServer());
  }
  // The dropped command never reached the radio.
  EXPECT_FALSE(server->WithCommands([](fmrsim::AtCommands& at) { return at.radio().powered(); }));
  Client again(server->port());
  EXPECT_EQ(again.Exchange("at@audapp:fmrx_enable()"), "OK\r\n");
}

TEST_F(AtServerTcpTest, ErrorMalformedAndOversizeFaultsShapeTheAnswer) {
  AddFault("error,on=fmrx_enable,count=1");
  AddFault("malformed,on=fmrx_get_static_config,count=1");
  AddFault("oversize,on=fmr_get_version,count=1");
  Client client(server->port());

  EXPECT_EQ(client.Exchange("at@audapp:fmrx_enable()"), "ERROR\r\n");
  EXPECT_EQ(client.Exchange("at@audapp:fmrx_enable()"), "OK\r\n");

  const std::string malformed = client.Exchange("at@audapp:fmrx_get_static_config()");
  EXPECT_TRUE(malformed.starts_with("{?08000000,")) << malformed;
  EXPECT_TRUE(malformed.ends_with("\r\nOK\r\n"));

  const std::string oversize = client.Exchange("at@audapp:fmr_get_version()");
  EXPECT_EQ(oversize.size(), 65536u + 4u);
  EXPECT_TRUE(oversize.ends_with("\r\nOK\r\n"));

  // Each fault was used up: the next answers are normal.
  EXPECT_TRUE(client.Exchange("at@audapp:fmr_get_version()").starts_with("{68,"));
}

TEST_F(AtServerTcpTest, StoppingTheServerCutsAPendingDelayShort) {
  AddFault("delay=600000");
  Client client(server->port());
  client.Send("at@audapp:fmrx_enable()\r\n");
  // Wait until the server holds the command, then stop it.
  while (server->connections() == 0) std::this_thread::yield();
  server.reset();
  EXPECT_TRUE(client.ClosedByServer());
}

}  // namespace
