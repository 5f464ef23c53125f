// Decoding of the 196-value RDS report (seven columns of 28 entries), as the
// simulated handset sends it, into its record: the command set's reader
// beside the stream reader that the decoding rules describe.
#include <benchmark/benchmark.h>

#include <string>

#include "fmr-sim/gen2/at_commands.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"
#include "heap_meter.h"
#include "stream_reply_reader.h"

namespace {

// The report's reply text with the session's terminator line, as the
// command set gets it.
std::string RdsReportReply() {
  fmrsim::RadioModel radio;
  fmrsim::AtCommands at(radio);
  for (const char* command :
       {"at@audapp:fmr_configure_audio_dst(0)", "at@audapp:fmrx_enable()",
        "at@audapp:fmrx_set_band(108000000,87500000,100000,1)",
        "at@audapp:fmrx_set_station(0,91700000,10,0)", "at@audapp:fmrx_set_rds(1,0,1000)"}) {
    at.Execute(command);
  }
  const fmrsim::AtReply reply = at.Execute("at@audapp:fmrx_get_rds_data()");
  std::string text;
  for (size_t i = 0; i < reply.lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + reply.lines[i];
  return text + "\r\nOK\r\n";
}

void BM_DecodeRdsReport(benchmark::State& state) {
  const MANAGED_IF::T_Result result{MANAGED_IF::kResultOk, RdsReportReply()};
  MANAGED_IF::T_RdsReport report;
  if (MANAGED_IF::DecodeReply(result, report, MANAGED_IF::kReadFields) != 0) {
    state.SkipWithError("the report does not decode");
    return;
  }
  const size_t before = heap_meter::Allocations();
  for (auto _ : state) {
    benchmark::DoNotOptimize(MANAGED_IF::DecodeReply(result, report, MANAGED_IF::kReadFields));
    benchmark::ClobberMemory();
  }
  state.counters["allocs_per_op"] = benchmark::Counter(
      static_cast<double>(heap_meter::Allocations() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DecodeRdsReport);

void BM_DecodeRdsReportIstringstream(benchmark::State& state) {
  const std::string reply = RdsReportReply();
  MANAGED_IF::T_RdsReport report;
  for (auto _ : state) {
    reference::StreamReplyReader reader(reply);
    MANAGED_IF::ReadFields(reader, report);
    benchmark::DoNotOptimize(reader.Word() == MANAGED_IF::kReplyOkWord);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DecodeRdsReportIstringstream);

}  // namespace

BENCHMARK_MAIN();
