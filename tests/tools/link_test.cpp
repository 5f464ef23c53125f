// The transport stand-in TESSIC.dll, bound by name as the plug-in binds it,
// against scripted handsets that misbehave: stray lines after a reply,
// replies that never end, silence and half replies; and its sessions when it
// is unloaded. Commands, replies, bad connection texts and dropped
// connections are covered with the plug-in's command set
// (aud_app_at_server_test) and the gen2 tour.
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
  static constexpr char kPath[] = SONVIO_BIN_DIR "/TESSIC.dll";

  Tessic() : library_(::dlopen(kPath, RTLD_NOW | RTLD_LOCAL)) {
    if (!library_) throw std::runtime_error("cannot load TESSIC.dll");
  }
  // A dedicated channel of a new session.
  int32_t Channel(const std::string& connection) const {
    return TESSIC_CALL(TESSIC_DedChOpen)(TESSIC_CALL(TESSIC_SessionOpen)(connection.c_str(), ""));
  }
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

 private:
  struct Closer {
    void operator()(void* handle) const { ::dlclose(handle); }
  };
  std::unique_ptr<void, Closer> library_;
};

#undef TESSIC_CALL

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
    handset.Write("OK\r\nlate line\r\nERROR\r\n");
    stray_sent = true;
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server.connection());
  int32_t status = 0;
  EXPECT_EQ(tessic.Exchange(channel, "A", status), "A");
  reply_taken = true;
  while (!stray_sent) std::this_thread::yield();
  std::this_thread::sleep_for(20ms);  // the stray bytes reach the client's socket
  EXPECT_EQ(tessic.Exchange(channel, "B", status), "B");
  EXPECT_EQ(status, TESSIC_RECV_COMPLETE);
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
  for (const auto& [command, timeout_ms] : {std::pair{"SILENT", 200}, {"HALF", 300}}) {
    if (timeout_ms != 200) {
      ASSERT_EQ(tessic.SetTimeout(channel, timeout_ms), 0);
    }
    const auto start = Clock::now();
    tessic.Exchange(channel, command, status);
    EXPECT_EQ(status, TESSIC_RECV_FAILED) << command;
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(timeout_ms)) << command;
  }
  EXPECT_EQ(tessic.SetTimeout(channel, 0), -1);
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
