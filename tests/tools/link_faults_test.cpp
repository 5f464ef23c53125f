// The transport stand-in against handsets that misbehave: stray lines after
// a reply, replies that never end, silence, half replies, CR-only line ends;
// and the library's sessions when it is unloaded.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "line_server.h"
#include "tessic_library.h"

namespace {

using namespace std::chrono_literals;
using tessic_test::LineServer;
using tessic_test::Tessic;
using Clock = std::chrono::steady_clock;

// Answers every command with its text in lower case and "OK".
void Echo(const std::string& command, LineServer::Writer& writer) {
  std::string text = command;
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  writer.Write(text + "\r\nOK\r\n");
}

class LinkFaultsTest : public ::testing::Test {
 protected:
  int32_t OpenChannel(const LineServer& server) {
    session_ = tessic_.Open(server.connection());
    return tessic_.Channel(session_);
  }
  // Sends `command` and receives its reply text; the status goes to `status`.
  std::string Exchange(int32_t channel, const std::string& command, int32_t& status) {
    std::string text;
    tessic_.Send(channel, command);
    status = tessic_.Await(channel, text);
    return text;
  }

  Tessic tessic_;
  int32_t session_ = -1;
  int32_t status_ = 0;
};

TEST_F(LinkFaultsTest, StrayLinesAfterAReplyDoNotShiftTheRepliesThatFollow) {
  std::atomic<bool> reply_taken = false;
  std::atomic<bool> stray_sent = false;
  LineServer server([&](const std::string& command, LineServer::Writer& writer) {
    Echo(command, writer);
    if (command != "A") return;
    // The stray lines come after the client has taken the reply.
    while (!reply_taken && !writer.stopping()) std::this_thread::yield();
    writer.Write("OK\r\n");
    writer.Write("late line\r\nERROR\r\n");
    stray_sent = true;
  });
  const int32_t channel = OpenChannel(server);
  EXPECT_EQ(Exchange(channel, "A", status_), "a");
  reply_taken = true;
  while (!stray_sent) std::this_thread::yield();
  std::this_thread::sleep_for(20ms);  // the stray bytes reach the client's socket
  EXPECT_EQ(Exchange(channel, "B", status_), "b");
  EXPECT_EQ(status_, TESSIC_RECV_COMPLETE);
  EXPECT_EQ(Exchange(channel, "C", status_), "c");
  EXPECT_EQ(status_, TESSIC_RECV_COMPLETE);
}

TEST_F(LinkFaultsTest, AnEndlessReplyIsCutToTheCapacityAndReceiveKeepsAnswering) {
  std::atomic<bool> stop_flood = false;
  std::atomic<bool> flooding = false;
  LineServer server([&](const std::string& command, LineServer::Writer& writer) {
    if (command != "FLOOD") return Echo(command, writer);
    // Bytes without a line end, for as long as the test lets them flow (at
    // most a few seconds, should the receive call never return).
    flooding = true;
    const std::string chunk(0x10000, 'x');
    const auto give_up = Clock::now() + 5s;
    while (!stop_flood && !writer.stopping() && Clock::now() < give_up && writer.Write(chunk)) {
    }
    flooding = false;
    writer.Write("\r\nOK\r\n");
  });
  const int32_t channel = OpenChannel(server);
  tessic_.Send(channel, "FLOOD");
  while (!flooding) std::this_thread::yield();
  std::string text;
  EXPECT_EQ(tessic_.Recv(channel, text), TESSIC_RECV_PENDING);
  EXPECT_TRUE(flooding) << "the receive call returned only once the bytes stopped";
  stop_flood = true;
  EXPECT_EQ(tessic_.Await(channel, text), TESSIC_RECV_COMPLETE);
  EXPECT_EQ(text, std::string(Tessic::kCapacity - 1, 'x'));
  EXPECT_EQ(Exchange(channel, "NEXT", status_), "next");
}

TEST_F(LinkFaultsTest, SilenceAndHalfRepliesFailAfterTheTimeoutAndCrAloneEndsALine) {
  struct Row {
    const char* command;
    const char* answer;
    int32_t status;
    const char* text;
  };
  const Row rows[] = {
      {"SILENT", "", TESSIC_RECV_FAILED, ""},
      {"HALF", "first line\r\nsecond li", TESSIC_RECV_FAILED, ""},
      {"CR", "a\rb\rOK\r", TESSIC_RECV_COMPLETE, "a\rb"},
      {"CR ERROR", "x\rERROR\r", TESSIC_RECV_ERROR, "x"},
      {"CRLF", "y\r\nOK\r\n", TESSIC_RECV_COMPLETE, "y"},
  };
  std::map<std::string, std::string> answers;
  for (const Row& row : rows) answers[row.command] = row.answer;
  LineServer server([&](const std::string& command, LineServer::Writer& writer) {
    writer.Write(answers[command]);
  });
  const int32_t channel = OpenChannel(server);
  ASSERT_EQ(tessic_.SetTimeout(channel, 200), 0);
  for (const Row& row : rows) {
    const auto start = Clock::now();
    const std::string text = Exchange(channel, row.command, status_);
    EXPECT_EQ(status_, row.status) << row.command;
    if (row.status == TESSIC_RECV_FAILED) {
      EXPECT_GE(Clock::now() - start, 200ms) << row.command;
    } else {
      EXPECT_EQ(text, row.text) << row.command;
    }
  }
  EXPECT_EQ(tessic_.SetTimeout(channel, 0), -1);
  EXPECT_EQ(tessic_.SetTimeout(channel + 1000, 200), -1);
}

TEST_F(LinkFaultsTest, TheEnvironmentSetsTheTimeoutOfNewSessions) {
  LineServer server([](const std::string&, LineServer::Writer&) {});
  ::setenv("TESSIC_TIMEOUT_MS", "200", 1);
  const int32_t channel = OpenChannel(server);
  ::unsetenv("TESSIC_TIMEOUT_MS");
  Exchange(channel, "SILENT", status_);
  EXPECT_EQ(status_, TESSIC_RECV_FAILED);
}

TEST_F(LinkFaultsTest, UnloadingTheLibraryClosesItsSessions) {
  LineServer server(Echo);
  const int32_t channel = OpenChannel(server);
  EXPECT_EQ(Exchange(channel, "PING", status_), "ping");
  tessic_.Unload();
  void* still_loaded = ::dlopen(SONVIO_BIN_DIR "/TESSIC.dll", RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still_loaded, nullptr) << "the library stays loaded";
  if (still_loaded != nullptr) ::dlclose(still_loaded);
  const auto give_up = Clock::now() + 5s;
  while (server.disconnects() == 0 && Clock::now() < give_up) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.disconnects(), 1);
}

}  // namespace
