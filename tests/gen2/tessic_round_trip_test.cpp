// TESSIC.dll over real TCP against a small in-test line server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "line_server.h"
#include "platform/platform.h"
#include "tessic_api.h"

namespace {

using gen2_test::LineServer;
using Response = LineServer::Response;

constexpr int32_t kCapacity = 0x10000;

// The real transport library, bound by name as the plug-in binds it.
class RealTessic {
 public:
  RealTessic() : library_(platform::DynamicLibrary::Open(SONVIO_BIN_DIR "/TESSIC.dll")) {
    if (!library_.IsLoaded()) throw std::runtime_error("cannot load TESSIC.dll");
  }
  template <typename Func>
  Func Get(const char* name) const {
    return reinterpret_cast<Func>(library_.Symbol(name));
  }
  int32_t Open(const std::string& connection) const {
    return Get<decltype(&TESSIC_SessionOpen)>("TESSIC_SessionOpen")(connection.c_str(), "");
  }
  uint8_t Close(int32_t session) const {
    return Get<decltype(&TESSIC_SessionClose)>("TESSIC_SessionClose")(session);
  }
  int32_t Channel(int32_t session) const {
    return Get<decltype(&TESSIC_DedChOpen)>("TESSIC_DedChOpen")(session);
  }
  int32_t Send(int32_t channel, const std::string& text) const {
    return Get<decltype(&TESSIC_send)>("TESSIC_send")(channel, text.data(),
                                                      static_cast<int32_t>(text.size()));
  }
  int32_t Recv(int32_t channel, std::string& text, int32_t capacity = kCapacity) const {
    std::vector<char> buffer(static_cast<size_t>(capacity), '\x7F');
    const int32_t status =
        Get<decltype(&TESSIC_recv)>("TESSIC_recv")(channel, buffer.data(), capacity);
    // The buffer starts without any zero, so a missing terminator shows as
    // a text of `capacity` characters.
    text.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    return status;
  }
  // Receives until a final status (or 5 s); counts the pending answers.
  int32_t Await(int32_t channel, std::string& text, int* pending = nullptr,
                int32_t capacity = kCapacity) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int32_t status;
    while ((status = Recv(channel, text, capacity)) == TESSIC_RECV_PENDING &&
           std::chrono::steady_clock::now() < deadline) {
      if (pending != nullptr) ++*pending;
    }
    return status;
  }

 private:
  platform::DynamicLibrary library_;
};

class TessicRoundTripTest : public ::testing::Test {
 protected:
  // Answers by command: "slow" after 200 ms, "drop" once by dropping the
  // connection, "big" with a reply longer than the receive buffer, "bad"
  // with an error, anything else with two reply lines.
  TessicRoundTripTest()
      : server_([this](const std::string& line) -> Response {
          if (line == "slow") return {"1\r\nOK\r\n", 200, false};
          if (line == "drop" && !dropped_) {
            dropped_ = true;
            return {"", 0, true};
          }
          if (line == "big") return {std::string(kCapacity + 100, '7') + "\r\nOK\r\n"};
          if (line == "bad") return {"+CME ERROR: 4\r\nERROR\r\n"};
          return {"{1,2}\r\n3\r\nOK\r\n"};
        }) {}

  std::string Connection() const { return "FMR/TCPIPc_" + server_.address(); }

  RealTessic tessic_;
  bool dropped_ = false;
  LineServer server_;
};

TEST_F(TessicRoundTripTest, ACommandGoesOutAsOneLineAndItsReplyComesBackWithoutTheFinalLine) {
  const int32_t session = tessic_.Open(Connection());
  ASSERT_GE(session, 0);
  const int32_t channel = tessic_.Channel(session);
  ASSERT_GE(channel, 0);

  EXPECT_EQ(tessic_.Send(channel, "at@audapp:fmrx_enable()"), 0);
  std::string text;
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, "{1,2}\r\n3");
  EXPECT_EQ(server_.lines(), std::vector<std::string>{"at@audapp:fmrx_enable()"});

  tessic_.Send(channel, "bad");
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_ERROR);
  EXPECT_EQ(text, "+CME ERROR: 4");
  EXPECT_EQ(tessic_.Close(session), 1);
  EXPECT_EQ(tessic_.Close(session), 0);
}

TEST_F(TessicRoundTripTest, ASlowReplyIsPendingUntilItArrives) {
  const int32_t channel = tessic_.Channel(tessic_.Open(Connection()));
  tessic_.Send(channel, "slow");
  std::string text;
  int pending = 0;
  EXPECT_EQ(tessic_.Await(channel, text, &pending), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, "1");
  // Each pending answer waited a slice instead of returning at once.
  EXPECT_GE(pending, 1);
  EXPECT_LT(pending, 100);
}

TEST_F(TessicRoundTripTest, ADroppedConnectionFailsAndTheNextSendConnectsAgain) {
  const int32_t channel = tessic_.Channel(tessic_.Open(Connection()));
  std::string text;
  tessic_.Send(channel, "drop");
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_FAILED);

  EXPECT_EQ(tessic_.Send(channel, "drop"), 0);
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(server_.connections(), 2);
}

TEST_F(TessicRoundTripTest, AReplyLongerThanTheBufferIsCutToFit) {
  const int32_t channel = tessic_.Channel(tessic_.Open(Connection()));
  tessic_.Send(channel, "big");
  std::string text;
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, std::string(kCapacity - 1, '7'));
}

TEST_F(TessicRoundTripTest, NoServerOrABadConnectionTextGivesNoSession) {
  uint16_t closed_port;
  {
    LineServer gone([](const std::string&) { return Response{}; });
    closed_port = gone.port();
  }
  EXPECT_LT(tessic_.Open("FMR/TCPIPc_127.0.0.1:" + std::to_string(closed_port)), 0);
  EXPECT_LT(tessic_.Open("COM3"), 0);
  EXPECT_LT(tessic_.Channel(12345), 0);
  std::string text;
  EXPECT_EQ(tessic_.Recv(-1, text), TESSIC_RECV_FAILED);
}

}  // namespace
