// CPU use of the plug-in while a second-generation exchange waits for a
// reply that the handset sends only after 2 s. The session polls
// TESSIC_recv without a pause of its own, so the transport's receive slice
// decides how busy the waiting user-interface thread is. The counter
// cpu_percent is the process's CPU time over the wall time of the exchange
// (the in-process server thread included), in percent of one core.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "gen2/aud_app.h"
#include "platform/platform.h"
#include "ui/headless/headless_services.h"

namespace {

constexpr int kReplyDelayMs = 2000;

// A host that only takes the session's log lines.
class QuietHost : public HostLink {
 public:
  bool Send(HostChannel, uint16_t, uint16_t, const void*, uint16_t&, void*) override {
    return false;
  }
  std::optional<std::string_view> LastError() override { return std::nullopt; }
  void Log(const char*, LogFlag) override {}
};

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
  QuietHost host;
  MANAGED_IF::TransportWrapper fresh(ModuleContext{host, services});
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

BENCHMARK(BM_ExchangeWaitingForDelayedReply)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
