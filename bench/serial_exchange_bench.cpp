// A second-generation exchange over a serial line: the plug-in's command set
// and the real TESSIC.dll on the simulated handset's pseudo-terminal, paced
// both ways as a serial line of the given speed (10 bits a byte). Beside the
// time, the bound the line itself sets: the bytes of the command line, its
// echo and the reply, times 10 bits over the speed, and the exchange's mean
// time over that bound (over_line_bound).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "fmr-sim/pty/pty_server.h"
#include "gen2/aud_app.h"
#include "null_host.h"
#include "platform/platform.h"
#include "ui/headless/headless_services.h"

namespace {

void BM_SerialExchange(benchmark::State& state) {
  const auto baud = static_cast<uint32_t>(state.range(0));
  fmrsim::pty::PtyServerConfig config;
  config.baud = baud;
  std::string error;
  const std::unique_ptr<fmrsim::pty::PtyServer> device =
      fmrsim::pty::PtyServer::Start(std::move(config), error);
  if (!device) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::string target = "serial:" + device->slave_path() + "," + std::to_string(baud);
  ::setenv("TESSIC_AT_SERVER", target.c_str(), 1);
  ui::HeadlessServices services;
  testing_host::NullHost host;
  MANAGED_IF::TransportWrapper fresh(common::ModuleContext{host, services});
  MANAGED_IF::aud_app app(fresh);
  if (app.session().channel_id() < 0 || app.fmr_configure_audio_dst(0) != 0 ||
      app.fmrx_enable() != 0) {
    state.SkipWithError("the radio did not come on over the serial line");
    ::unsetenv("TESSIC_AT_SERVER");
    return;
  }
  // The read the panel polls with: a reply of several lines.
  MANAGED_IF::T_DynamicData data{};
  std::chrono::steady_clock::duration spent{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (app.fmrx_get_dynamic_data(data) != 0) state.SkipWithError("exchange failed");
    spent += std::chrono::steady_clock::now() - start;
  }
  // The bytes on the line for one exchange: the command line ("\r\n" after
  // it), its echo, and the reply's lines with the final "OK" line, which is
  // the text the session gives (it ends in "\r\nOK\r\n").
  const std::string command = "at@audapp:fmrx_get_dynamic_data()";
  const std::string reply = app.session().Exchange(command).text;
  const double bytes =
      2.0 * static_cast<double>(command.size() + 2) + static_cast<double>(reply.size());
  const double bound_s = bytes * 10.0 / baud;
  state.counters["line_bytes"] = bytes;
  state.counters["line_bound_ms"] = bound_s * 1e3;
  state.counters["over_line_bound"] = std::chrono::duration<double>(spent).count() /
                                      static_cast<double>(state.iterations()) / bound_s;
  ::unsetenv("TESSIC_AT_SERVER");
}
BENCHMARK(BM_SerialExchange)
    ->ArgName("baud")
    ->Arg(115200)
    ->Arg(921600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
