// The transport stand-in TESSIC.dll: its reply framing (line ends, final
// lines, replies split across reads or sharing one, the hold limit, the
// echo that starts a reply); bound by name as the plug-in binds it, against
// scripted handsets and the simulated one: each kind of reply, calls on what
// is not open, each fault of the simulated handset, and its sessions when it
// is unloaded.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "fmr-sim/gen2/at_server.h"
#include "line_server.h"
#include "reply_framer.h"
#include "tessic_api.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tessic_test::LineServer;
using Reply = std::pair<int32_t, std::string>;  // receive status and text

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

// What the framer found of the echo.
std::string EchoState(const tessic::ReplyFramer& framer) {
  if (framer.echo_refused()) return "refused";
  if (framer.echo_missing()) return "missing";
  return framer.echo_seen() ? "seen" : "none";
}

TEST(ReplyFramerTest, FramesRepliesByTheirFinalLine) {
  struct Case {
    std::vector<std::string> reads;  // the bytes of each read
    Replies replies;
    size_t limit = 0xFFFF;
    const char* echo = nullptr;  // the command whose echo is expected
    bool after_switch = false;   // a reply to "ATE1" comes first
    std::string echo_state = "none";
  };
  const Case cases[] = {
      {{"a\rb\rOK\r", "c\nd\nERROR\n"}, {{false, "a\r\nb"}, {true, "c\r\nd"}}},
      {{"\r\nOKAY\r\n OK\r\nOK \r\nOK\r\n"}, {{false, "\r\nOKAY\r\n OK\r\nOK "}}},
      {{"a\r", "\nO", "K\r", "\nb\r\nOK\r\nc\r\nOK"}, {{false, "a"}, {false, "b"}}},
      // Beyond the limit: cut, the rest dropped up to its final line.
      {{"abc\r\ndefgh\r\nOK\r\nnext\r\nOK\r\n"}, {{false, "abc\r\n"}, {false, "next"}}, 5},
      // Everything before the echo goes: earlier replies, stray lines, an
      // unfinished line the echo is glued to, a line that only starts with it.
      {{"old\r\nOK\r\n+X\r\nCMD1\r\nERROR\r\nhalfCM", "D\r", "\nr\r\nOK\r\n"},
       {{false, "r"}},
       0xFFFF,
       "CMD",
       false,
       "seen"},
      {{"ATE1\r\nOK\r\nCMD\r\nv\nOK\n"}, {{false, "v"}}, 0xFFFF, "CMD", true, "seen"},
      // After the switch's OK the lines before the echo go too.
      {{"OK\r\n", "+X: 1\r\nstray\r\nCM", "D\r\nv\r\nOK\r\n"},
       {{false, "v"}},
       0xFFFF,
       "CMD",
       true,
       "seen"},
      // A handset that refuses the echo: the next final line ends the reply.
      {{"ERROR\r\nv\r\nERROR\r\n"}, {{true, "v"}}, 0xFFFF, "CMD", true, "refused"},
      // One that acknowledges it but does not echo: the first final line
      // ends the reply all the same, and the framing goes on without echo.
      {{"OK\r\nv\r\n+X: 1\r\nw\r\nOK\r\n", "ERROR\r\nx\r\nOK\r\n"},
       {{false, "v\r\nw"}, {true, ""}, {false, "x"}},
       0xFFFF,
       "CMD",
       true,
       "missing"},
      {{"OK\r\n+CME ERROR: 4\r\n"}, {{true, "+CME ERROR: 4"}}, 0xFFFF, "CMD", true, "missing"},
  };
  for (const Case& c : cases) {
    tessic::ReplyFramer framer;
    if (c.echo != nullptr) framer.Expect(c.echo, c.after_switch);
    framer.set_limit(c.limit);
    EXPECT_EQ(Frame(framer, c.reads), c.replies) << c.reads[0];
    EXPECT_EQ(EchoState(framer), c.echo_state) << c.reads[0];
  }
}

// Unsolicited lines, before the echo or anywhere inside a reply, go to the
// sink and never into a reply; "+CME ERROR" ends a reply with its reason;
// lines that only look alike stay reply lines.
TEST(ReplyFramerTest, UnsolicitedLinesGoToTheSinkAndNeverIntoAReply) {
  struct Case {
    std::vector<std::string> reads;
    Replies replies;
    std::vector<std::string> unsolicited;
    const char* command = "C";
  };
  const std::string long_line = "+LONG: " + std::string(tessic::kLongestUnsolicitedLine, 'x');
  const Case cases[] = {
      {{"+FMRX: RSSI 32\r\nC\r\n1\r\n+FM", "RX: RSSI 33\r", "\n2\r\n+A1_B:\r\nOK\r\n"},
       {{false, "1\r\n2"}},
       {"+FMRX: RSSI 32", "+FMRX: RSSI 33", "+A1_B:"}},
      {{"C\r\n+FMRX: x\nOK\n"}, {{false, ""}}, {"+FMRX: x"}},
      {{"C\r\n1\r\n+CME ERROR: 3\r\n"}, {{true, "1\r\n+CME ERROR: 3"}}, {}},
      {{"C\r\n+CMS ERROR: 500\r\n"}, {{true, "+CMS ERROR: 500"}}, {}},
      // Not of the form: a signed number, a small letter, no colon, too long.
      {{"C\r\n+5\r\n+fm: 1\r\n+FMRX 1\r\n+\r\n" + long_line + "\r\nOK\r\n"},
       {{false, "+5\r\n+fm: 1\r\n+FMRX 1\r\n+\r\n" + long_line}},
       {}},
      // A modem command's own information line is its reply.
      {{"at+csq\r\n+CSQ: 20,99\r\n+CREG: 1\r\nOK\r\n"},
       {{false, "+CSQ: 20,99"}},
       {"+CREG: 1"},
       "at+csq"},
  };
  for (const Case& c : cases) {
    tessic::ReplyFramer framer;
    std::vector<std::string> seen;
    framer.set_unsolicited_sink([&](std::string_view line) { seen.emplace_back(line); });
    framer.Expect(c.command, false);
    EXPECT_EQ(Frame(framer, c.reads), c.replies) << c.reads[0];
    EXPECT_EQ(seen, c.unsolicited) << c.reads[0];
  }
}

// A line half received after one reply: on the same connection its end
// comes before the next echo, and the unsolicited line reaches the sink; a
// new connection (the echo switch first) never sees it, whole or joined to
// the first line it gets.
TEST(ReplyFramerTest, AHalfLineEndsOnItsOwnConnectionOnly) {
  for (const bool new_connection : {false, true}) {
    SCOPED_TRACE(new_connection ? "new connection" : "same connection");
    tessic::ReplyFramer framer;
    std::vector<std::string> seen;
    framer.set_unsolicited_sink([&](std::string_view line) { seen.emplace_back(line); });
    framer.Expect("A", false);
    EXPECT_EQ(Frame(framer, {"A\r\n1\r\nOK\r\n+FMRX: RS"}), (Replies{{false, "1"}}));
    framer.Expect("B", new_connection);
    EXPECT_EQ(
        Frame(framer, {new_connection ? "OK\r\nB\r\n2\r\nOK\r\n" : "SI 32\r\nB\r\n2\r\nOK\r\n"}),
        (Replies{{false, "2"}}));
    EXPECT_EQ(seen, new_connection ? std::vector<std::string>{}
                                   : std::vector<std::string>{"+FMRX: RSSI 32"});
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

// Any function of the loaded library.
#define CALL(tessic, name) reinterpret_cast<decltype(&name)>(::dlsym((tessic).handle(), #name))

class Tessic {
 public:
  static constexpr int32_t kCapacity = 0x10000;
  static constexpr char kPath[] = SONVIO_BIN_DIR "/TESSIC.dll";

  Tessic() : library_(::dlopen(kPath, RTLD_NOW | RTLD_LOCAL), ::dlclose) {
    if (!library_) throw std::runtime_error("cannot load TESSIC.dll");
  }
  // A session on `address`, named both by the connection text and by the
  // override, so no path leads to another program's port.
  int32_t Session(const std::string& address, const char* options = "") const {
    ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
    return CALL(*this, TESSIC_SessionOpen)(("FMR/TCPIPc_" + address).c_str(), options);
  }
  int32_t Channel(const LineServer& server) const {  // of a new session
    return CALL(*this, TESSIC_DedChOpen)(Session(server.address()));
  }
  int32_t SetTimeout(int32_t channel, int32_t ms) const {
    return CALL(*this, TESSIC_set_timeout)(channel, ms);
  }
  int32_t Send(int32_t channel, const std::string& text) const {
    return CALL(*this, TESSIC_send)(channel, text.data(), static_cast<int32_t>(text.size()));
  }
  // One receive into a buffer without any zero byte, so a missing terminator
  // shows as a text of the whole capacity.
  Reply Recv(int32_t channel) const {
    std::vector<char> buffer(kCapacity, '\x7F');
    const int32_t status = CALL(*this, TESSIC_recv)(channel, buffer.data(), kCapacity);
    return {status, std::string(buffer.data(), ::strnlen(buffer.data(), buffer.size()))};
  }
  // Receives until a final status, for at most 5 s.
  Reply Await(int32_t channel) const {
    const auto end = Clock::now() + 5s;
    Reply reply{TESSIC_RECV_PENDING, ""};
    while ((reply = Recv(channel)).first == TESSIC_RECV_PENDING && Clock::now() < end) {
    }
    return reply;
  }
  Reply Exchange(int32_t channel, const std::string& command) const {
    Send(channel, command);
    return Await(channel);
  }
  void* handle() const { return library_.get(); }
  void Unload() { library_.reset(); }

 private:
  std::unique_ptr<void, int (*)(void*)> library_;
};

// Answers every command with its text and "OK".
void Echo(const std::string& command, LineServer& server) {
  server.Write(command + "\r\nOK\r\n");
}

// Each command's reply as the handset writes it, in one piece or in two
// (the second part 100 ms later), and the status and text the receive hands
// out; one after the other on one channel, so nothing of one reply may
// show in the next.
TEST(TessicTest, EachKindOfReplyGetsItsStatusAndOnlyItsText) {
  // Command, its reply's bytes and their later part, and the reply received.
  const std::tuple<std::string, std::string, std::string, Reply> cases[] = {
      {"POS", "line 1\r\nline 2\r\nOK\r\n", "", {TESSIC_RECV_COMPLETE, "line 1\r\nline 2"}},
      {"NEG", "+CME ERROR: 3\r\nERROR\r\n", "", {TESSIC_RECV_ERROR, "+CME ERROR: 3"}},
      {"LONG", "abcdefghijklmnop\r\nOK\r\n", "", {TESSIC_RECV_COMPLETE, "abcdefghijklmnop"}},
      {"BARE_OK", "OK\r\n", "", {TESSIC_RECV_COMPLETE, ""}},
      {"BARE_ERROR", "ERROR\r\n", "", {TESSIC_RECV_ERROR, ""}},
      {"STRAY", "a\r\nOK\r\nstray\r\nERROR\r\n", "", {TESSIC_RECV_COMPLETE, "a"}},
      {"POS", "line 1\r\nline 2\r\nOK\r\n", "", {TESSIC_RECV_COMPLETE, "line 1\r\nline 2"}},
      {"SPLIT", "x\r\nER", "ROR\r\n", {TESSIC_RECV_ERROR, "x"}},
      {"SPLIT_AFTER_LINE", "y\r\n", "OK\r\n", {TESSIC_RECV_COMPLETE, "y"}},
  };
  LineServer server([&](const std::string& command, LineServer& handset) {
    for (const auto& [name, bytes, later, reply] : cases) {
      if (command != name) continue;
      handset.Write(bytes);
      if (!later.empty()) std::this_thread::sleep_for(100ms);
      return (void)handset.Write(later);
    }
  });
  const Tessic tessic;
  const int32_t channel = tessic.Channel(server);
  for (const auto& [command, bytes, later, reply] : cases) {
    SCOPED_TRACE(command);
    ASSERT_EQ(tessic.Send(channel, command), 0);
    const int32_t first = !later.empty() ? tessic.Recv(channel).first : TESSIC_RECV_PENDING;
    EXPECT_EQ(first, TESSIC_RECV_PENDING) << "a receive before the last part";
    EXPECT_EQ(tessic.Await(channel), reply);
  }
}

// What each call answers for what is not open, and a connection the
// handset closed: the receive fails, the next send connects again.
TEST(TessicTest, CallsOnWhatIsNotOpenFailAndALostConnectionIsMadeAgain) {
  LineServer server([](const std::string& command, LineServer& handset) {
    if (command == "HANG UP") return handset.Drop();
    Echo(command, handset);
  });
  const Tessic tessic;
  const int32_t session = tessic.Session(server.address());
  ASSERT_GE(session, 0);
  // Connection texts that do not parse fail even with the server named.
  for (const char* bad : {"", "FMR/TCPIPc_", "FMR/TCPIPc_127.0.0.1", "FMR/TCPIPc_127.0.0.1:0",
                          "FMR/TCPIPc_127.0.0.1:65536", "FMR/TCPIPc_:27019",
                          "FMR/TCPIPc_127.0.0.1:27O19", "FMR/TCPIP_127.0.0.1:27019"}) {
    EXPECT_LT(CALL(tessic, TESSIC_SessionOpen)(bad, ""), 0) << bad;
  }
  const int32_t channel = CALL(tessic, TESSIC_DedChOpen)(session);
  EXPECT_EQ(CALL(tessic, TESSIC_DedChOpen)(session), channel);
  EXPECT_LT(CALL(tessic, TESSIC_DedChOpen)(session + 100), 0);
  // Sends and receives on an unknown channel, of a negative length, into no
  // buffer or none of any room: each fails (-1) and writes nothing.
  char buffer[16] = "untouched";
  const auto send_on = CALL(tessic, TESSIC_send);
  const auto receive_on = CALL(tessic, TESSIC_recv);
  EXPECT_EQ((std::vector{send_on(channel + 100, "PING", 4), receive_on(channel + 100, buffer, 16),
                         send_on(channel, "PING", -1), receive_on(channel, nullptr, 16),
                         receive_on(channel, buffer, 0)}),
            std::vector<int32_t>(5, TESSIC_RECV_FAILED));
  EXPECT_STREQ(buffer, "untouched");

  EXPECT_EQ(tessic.Exchange(channel, "HANG UP").first, TESSIC_RECV_FAILED);
  EXPECT_EQ(tessic.Exchange(channel, "PING"), (Reply{TESSIC_RECV_COMPLETE, "PING"}));
  EXPECT_EQ(tessic.Recv(channel).first, TESSIC_RECV_FAILED) << "no command awaits a reply";
  // A handset without echo, and options that are not known.
  const LineServer plain(Echo, false);
  EXPECT_LT(tessic.Session(plain.address(), "echo=maybe"), 0);
  const int32_t echoless =
      CALL(tessic, TESSIC_DedChOpen)(tessic.Session(plain.address(), "echo=off"));
  EXPECT_EQ(tessic.Exchange(echoless, "PING"), (Reply{TESSIC_RECV_COMPLETE, "PING"}));

  // Closing a channel twice, then sending on it; the same for its session.
  const auto close_channel = CALL(tessic, TESSIC_DedChClose);
  EXPECT_EQ(
      (std::vector{close_channel(channel), close_channel(channel), send_on(channel, "PING", 4)}),
      (std::vector{0, -1, -1}));
  const int32_t reopened = CALL(tessic, TESSIC_DedChOpen)(session);
  EXPECT_GE(reopened, 0);
  const auto close_session = CALL(tessic, TESSIC_SessionClose);
  EXPECT_EQ((std::vector<int32_t>{close_session(session), close_session(session),
                                  send_on(reopened, "PING", 4), tessic.Recv(reopened).first}),
            (std::vector{1, 0, -1, TESSIC_RECV_FAILED}));
}

// Silence, a half reply and a late one fail after the channel's timeout
// (a new session's from the environment, the default being longer than
// Await waits, then from TESSIC_set_timeout); the late reply is not taken
// for the command sent next.
TEST(LinkFaultsTest, SilenceHalfAndLateRepliesFailAfterTheTimeout) {
  LineServer server([](const std::string& command, LineServer& handset) {
    if (command == "SILENT") return;
    if (command == "HALF") return (void)handset.Write("first line\r\nsecond li");
    if (command == "SLOW") std::this_thread::sleep_for(400ms);
    Echo(command, handset);
  });
  const Tessic tessic;
  ::setenv("TESSIC_TIMEOUT_MS", "200", 1);
  const int32_t channel = tessic.Channel(server);
  ::unsetenv("TESSIC_TIMEOUT_MS");
  for (const auto& [command, ms] : {std::pair{"SILENT", 200}, {"HALF", 300}, {"SLOW", 150}}) {
    ASSERT_EQ(ms == 200 ? 0 : tessic.SetTimeout(channel, ms), 0);
    const auto start = Clock::now();
    EXPECT_EQ(tessic.Exchange(channel, command).first, TESSIC_RECV_FAILED) << command;
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(ms)) << command;
  }
  ASSERT_EQ(tessic.SetTimeout(channel, 2000), 0);
  EXPECT_EQ(tessic.Exchange(channel, "NEXT"), (Reply{TESSIC_RECV_COMPLETE, "NEXT"}));
  EXPECT_EQ(tessic.SetTimeout(channel, 0), -1);
}

// Each fault of the simulated handset on the first of a series of commands
// whose replies tell them apart: the reply of a command is never taken by
// another, a failed attempt ends at the channel's deadline (also while the
// bytes trickle in), and the commands after it get their own replies.
TEST(LinkFaultsTest, EachHandsetFaultLeavesEveryReplyWithItsOwnCommand) {
  constexpr char kLna[] = "at@audapp:fmrx_get_lna_cfg()";
  constexpr char kOn[] = "at@audapp:fmrx_enable()";  // replies ""
  const Reply lna{TESSIC_RECV_COMPLETE, "{88000000,98000000},{-2,1}"};
  const Reply on{TESSIC_RECV_COMPLETE, ""};
  const Reply failed{TESSIC_RECV_FAILED, ""};
  // The fault, the outcome of kLna within 300 ms, and the commands after it,
  // each answered in full.
  const std::tuple<std::string, Reply, std::vector<const char*>> cases[] = {
      {"late", failed, {kOn, kLna}},  // the late reply comes while kOn waits
      {"late", failed, {kLna, kOn}},  // ... while the same command waits again
      {"trickle=100", failed, {kOn, kLna}}, {"duplicate", lna, {kOn, kLna}},
      {"partial", failed, {kOn, kLna}},     {"stray", lna, {kOn, kLna}},
      {"garbage", failed, {kOn, kLna}},     {"garbage", failed, {kLna, kOn}},
  };
  const Tessic tessic;
  for (const auto& [fault, outcome, then] : cases) {
    SCOPED_TRACE(fault);
    fmrsim::AtServerConfig config;
    config.port = 0;
    std::string error;
    const auto server = fmrsim::AtServer::Start(std::move(config), error);
    ASSERT_NE(server, nullptr) << error;
    server->faults().Add(*fmrsim::ParseFaultRule(fault + ",count=1", error));
    const int32_t channel = CALL(
        tessic, TESSIC_DedChOpen)(tessic.Session("127.0.0.1:" + std::to_string(server->port())));
    ASSERT_EQ(tessic.SetTimeout(channel, 300), 0);
    const auto start = Clock::now();
    Reply first = tessic.Exchange(channel, kLna);
    const auto took = Clock::now() - start;
    if (first.first == TESSIC_RECV_FAILED) first.second.clear();  // the buffer as it was
    EXPECT_EQ(first, outcome);
    if (outcome.first == TESSIC_RECV_FAILED) {
      EXPECT_GE(took, 300ms);
      EXPECT_LT(took, 1000ms) << "the deadline did not end the attempt";
    }
    ASSERT_EQ(tessic.SetTimeout(channel, 4000), 0);
    for (const char* command : then) {
      EXPECT_EQ(tessic.Exchange(channel, command), command == kLna ? lna : on) << command;
    }
    // The echo came at once: the link stayed in step on its one connection.
    EXPECT_EQ(server->connections(), 1u);
  }
}

// A receive that timed out before the command's echo closes the
// connection: the echo may still come, and the same command sent again
// would take it, and the earlier reply after it, for its own.
TEST(LinkFaultsTest, AnEchoAfterTheTimeoutNeverAnswersTheRepeatedCommand) {
  int sent = 0;
  const LineServer handset(  // echoes by hand, the first time late
      [&sent](const std::string& command, LineServer& server) {
        if (command == "ATE1") return (void)server.Write("OK\r\n");
        if (sent++ == 0) std::this_thread::sleep_for(400ms);
        server.Write(command + "\r\n" + (sent == 1 ? "first" : "second") + "\r\nOK\r\n");
      },
      false);
  const Tessic tessic;
  const int32_t channel = CALL(tessic, TESSIC_DedChOpen)(tessic.Session(handset.address()));
  ASSERT_EQ(tessic.SetTimeout(channel, 150), 0);
  EXPECT_EQ(tessic.Exchange(channel, "SAME").first, TESSIC_RECV_FAILED);
  ASSERT_EQ(tessic.SetTimeout(channel, 3000), 0);
  EXPECT_EQ(tessic.Exchange(channel, "SAME"), (Reply{TESSIC_RECV_COMPLETE, "second"}));
}

// Handsets that do not echo although each new connection asks for it: one
// refuses the echo switch, one acknowledges it and never echoes. From the
// first reply on the session frames without echo: every command gets its
// own reply, also after one that failed in time. The handset whose
// acknowledgement misled is told once; the one that refused needs no word.
TEST(LinkFaultsTest, HandsetsThatDoNotEchoAreFramedWithoutEchoFromTheFirstReply) {
  const Tessic tessic;
  for (const bool refuses : {true, false}) {
    SCOPED_TRACE(refuses ? "refuses the echo" : "acknowledges and never echoes");
    const LineServer handset(
        [refuses](const std::string& command, LineServer& server) {
          if (command == "ATE1") return (void)server.Write(refuses ? "ERROR\r\n" : "OK\r\n");
          if (command != "SILENT") server.Write(command + " done\r\nOK\r\n");
        },
        false);
    testing::internal::CaptureStderr();
    const int32_t channel = CALL(tessic, TESSIC_DedChOpen)(tessic.Session(handset.address()));
    std::vector<Reply> got;
    for (const char* command : {"ONE", "TWO", "SILENT", "THREE", "ONE"}) {
      EXPECT_EQ(tessic.SetTimeout(channel, std::string(command) == "SILENT" ? 150 : 3000), 0);
      got.push_back(tessic.Exchange(channel, command));
      if (got.back().first == TESSIC_RECV_FAILED) got.back().second.clear();
    }
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(got, (std::vector<Reply>{{TESSIC_RECV_COMPLETE, "ONE done"},
                                       {TESSIC_RECV_COMPLETE, "TWO done"},
                                       {TESSIC_RECV_FAILED, ""},
                                       {TESSIC_RECV_COMPLETE, "THREE done"},
                                       {TESSIC_RECV_COMPLETE, "ONE done"}}));
    EXPECT_EQ(told, refuses ? ""
                            : "TESSIC: the handset at " + handset.address() +
                                  " acknowledged the echo switch (ATE1) but does not echo; its "
                                  "replies are framed without echo\n");
  }
  // The simulated handset that never echoes (fmr-sim --echo never).
  fmrsim::AtServerConfig config;
  config.port = 0;
  config.never_echo = true;
  std::string error;
  const auto server = fmrsim::AtServer::Start(std::move(config), error);
  ASSERT_NE(server, nullptr) << error;
  testing::internal::CaptureStderr();
  const int32_t channel =
      CALL(tessic, TESSIC_DedChOpen)(tessic.Session("127.0.0.1:" + std::to_string(server->port())));
  ASSERT_EQ(tessic.SetTimeout(channel, 3000), 0);
  EXPECT_EQ(tessic.Exchange(channel, "at@audapp:fmrx_get_lna_cfg()"),
            (Reply{TESSIC_RECV_COMPLETE, "{88000000,98000000},{-2,1}"}));
  EXPECT_EQ(tessic.Exchange(channel, "at@audapp:fmrx_enable()"), (Reply{TESSIC_RECV_COMPLETE, ""}));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("does not echo"), std::string::npos);
  EXPECT_EQ(server->connections(), 1u);
}

TEST(LinkFaultsTest, AnEndlessReplyIsCutToTheCapacityAndReceiveKeepsAnswering) {
  std::atomic<bool> stop_flood = false, flooding = false;
  LineServer server([&](const std::string& command, LineServer& handset) {
    if (command != "FLOOD") return Echo(command, handset);
    // Bytes without a line end for as long as the test lets them flow (at
    // most 5 s, should the receive call never return).
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
  EXPECT_EQ(tessic.Recv(channel).first, TESSIC_RECV_PENDING);
  EXPECT_TRUE(flooding) << "the receive call returned only once the bytes stopped";
  stop_flood = true;
  EXPECT_EQ(tessic.Await(channel),
            (Reply{TESSIC_RECV_COMPLETE, std::string(Tessic::kCapacity - 1, 'x')}));
  EXPECT_EQ(tessic.Exchange(channel, "NEXT").second, "NEXT");
}

TEST(LinkFaultsTest, UnloadingTheLibraryClosesItsSessions) {
  LineServer server(Echo);
  Tessic tessic;
  EXPECT_EQ(tessic.Exchange(tessic.Channel(server), "PING").second, "PING");
  tessic.Unload();
  void* still_loaded = ::dlopen(Tessic::kPath, RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still_loaded, nullptr) << "the library stays loaded";
  if (still_loaded != nullptr) ::dlclose(still_loaded);
  const auto give_up = Clock::now() + 5s;
  while (server.disconnects() == 0 && Clock::now() < give_up) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.disconnects(), 1);
}

}  // namespace
