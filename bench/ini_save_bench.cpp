// Saving and loading the first-generation panel's 76 controls in a settings
// file that has grown to 10 MB: one IniFile per handler, one commit for the
// save (a locked, synced replacement of the whole file), one snapshot for
// the load.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"

namespace {

constexpr const char* kSection = "FM Radio Parameters";

// The panel's saved controls, in the order it writes them.
constexpr std::array<const char*, 76> kControls = {
    "LEVolume",
    "CBMute",
    "CBSNC",
    "LESNCStep",
    "LESNCHighThreshold",
    "CBOutputPath",
    "CBSoftMute",
    "LESMSS",
    "LESMThreshold",
    "CBAudioOutput",
    "CBModulation",
    "RGDeEmphasis",
    "RGPreEmphasis",
    "LESNCLowThreshold",
    "LELFreq",
    "LELLevel",
    "LELPhase",
    "LERFreq",
    "LERLevel",
    "LERPhase",
    "le_db",
    "LERSSIOffset",
    "LELowRSSI",
    "LEPilotFreq",
    "LERSSI",
    "LEHighRSSI",
    "cb_rssi_logging",
    "CBDecode",
    "LERXError",
    "LERDSDeviation",
    "LEPI",
    "LEPSN",
    "LERT",
    "LERTP",
    "CBPSMode",
    "LEPSRate",
    "LEAFList",
    "cb_ptc",
    "cbx_rds_stack",
    "cbx_AF",
    "cbx_PI",
    "cbx_PS",
    "cbx_RT",
    "cbx_RTP",
    "cbx_PTC",
    "CBTMode",
    "CBAntenna",
    "CBAGCOn",
    "CBExternalLNAOn",
    "CBFMRSupply",
    "CBLNAGain",
    "CBPPFGain",
    "LEOffset",
    "CBIntLNA",
    "LEOutputPower",
    "le_pmu",
    "LEFrequency",
    "CBMono",
    "LEMAXFreq",
    "LEMINFreq",
    "LEMASRSSI",
    "CBChannelSpacing",
    "CBBandSelection",
    "LEFreqDeviation",
    "CBFreqMute",
    "CBSideband",
    "CBPilot",
    "LEPilotDeviation",
    "le_start_freq",
    "le_stop_freq",
    "le_scan_freq",
    "le_scan_rssi",
    "LEMASRSSI2",
    "LERegAddress",
    "LERegData",
    "CBOutput",
};

std::string ControlValue(size_t control, int round) {
  return std::to_string(87500000 + static_cast<int>(control) * 100000 + round);
}

// Sections of filler keys before and after the panel's section, until the
// file holds `size` bytes.
void WriteSettingsFile(const std::filesystem::path& file, size_t size) {
  std::string filler;
  int profile = 0;
  auto add_profiles = [&](size_t up_to) {
    while (filler.size() < up_to) {
      filler += "[Bench Profile " + std::to_string(profile) + "]\r\n";
      for (int key = 0; key < 32; ++key) {
        filler += "Parameter" + std::to_string(key) + "=value text for key " + std::to_string(key) +
                  " of profile " + std::to_string(profile) + "\r\n";
      }
      ++profile;
    }
  };
  add_profiles(size / 2);
  filler += std::string("[") + kSection + "]\r\n";
  for (size_t i = 0; i < kControls.size(); ++i)
    filler += std::string(kControls[i]) + "=" + ControlValue(i, 0) + "\r\n";
  add_profiles(size);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << filler;
}

class SettingsFile : public benchmark::Fixture {
 public:
  void SetUp(benchmark::State&) override {
    folder_ =
        std::filesystem::temp_directory_path() / ("sonvio-ini-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "Sonvio.ini").string();
    WriteSettingsFile(path_, 10u << 20);
  }
  void TearDown(benchmark::State&) override { std::filesystem::remove_all(folder_); }

 protected:
  std::filesystem::path folder_;
  std::string path_;
};

BENCHMARK_DEFINE_F(SettingsFile, Save76Controls)(benchmark::State& state) {
  int round = 0;
  for (auto _ : state) {
    ++round;  // new values each time, so every commit rewrites the file
    platform::IniFile ini(path_);
    for (size_t i = 0; i < kControls.size(); ++i)
      ini.Write(kSection, kControls[i], ControlValue(i, round));
    if (!ini.Commit()) state.SkipWithError("commit failed");
  }
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path_)) / (1 << 20);
}
BENCHMARK_REGISTER_F(SettingsFile, Save76Controls)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_DEFINE_F(SettingsFile, Load76Controls)(benchmark::State& state) {
  for (auto _ : state) {
    const platform::IniFile ini(path_);
    for (const char* control : kControls) {
      std::optional<std::string> value = ini.Read(kSection, control);
      if (!value) state.SkipWithError("key missing");
      benchmark::DoNotOptimize(value);
    }
  }
}
BENCHMARK_REGISTER_F(SettingsFile, Load76Controls)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
