// Second-generation exchanges against the simulated handset's AT server in
// this process:
//  - one command and its reply through the plug-in's command set and the
//    real TESSIC.dll, with the allocations per exchange on the calling
//    thread counted, beside its baseline: the same request and reply over a
//    raw TCP connection to the same server (and over one that also has
//    the transport's receive timeout); each with the handset's thread
//    and the caller on one core and on two;
//  - the CPU the plug-in uses while an exchange waits for a reply that the
//    handset sends only after 2 s. The session polls TESSIC_recv without a
//    pause of its own, so the transport's receive slice decides how busy the
//    waiting user-interface thread is. The counter cpu_percent is the
//    process's CPU time over the wall time of the exchange (the in-process
//    server thread included), in percent of one core.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "gen2/aud_app.h"
#include "heap_meter.h"
#include "null_host.h"
#include "platform/platform.h"
#include "ui/headless/headless_services.h"

namespace {

constexpr int kReplyDelayMs = 2000;

double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_ExchangeWaitingForDelayedReply(benchmark::State& state) {
  // The simulated handset on a free port, answering the enable command late.
  fmrsim::AtServerConfig config;
  config.port = 0;
  std::string error;
  std::unique_ptr<fmrsim::AtServer> server = fmrsim::AtServer::Start(std::move(config), error);
  auto rule =
      fmrsim::ParseFaultRule("delay=" + std::to_string(kReplyDelayMs) + ",on=fmrx_enable", error);
  if (!server || !rule) {
    state.SkipWithError(error.c_str());
    return;
  }
  server->faults().Add(*rule);
  // TESSIC.dll sits beside this program; point it at the in-process server.
  const std::string address = "127.0.0.1:" + std::to_string(server->port());
  ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
  ui::HeadlessServices services;
  testing_host::NullHost host;
  MANAGED_IF::TransportWrapper fresh(common::ModuleContext{host, services});
  MANAGED_IF::aud_app app(fresh);
  if (app.session().channel_id() < 0) {
    state.SkipWithError("no transport session");
    return;
  }

  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    const double cpu_start = ProcessCpuSeconds();
    const auto wall_start = std::chrono::steady_clock::now();
    const int32_t code = app.fmrx_enable();
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    cpu += ProcessCpuSeconds() - cpu_start;
    if (code != 0) state.SkipWithError("exchange failed");
  }
  state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
  ::unsetenv("TESSIC_AT_SERVER");
}

// Where the simulated handset's thread and the calling thread run. Left to
// the scheduler, each repetition draws a placement (same core: a round trip
// of about 16 µs; two cores: about 50 µs) and keeps it, and the two programs
// of a pair do not draw alike; so each placement is fixed and measured on
// its own.
enum class Cores : int64_t { kOne = 1, kTwo = 2 };

// Runs the calling thread on one CPU while alive; the old set comes back.
class PinnedThread {
 public:
  explicit PinnedThread(int cpu) {
    ok_ = ::sched_getaffinity(0, sizeof(old_), &old_) == 0 && CPU_ISSET(cpu, &old_);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    ok_ = ok_ && ::sched_setaffinity(0, sizeof(one), &one) == 0;
  }
  ~PinnedThread() {
    if (ok_) ::sched_setaffinity(0, sizeof(old_), &old_);
  }
  PinnedThread(const PinnedThread&) = delete;
  PinnedThread& operator=(const PinnedThread&) = delete;
  bool ok() const { return ok_; }

 private:
  cpu_set_t old_{};
  bool ok_ = false;
};

// The simulated handset on a free port, and TESSIC.dll pointed at it; its
// thread and the caller placed as `cores` says (the handset's thread takes
// the affinity of the thread that starts it).
struct Server {
  std::unique_ptr<fmrsim::AtServer> server;
  std::optional<PinnedThread> caller;
  explicit Server(Cores cores) {
    {
      PinnedThread handset_cpu(cores == Cores::kTwo ? 1 : 0);
      if (!handset_cpu.ok()) return;
      fmrsim::AtServerConfig config;
      config.port = 0;
      std::string error;
      server = fmrsim::AtServer::Start(std::move(config), error);
    }
    caller.emplace(0);
    if (server) {
      const std::string address = "127.0.0.1:" + std::to_string(server->port());
      ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
    }
  }
  ~Server() { ::unsetenv("TESSIC_AT_SERVER"); }
  bool ok() const { return server && caller->ok(); }
};

// The radio on in the US band; then the exchange measured: a station set.
constexpr const char* kSetUp[] = {"at@audapp:fmr_configure_audio_dst(0)", "at@audapp:fmrx_enable()",
                                  "at@audapp:fmrx_set_band(108000000,87500000,100000,1)"};
constexpr char kCommand[] = "at@audapp:fmrx_set_station(0,98100000,10,0)";

void BM_Gen2Exchange(benchmark::State& state) {
  Server s(static_cast<Cores>(state.range(0)));
  ui::HeadlessServices services;
  testing_host::NullHost host;
  MANAGED_IF::TransportWrapper fresh(common::ModuleContext{host, services});
  MANAGED_IF::aud_app app(fresh);
  if (!s.ok() || app.session().channel_id() < 0) {
    state.SkipWithError("no transport session");
    return;
  }
  if (app.fmr_configure_audio_dst(0) != 0 || app.fmrx_enable() != 0 ||
      app.fmrx_set_band(MANAGED_IF::T_Band{108000000, 87500000, 100000, 1}) != 0) {
    state.SkipWithError("the radio did not come on");
    return;
  }
  const MANAGED_IF::T_Station station{0, 98100000, 10, 0};
  const size_t before = heap_meter::AllocationsOnThisThread();
  for (auto _ : state) {
    if (app.fmrx_set_station(station) != 0) state.SkipWithError("exchange failed");
  }
  state.counters["allocs_per_op"] =
      benchmark::Counter(static_cast<double>(heap_meter::AllocationsOnThisThread() - before),
                         benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Gen2Exchange)->ArgName("cores")->Arg(1)->Arg(2)->UseRealTime();

// The baseline: the same command line, its echo and its reply up to the
// final "OK" line, over a plain socket (echo switched on with "ATE1" as the
// transport does). With `guarded`, the socket also has the receive timeout
// the transport sets (a silent handset cannot hold the caller); stale bytes
// cost the transport no call of their own, they are dropped as the echo is
// looked for. Beside it, the exchange through the plug-in shows what the
// plug-in's own code costs.
void RawTcpExchange(benchmark::State& state, bool guarded) {
  Server s(static_cast<Cores>(state.range(0)));
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(s.server ? s.server->port() : 0);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (guarded) {
    const timeval slice{0, 30000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
  }
  if (!s.ok() || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    state.SkipWithError("cannot connect");
    ::close(fd);
    return;
  }
  char reply[4096];
  // One command line and its reply up to the final line; true for "OK".
  const auto exchange = [&](const std::string& line) {
    if (::send(fd, line.data(), line.size(), 0) != static_cast<ssize_t>(line.size())) return false;
    std::string_view got;
    size_t have = 0;
    do {
      const ssize_t n = ::recv(fd, reply + have, sizeof reply - have, 0);
      if (n <= 0) return false;
      have += static_cast<size_t>(n);
      got = std::string_view(reply, have);
    } while (!got.ends_with("OK\r\n") && !got.ends_with("ERROR\r\n"));
    return got.ends_with("OK\r\n");
  };
  exchange("ATE1\r\n");
  for (const char* command : kSetUp) exchange(std::string(command) + "\r\n");
  const std::string line = std::string(kCommand) + "\r\n";
  for (auto _ : state) {
    if (!exchange(line)) state.SkipWithError("exchange failed");
  }
  ::close(fd);
}
void BM_RawTcpExchange(benchmark::State& state) {
  RawTcpExchange(state, false);
}
void BM_RawTcpExchangeGuarded(benchmark::State& state) {
  RawTcpExchange(state, true);
}
BENCHMARK(BM_RawTcpExchange)->ArgName("cores")->Arg(1)->Arg(2)->UseRealTime();
BENCHMARK(BM_RawTcpExchangeGuarded)->ArgName("cores")->Arg(1)->Arg(2)->UseRealTime();

BENCHMARK(BM_ExchangeWaitingForDelayedReply)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
