// The simulated handset with a client that does not read its answers (a
// 20 MB reply, the socket's buffers long full): the serving thread never
// blocks on it. Such a client is dropped after the send deadline, or as
// soon as a new connection comes, with a log line; a client that reads
// slowly still gets its whole answer; and SIGTERM or SIGINT stop fmr-sim
// at once whatever its client does.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/net/socket_io.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kBigAnswer[] = "at@audapp:fmrx_get_dynamic_data()\r\n";

// The server's log lines, kept for the test thread.
class Log {
 public:
  fmrsim::AtLog Sink() {
    return [this](const std::string& line) {
      const std::lock_guard lock(mutex_);
      lines_.push_back(line);
    };
  }
  // The first line starting with `prefix`, waiting for it up to `timeout`.
  std::string Await(const std::string& prefix, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
      {
        const std::lock_guard lock(mutex_);
        for (const std::string& line : lines_)
          if (line.starts_with(prefix)) return line;
      }
      std::this_thread::sleep_for(10ms);
    }
    return {};
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

// What `socket` receives until `bytes` have come or `timeout` passes.
std::string ReceiveUpTo(const fmrsim::net::Socket& socket, size_t bytes,
                        std::chrono::milliseconds timeout, std::chrono::milliseconds pause = 0ms) {
  std::string received;
  std::vector<char> buffer(256 * 1024);
  const auto deadline = Clock::now() + timeout;
  while (received.size() < bytes && Clock::now() < deadline) {
    bool ready = false;
    bool unused = false;
    if (!fmrsim::net::WaitReadable(socket, fmrsim::net::Socket{}, 50, ready, unused)) continue;
    const long got = fmrsim::net::Receive(socket, buffer.data(), buffer.size());
    if (got <= 0) break;
    received.append(buffer.data(), static_cast<size_t>(got));
    std::this_thread::sleep_for(pause);
  }
  return received;
}

fmrsim::net::Socket Connect(uint16_t port) {
  std::string error;
  fmrsim::net::Socket socket = fmrsim::net::ConnectTcp("127.0.0.1", port, error);
  EXPECT_TRUE(socket.valid()) << error;
  return socket;
}

// A client asks for a 20 MB answer and reads none of it; a second client
// connects after its send deadline, or at once with a deadline of ten
// minutes. Either way the second is answered and the first dropped with the
// line that says why. A client that reads a 4 MB answer slowly, a piece
// every 50 ms, takes far longer than its 300 ms deadline but keeps taking
// bytes: it gets all of them. The sockets are declared after the server, so
// they close first: a server that blocks fails the test instead of hanging
// in its end.
TEST(StalledClient, ClientsThatReadNothingAreDroppedAndSlowReadersServed) {
  const struct {
    uint32_t deadline_ms;
    uint32_t answer_bytes;
    bool reads_slowly;
    std::string dropped;  // the log line's start; empty: none
  } cases[] = {
      {300, 20000000, false, "client dropped: it read nothing of its answer for 300 ms ("},
      {600000, 20000000, false,
       "client dropped: a new connection came while it read nothing of its answer ("},
      {300, 4000000, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dropped);
    Log log;
    fmrsim::AtServerConfig config;
    config.port = 0;
    config.send_deadline_ms = c.deadline_ms;
    config.log = log.Sink();
    std::string error;
    const auto server = fmrsim::AtServer::Start(std::move(config), error);
    ASSERT_TRUE(server) << error;
    server->faults().Add(*fmrsim::ParseFaultRule(
        "oversize=" + std::to_string(c.answer_bytes) + ",on=fmrx_get_dynamic_data", error));
    const fmrsim::net::Socket first = Connect(server->port());
    ASSERT_TRUE(fmrsim::net::SendAll(first, kBigAnswer));
    if (c.reads_slowly) {
      const std::string answer = ReceiveUpTo(first, c.answer_bytes + 4, 60s, 50ms);
      EXPECT_EQ(answer.size(), c.answer_bytes + 4);
      EXPECT_TRUE(answer.ends_with("\r\nOK\r\n"));
      EXPECT_EQ(log.Await("client dropped", 0ms), "");
      continue;
    }
    ASSERT_NE(log.Await("< OK (", 20s), "") << "the answer was made";
    if (c.deadline_ms < 1000) {
      EXPECT_NE(log.Await(c.dropped, 20s), "");  // before the next client
    }
    const fmrsim::net::Socket next = Connect(server->port());
    ASSERT_TRUE(fmrsim::net::SendAll(next, "AT\r\n"));
    EXPECT_EQ(ReceiveUpTo(next, 4, 20s), "OK\r\n");
    EXPECT_NE(log.Await(c.dropped, 1s), "");
  }
}

// fmr-sim serving a client stuck in the middle of a 20 MB answer stops on
// SIGTERM and on SIGINT at once, with its closing line and status 0 (the
// send deadline of ten minutes plays no part). The bound is generous (5 s)
// against a busy machine; the time taken is printed.
TEST(StalledClient, StopSignalsEndTheSimulatorWhileAClientReadsNothing) {
  for (const int signal : {SIGTERM, SIGINT}) {
    childtest::ChildProcess child(
        {FMR_SIM_PATH, "--port", "0", "--verbose", "--send-deadline", "600000", "--fault",
         "oversize=20000000,on=fmrx_get_dynamic_data"},
        childtest::Sink::kRead, childtest::Sink::kRead);
    const std::string listening = child.ReadOutLine();
    const size_t colon = listening.rfind(':');
    ASSERT_NE(colon, std::string::npos) << listening;
    const auto port = static_cast<uint16_t>(std::stoi(listening.substr(colon + 1)));
    fmrsim::net::SocketLibrary library;
    const fmrsim::net::Socket stalled = Connect(port);
    ASSERT_TRUE(fmrsim::net::SendAll(stalled, kBigAnswer));
    ASSERT_TRUE(child.WaitForErr("fmr-sim: < OK (")) << "the answer was made";
    std::this_thread::sleep_for(200ms);  // the buffers fill; the send waits
    const auto start = Clock::now();
    child.Signal(signal);
    const childtest::Finished finished = child.Finish(5s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("signal %d: fmr-sim ended after %lld ms\n", signal,
                static_cast<long long>(took.count()));
    EXPECT_EQ(finished.status, 0) << "signal " << signal;
    EXPECT_EQ(finished.out, "fmr-sim: stopped by signal " + std::to_string(signal) + "\n");
    EXPECT_LT(took, 5s);
  }
}

}  // namespace
