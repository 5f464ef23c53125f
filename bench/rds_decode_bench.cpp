// fmr-rds decoding hex captures of 1, 10 and 100 MB from a file the way the
// program reads one (the checked input, lines taken in chunks, the station
// summary written at the end): bytes per second of CPU time on one core,
// and the process's peak resident memory after each size, which must not
// grow with the capture. The capture files are written to a temporary
// folder first and removed afterwards.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <sstream>
#include <string>

#include "fmr-rds/cli.h"
#include "text/checked_input.h"

namespace {

// A station as a receiver logs it, a time first on each line: its name
// (0A, four of every sixteen groups), radio text (2A, ten), clock time (4A)
// and country (1A); one block in about fifty lost ("----").
void WriteCapture(const std::filesystem::path& file, size_t size) {
  static constexpr char kName[] = "ROCK 95 ";
  static constexpr char kText[] = "Rock 95 - now playing: live session with the band\r";
  constexpr size_t kTextLength = sizeof kText - 1;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  uint32_t random = 12345;
  size_t written = 0;
  char line[64];
  for (uint32_t i = 0; written < size; ++i) {
    const uint32_t k = i % 16;
    unsigned b = 0, c = 0, d = 0;
    if (k < 4) {
      b = 11u << 5 | 1u << 3 | k;
      c = 0xE0CD;
      d = static_cast<unsigned char>(kName[2 * k]) << 8 |
          static_cast<unsigned char>(kName[2 * k + 1]);
    } else if (k < 14) {
      const uint32_t segment = (i / 16 * 10 + k - 4) % 13;
      auto at = [&](uint32_t n) { return static_cast<unsigned char>(kText[n % kTextLength]); };
      b = 2u << 12 | 11u << 5 | segment;
      c = at(4 * segment) << 8 | at(4 * segment + 1);
      d = at(4 * segment + 2) << 8 | at(4 * segment + 3);
    } else if (k == 14) {
      b = 4u << 12 | 11u << 5 | 1;
      c = 0xD5A2;
      d = 0x7A42;
    } else {
      b = 1u << 12 | 11u << 5;
      c = 0x00E1;
    }
    char blocks[4][5];
    const unsigned values[4] = {0xC204, b, c, d};
    for (int n = 0; n < 4; ++n) std::snprintf(blocks[n], sizeof blocks[n], "%04X", values[n]);
    random = random * 1103515245u + 12345u;
    if ((random >> 16) % 50 == 0) std::snprintf(blocks[(random >> 8) % 4], 5, "----");
    const uint32_t ms = i * 88;
    const int length = std::snprintf(line, sizeof line, "%02u:%02u:%02u.%03u %s %s %s %s\n",
                                     ms / 3600000 % 24, ms / 60000 % 60, ms / 1000 % 60, ms % 1000,
                                     blocks[0], blocks[1], blocks[2], blocks[3]);
    out.write(line, length);
    written += static_cast<size_t>(length);
  }
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_DecodeHexCapture(benchmark::State& state) {
  const size_t megabytes = static_cast<size_t>(state.range(0));
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("sonvio-rds-bench-" + std::to_string(::getpid()) + "-" + std::to_string(megabytes) + ".txt");
  WriteCapture(file, megabytes << 20);
  const auto bytes = static_cast<int64_t>(std::filesystem::file_size(file));
  fmrrds::DecodeOptions options;
  options.output = fmrrds::OutputKind::kSummaryText;
  options.input_name = file.string();
  size_t groups = 0;
  for (auto _ : state) {
    std::string error;
    const auto input = tooltext::CheckedInputBuf::OpenFile(file.string(), error);
    if (!input) {
      state.SkipWithError(error.c_str());
      break;
    }
    std::istream in(input.get());
    std::ostringstream out, err;
    const fmrrds::DecodeResult result = fmrrds::DecodeStream(in, options, out, err);
    groups = result.groups;
    benchmark::DoNotOptimize(out.str().size());
  }
  std::filesystem::remove(file);
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["groups"] = static_cast<double>(groups);
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_DecodeHexCapture)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
