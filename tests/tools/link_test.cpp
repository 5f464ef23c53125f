// The transport stand-in TESSIC.dll, bound by name as the plug-in binds it:
// against the simulated handset's AT server, and against scripted handsets
// that misbehave (stray lines after a reply, replies that never end, silence,
// half replies); and its sessions when it is unloaded. Commands, replies,
// dropped connections and delayed replies are covered with the plug-in's
// command set (aud_app_at_server_test).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fmr-sim/gen2/at_server.h"
#include "line_server.h"
#include "tessic_api.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tessic_test::LineServer;

#define TESSIC_CALL(name) reinterpret_cast<decltype(&name)>(::dlsym(library_.get(), #name))

class Tessic {
 public:
  static constexpr int32_t kCapacity = 0x10000;

  Tessic() : library_(::dlopen(kPath, RTLD_NOW | RTLD_LOCAL)) {
    if (!library_) throw std::runtime_error("cannot load TESSIC.dll");
  }
  // A dedicated channel of a new session; the session goes to `session`.
  int32_t Channel(const std::string& connection, int32_t* session = nullptr) const {
    const int32_t id = TESSIC_CALL(TESSIC_SessionOpen)(connection.c_str(), "");
    if (session != nullptr) *session = id;
    return TESSIC_CALL(TESSIC_DedChOpen)(id);
  }
  uint8_t Close(int32_t session) const { return TESSIC_CALL(TESSIC_SessionClose)(session); }
  int32_t SetTimeout(int32_t channel, int32_t ms) const {
    return TESSIC_CALL(TESSIC_set_timeout)(channel, ms);
  }
  int32_t Send(int32_t channel, const std::string& text) const {
    return TESSIC_CALL(TESSIC_send)(channel, text.data(), static_cast<int32_t>(text.size()));
  }
  // One receive into a buffer without any zero byte, so a missing terminator
  // shows as a text of the whole capacity.
  int32_t Recv(int32_t channel, std::string& text) const {
    std::vector<char> buffer(kCapacity, '\x7F');
    const int32_t status = TESSIC_CALL(TESSIC_recv)(channel, buffer.data(), kCapacity);
    text.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
    return status;
  }
  // Receives until a final status, for at most 5 s.
  int32_t Await(int32_t channel, std::string& text) const {
    const auto end = Clock::now() + 5s;
    int32_t status = TESSIC_RECV_PENDING;
    while ((status = Recv(channel, text)) == TESSIC_RECV_PENDING && Clock::now() < end) {
    }
    return status;
  }
  // Sends `command` and receives its reply text; the status goes to `status`.
  std::string Exchange(int32_t channel, const std::string& command, int32_t& status) const {
    std::string text;
    Send(channel, command);
    status = Await(channel, text);
    return text;
  }
  void Unload() { library_.reset(); }

  static constexpr char kPath[] = SONVIO_BIN_DIR "/TESSIC.dll";

 private:
  struct Closer {
    void operator()(void* handle) const { ::dlclose(handle); }
  };
  std::unique_ptr<void, Closer> library_;
};

#undef TESSIC_CALL

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    server = fmrsim::AtServer::Start(std::move(config), error);
    ASSERT_NE(server, nullptr) << error;
  }
  std::string Connection() const {
    return "FMR/TCPIPc_127.0.0.1:" + std::to_string(server->port());
  }
  bool Powered() {
    return server->WithCommands([](fmrsim::AtCommands& at) { return at.radio().powered(); });
  }

  std::unique_ptr<fmrsim::AtServer> server;
  Tessic tessic;
  int32_t status = 0;
};

// Commands, replies and error replies of every kind go through the link in
// aud_app_at_server_test; here a second session while the first is open.
TEST_F(LinkTest, ANewSessionTakesOverWhileTheFirstIsOpen) {
  int32_t session = -1;
  tessic.Exchange(tessic.Channel(Connection(), &session), "at@audapp:fmrx_enable()", status);
  EXPECT_EQ(status, TESSIC_RECV_COMPLETE);
  EXPECT_TRUE(Powered());
  tessic.Exchange(tessic.Channel(Connection()), "at@audapp:fmr_disable()", status);
  EXPECT_EQ(status, TESSIC_RECV_COMPLETE);
  EXPECT_FALSE(Powered());
  EXPECT_EQ(server->connections(), 2u);
  EXPECT_EQ(tessic.Close(session), 1);
  EXPECT_EQ(tessic.Close(session), 0);
}

TEST_F(LinkTest, StoppingTheServerCutsAPendingDelayShort) {
  std::string error;
  server->faults().Add(*fmrsim::ParseFaultRule("delay=600000", error));
  const int32_t channel = tessic.Channel(Connection());
  tessic.Send(channel, "at@audapp:fmrx_enable()");
  while (server->connections() == 0) std::this_thread::yield();
  server.reset();
  std::string text;
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_FAILED);
}

TEST_F(LinkTest, NoServerOrABadConnectionTextGivesNoSession) {
  const std::string closed = Connection();
  server.reset();
  for (const std::string& bad : std::vector<std::string>{
           closed, "COM3", "TCPIPc_127.0.0.1:27018", "FMR/TCPIPc_127.0.0.1", "FMR/TCPIPc_:1",
           "FMR/TCPIPc_h:0", "FMR/TCPIPc_h:65536", "FMR/TCPIPc_h:12a"}) {
    EXPECT_LT(tessic.Channel(bad), 0) << bad;
  }
  std::string text;
  EXPECT_EQ(tessic.Recv(-1, text), TESSIC_RECV_FAILED);
}

// Answers every command with its text and "OK".
void Echo(const std::string& command, LineServer& server) {
  server.Write(command + "\r\nOK\r\n");
}

TEST(LinkFaultsTest, StrayLinesAfterAReplyDoNotShiftTheRepliesThatFollow) {
  std::atomic<bool> reply_taken = false;
  std::atomic<bool> stray_sent = false;
  LineServer server([&](const std::string& command, LineServer& handset) {
    Echo(command, handset);
    if (command != "A") return;
    // The stray lines come after the client has taken the reply.
    while (!reply_taken && !handset.stopping()) std::this_thread::yield();
    handset.Write("OK\r\n");
    handset.Write("late line\r\nERROR\r\n");
    stray_sent = true;
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server.connection());
  int32_t status = 0;
  EXPECT_EQ(tessic.Exchange(channel, "A", status), "A");
  reply_taken = true;
  while (!stray_sent) std::this_thread::yield();
  std::this_thread::sleep_for(20ms);  // the stray bytes reach the client's socket
  for (const char* command : {"B", "C"}) {
    EXPECT_EQ(tessic.Exchange(channel, command, status), command);
    EXPECT_EQ(status, TESSIC_RECV_COMPLETE);
  }
}

TEST(LinkFaultsTest, AnEndlessReplyIsCutToTheCapacityAndReceiveKeepsAnswering) {
  std::atomic<bool> stop_flood = false;
  std::atomic<bool> flooding = false;
  LineServer server([&](const std::string& command, LineServer& handset) {
    if (command != "FLOOD") return Echo(command, handset);
    // Bytes without a line end, for as long as the test lets them flow (at
    // most a few seconds, should the receive call never return).
    flooding = true;
    const std::string chunk(0x10000, 'x');
    const auto give_up = Clock::now() + 5s;
    while (!stop_flood && !handset.stopping() && Clock::now() < give_up && handset.Write(chunk)) {
    }
    flooding = false;
    handset.Write("\r\nOK\r\n");
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server.connection());
  tessic.Send(channel, "FLOOD");
  while (!flooding) std::this_thread::yield();
  std::string text;
  EXPECT_EQ(tessic.Recv(channel, text), TESSIC_RECV_PENDING);
  EXPECT_TRUE(flooding) << "the receive call returned only once the bytes stopped";
  stop_flood = true;
  EXPECT_EQ(tessic.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, std::string(Tessic::kCapacity - 1, 'x'));
  int32_t status = 0;
  EXPECT_EQ(tessic.Exchange(channel, "NEXT", status), "NEXT");
}

// The timeout of a new session comes from the environment (the default is
// longer than Await waits), then from TESSIC_set_timeout.
TEST(LinkFaultsTest, SilenceAndHalfRepliesFailAfterTheTimeout) {
  LineServer server([](const std::string& command, LineServer& handset) {
    if (command == "HALF") handset.Write("first line\r\nsecond li");
  });
  const Tessic tessic;
  ::setenv("TESSIC_TIMEOUT_MS", "200", 1);
  const int32_t channel = tessic.Channel(server.connection());
  ::unsetenv("TESSIC_TIMEOUT_MS");
  int32_t status = 0;
  for (const int timeout_ms : {200, 300}) {
    if (timeout_ms != 200) {
      ASSERT_EQ(tessic.SetTimeout(channel, timeout_ms), 0);
    }
    for (const char* command : {"SILENT", "HALF"}) {
      const auto start = Clock::now();
      tessic.Exchange(channel, command, status);
      EXPECT_EQ(status, TESSIC_RECV_FAILED) << command;
      EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(timeout_ms)) << command;
    }
  }
  EXPECT_EQ(tessic.SetTimeout(channel, 0), -1);
  EXPECT_EQ(tessic.SetTimeout(channel + 1000, 200), -1);
}

TEST(LinkFaultsTest, UnloadingTheLibraryClosesItsSessions) {
  LineServer server(Echo);
  Tessic tessic;
  int32_t status = 0;
  EXPECT_EQ(tessic.Exchange(tessic.Channel(server.connection()), "PING", status), "PING");
  tessic.Unload();
  void* still_loaded = ::dlopen(Tessic::kPath, RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still_loaded, nullptr) << "the library stays loaded";
  if (still_loaded != nullptr) ::dlclose(still_loaded);
  const auto give_up = Clock::now() + 5s;
  while (server.disconnects() == 0 && Clock::now() < give_up) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.disconnects(), 1);
}

}  // namespace
