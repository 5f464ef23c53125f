// The transport stand-in TESSIC.dll, bound by name as the plug-in binds it,
// against scripted handsets: the status and text of each kind of reply,
// what its calls answer on channels and sessions that are not (or no longer)
// open, and handsets that misbehave: stray lines after a reply, late
// replies, replies that never end, silence and half replies; and its
// sessions when it is unloaded.
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
  // A session on the plug-in's connection text, pointed at `server`.
  int32_t Session(const LineServer& server) const {
    ::setenv("TESSIC_AT_SERVER", server.address().c_str(), 1);
    return TESSIC_CALL(TESSIC_SessionOpen)("FMR/TCPIPc_127.0.0.1:27018", "");
  }
  // A dedicated channel of a new session.
  int32_t Channel(const LineServer& server) const {
    return TESSIC_CALL(TESSIC_DedChOpen)(Session(server));
  }
  void* handle() const { return library_.get(); }
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
// Any function of a loaded Tessic.
#define CALL(tessic, name) reinterpret_cast<decltype(&name)>(::dlsym((tessic).handle(), #name))

// Answers every command with its text and "OK".
void Echo(const std::string& command, LineServer& server) {
  server.Write(command + "\r\nOK\r\n");
}

// Each command's reply as the handset writes it, in one piece or in two
// (the second part 100 ms later), and the status and text the receive hands
// out; one after the other on one channel, so nothing of one reply may
// show in the next.
TEST(TessicTest, EachKindOfReplyGetsItsStatusAndOnlyItsText) {
  const struct {
    const char* command;
    const char* bytes;
    const char* later;
    int32_t status;
    const char* text;
  } cases[] = {
      {"POS", "line 1\r\nline 2\r\nOK\r\n", "", TESSIC_RECV_COMPLETE, "line 1\r\nline 2"},
      {"NEG", "+CME ERROR: 3\r\nERROR\r\n", "", TESSIC_RECV_ERROR, "+CME ERROR: 3"},
      {"LONG", "abcdefghijklmnop\r\nOK\r\n", "", TESSIC_RECV_COMPLETE, "abcdefghijklmnop"},
      {"BARE_OK", "OK\r\n", "", TESSIC_RECV_COMPLETE, ""},
      {"BARE_ERROR", "ERROR\r\n", "", TESSIC_RECV_ERROR, ""},
      {"STRAY", "a\r\nOK\r\nstray\r\nERROR\r\n", "", TESSIC_RECV_COMPLETE, "a"},
      {"POS", "line 1\r\nline 2\r\nOK\r\n", "", TESSIC_RECV_COMPLETE, "line 1\r\nline 2"},
      {"SPLIT", "x\r\nER", "ROR\r\n", TESSIC_RECV_ERROR, "x"},
      {"SPLIT_AFTER_LINE", "y\r\n", "OK\r\n", TESSIC_RECV_COMPLETE, "y"},
  };
  LineServer server([&](const std::string& command, LineServer& handset) {
    for (const auto& c : cases) {
      if (command != c.command) continue;
      handset.Write(c.bytes);
      if (*c.later == '\0') return;
      std::this_thread::sleep_for(100ms);
      handset.Write(c.later);
      return;
    }
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    std::string text;
    ASSERT_EQ(tessic.Send(channel, c.command), 0);
    if (*c.later != '\0') {
      EXPECT_EQ(tessic.Recv(channel, text), TESSIC_RECV_PENDING);
    }
    EXPECT_EQ(tessic.Await(channel, text), c.status);
    EXPECT_EQ(text, c.text);
  }
}

// A reply that comes after its receive gave up is not taken for the
// reply of the command sent next.
TEST(TessicTest, AReplyTooLateForItsCommandIsNotTakenForTheNext) {
  LineServer server([](const std::string& command, LineServer& handset) {
    if (command == "SLOW") std::this_thread::sleep_for(400ms);
    handset.Write(command + "\r\nOK\r\n");
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server);
  ASSERT_EQ(tessic.SetTimeout(channel, 150), 0);
  int32_t status = 0;
  tessic.Exchange(channel, "SLOW", status);
  EXPECT_EQ(status, TESSIC_RECV_FAILED);
  ASSERT_EQ(tessic.SetTimeout(channel, 2000), 0);
  EXPECT_EQ(tessic.Exchange(channel, "NEXT", status), "NEXT");
  EXPECT_EQ(status, TESSIC_RECV_COMPLETE);
}

// What each call answers for what is not open, and a connection the
// handset closed: the receive fails, the next send connects again.
TEST(TessicTest, CallsOnWhatIsNotOpenFailAndALostConnectionIsMadeAgain) {
  LineServer server([](const std::string& command, LineServer& handset) {
    if (command == "HANG UP") return handset.Drop();
    handset.Write(command + "\r\nOK\r\n");
  });
  const Tessic tessic;
  const int32_t session = tessic.Session(server);
  ASSERT_GE(session, 0);
  // Connection texts that do not parse fail even with the server named.
  for (const char* bad : {"", "FMR/TCPIPc_", "FMR/TCPIPc_127.0.0.1", "FMR/TCPIPc_127.0.0.1:0",
                          "FMR/TCPIPc_127.0.0.1:65536", "FMR/TCPIPc_:27018",
                          "FMR/TCPIPc_127.0.0.1:27O18", "FMR/TCPIP_127.0.0.1:27018"}) {
    EXPECT_LT(CALL(tessic, TESSIC_SessionOpen)(bad, ""), 0) << bad;
  }
  const int32_t channel = CALL(tessic, TESSIC_DedChOpen)(session);
  EXPECT_EQ(CALL(tessic, TESSIC_DedChOpen)(session), channel);
  EXPECT_LT(CALL(tessic, TESSIC_DedChOpen)(session + 100), 0);
  char buffer[16] = "untouched";
  EXPECT_EQ(CALL(tessic, TESSIC_send)(channel + 100, "PING", 4), -1);
  EXPECT_EQ(CALL(tessic, TESSIC_recv)(channel + 100, buffer, sizeof buffer), TESSIC_RECV_FAILED);
  EXPECT_EQ(CALL(tessic, TESSIC_send)(channel, "PING", -1), -1);
  EXPECT_EQ(CALL(tessic, TESSIC_recv)(channel, nullptr, 16), TESSIC_RECV_FAILED);
  EXPECT_EQ(CALL(tessic, TESSIC_recv)(channel, buffer, 0), TESSIC_RECV_FAILED);
  EXPECT_STREQ(buffer, "untouched");

  int32_t status = 0;
  tessic.Exchange(channel, "HANG UP", status);
  EXPECT_EQ(status, TESSIC_RECV_FAILED);
  EXPECT_EQ(tessic.Exchange(channel, "PING", status), "PING");
  EXPECT_EQ(status, TESSIC_RECV_COMPLETE);

  EXPECT_EQ(CALL(tessic, TESSIC_DedChClose)(channel), 0);
  EXPECT_EQ(CALL(tessic, TESSIC_DedChClose)(channel), -1);
  EXPECT_EQ(tessic.Send(channel, "PING"), -1);
  const int32_t reopened = CALL(tessic, TESSIC_DedChOpen)(session);
  EXPECT_GE(reopened, 0);
  EXPECT_EQ(CALL(tessic, TESSIC_SessionClose)(session), 1);
  EXPECT_EQ(CALL(tessic, TESSIC_SessionClose)(session), 0);
  EXPECT_EQ(tessic.Send(reopened, "PING"), -1);
  std::string text;
  EXPECT_EQ(tessic.Recv(reopened, text), TESSIC_RECV_FAILED);
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
  const int32_t channel = tessic.Channel(server);
  int32_t status = 0;
  EXPECT_EQ(tessic.Exchange(channel, "A", status), "A");
  reply_taken = true;
  const auto give_up = Clock::now() + 5s;
  while (!stray_sent && Clock::now() < give_up) std::this_thread::yield();
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
  const int32_t channel = tessic.Channel(server);
  tessic.Send(channel, "FLOOD");
  const auto give_up = Clock::now() + 5s;
  while (!flooding && Clock::now() < give_up) std::this_thread::yield();
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
  const int32_t channel = tessic.Channel(server);
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
  EXPECT_EQ(tessic.Exchange(tessic.Channel(server), "PING", status), "PING");
  tessic.Unload();
  void* still_loaded = ::dlopen(Tessic::kPath, RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still_loaded, nullptr) << "the library stays loaded";
  if (still_loaded != nullptr) ::dlclose(still_loaded);
  const auto give_up = Clock::now() + 5s;
  while (server.disconnects() == 0 && Clock::now() < give_up) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.disconnects(), 1);
}

}  // namespace
