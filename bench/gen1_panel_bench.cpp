// The first-generation panel against the simulated handset, in process:
//  - one click through automation to the host link and the reply shown
//    (power on, tune, refresh), with the heap allocations per click counted;
//  - the RSSI scan of the whole band at 50 kHz (411 channels, each four
//    clicks, a register read and a log line).
// The baseline of the click is the bare exchange the click makes (packing,
// the simulated handset, copying the reply back) without the panel.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gen1_panel/kelbo_fmr_gui.h"
#include "heap_meter.h"
#include "sim_host_link.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace {

struct Panel {
  ui::HeadlessServices services;
  ui::Application app{services};
  SimHostLink host;
  gen1_panel::TKelboFMRGUI panel{app, common::ModuleContext{host, services}};
  Panel() {
    panel.Show();
    ui::RunAutomation(panel, "click BtnFMREnable");
  }
};

void CountAllocations(benchmark::State& state, size_t before) {
  state.counters["allocs_per_op"] = benchmark::Counter(
      static_cast<double>(heap_meter::Allocations() - before), benchmark::Counter::kAvgIterations);
}

// One click of each kind, in turn: refresh, tune up, read the station.
void BM_Gen1Click(benchmark::State& state) {
  Panel p;
  const std::string clicks[] = {"click BtnRefresh", "click BtnTuneUp", "click BtnReadFrequency"};
  for (const std::string& click : clicks) ui::RunAutomation(p.panel, click);  // warm up
  size_t i = 0;
  const size_t before = heap_meter::Allocations();
  for (auto _ : state) {
    // Back at the bottom of the band now and then, so tuning never stops.
    if (++i % 3000 == 0) p.panel.LEFrequency->SetText("87500000");
    benchmark::DoNotOptimize(ui::RunAutomation(p.panel, clicks[i % 3]));
  }
  CountAllocations(state, before);
}
BENCHMARK(BM_Gen1Click);

// The same three operations on the back end alone: no controls, no
// automation.
void BM_Gen1ClickBaseline(benchmark::State& state) {
  Panel p;
  gen1::CKelboFMRFunction& radio = p.panel.radio();
  size_t i = 0;
  const size_t before = heap_meter::Allocations();
  for (auto _ : state) {
    switch (++i % 3) {
      case 0:
        benchmark::DoNotOptimize(radio.ReadRxStatus());
        break;
      case 1:
        benchmark::DoNotOptimize(radio.RxTune());
        break;
      default:
        benchmark::DoNotOptimize(radio.ReadRxStatus());
        break;
    }
  }
  CountAllocations(state, before);
}
BENCHMARK(BM_Gen1ClickBaseline);

// The RSSI scan of 87.5 to 108 MHz in 50 kHz steps, log file included.
void BM_Gen1RssiScanFullBand(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "sonvio-scan-bench";
  std::filesystem::create_directories(dir);
  ::setenv("SONVIO_PROGRAM_DIR", dir.c_str(), 1);
  Panel p;
  for (const char* command :
       {"select CBAntenna Internal", "select CBBandSelection Manual",
        "select CBChannelSpacing 50kHz", "type LEMINFreq 87500000", "type LEMAXFreq 108000000"}) {
    ui::RunAutomation(p.panel, command);
  }
  for (auto _ : state) {
    p.panel.cb_rssi_logging->SetChecked(true);  // the scan runs in the click handler
    state.PauseTiming();
    p.panel.cb_rssi_logging->SetChecked(false);
    state.ResumeTiming();
  }
  state.counters["channels"] = 411;
  ::unsetenv("SONVIO_PROGRAM_DIR");
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Gen1RssiScanFullBand)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
