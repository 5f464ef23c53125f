// The first-generation panel's Save and Load of its 76 saved controls, in a
// settings file that has grown to 3 MiB, under the 4 MiB the writer takes
// (a larger file is refused unwritten, which would measure nothing): one
// IniFile per handler, one commit for the save (a locked, synced
// replacement of the whole file), one snapshot for the load. The panel runs headless against a host
// that drops everything; the settings folder is a temporary one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gen1_panel/kelbo_fmr_gui.h"
#include "null_host.h"
#include "platform/platform.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace {

// Sections of filler keys until the file holds `size` bytes; the panel's
// own section follows them.
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
  add_profiles(size);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << filler;
}

constexpr size_t kFileBytes = 3u << 20;
static_assert(kFileBytes + (64u << 10) < platform::kIniFileMostBytes,
              "the file and the panel's section stay under the limit");

class SettingsFile : public benchmark::Fixture {
 public:
  void SetUp(benchmark::State&) override {
    folder_ =
        std::filesystem::temp_directory_path() / ("sonvio-ini-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    ::setenv("SONVIO_CONFIG_DIR", folder_.c_str(), 1);
    path_ = folder_ / "Sonvio.ini";
    WriteSettingsFile(path_, kFileBytes);
    panel_.Show();
    ui::RunAutomation(panel_, "click btn_save");  // the panel's section, once
  }
  void TearDown(benchmark::State&) override {
    ::unsetenv("SONVIO_CONFIG_DIR");
    std::filesystem::remove_all(folder_);
  }

 protected:
  // LEVolume as the settings file holds it now.
  std::string ReadVolume() const {
    return platform::IniReadString(path_.string(), "FM Radio Parameters", "LEVolume", "");
  }

  std::filesystem::path folder_;
  std::filesystem::path path_;
  ui::HeadlessServices services_;
  ui::Application app_{services_};
  testing_host::NullHost host_;
  gen1_panel::TKelboFMRGUI panel_{app_, common::ModuleContext{host_, services_}};
};

BENCHMARK_DEFINE_F(SettingsFile, Save76Controls)(benchmark::State& state) {
  int round = 0;
  for (auto _ : state) {
    // A new volume each time, so every save really rewrites the file.
    panel_.LEVolume->SetText(std::to_string(1000 + ++round % 20000));
    ui::RunAutomation(panel_, "click btn_save");
  }
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path_)) / (1 << 20);
  // Every round rewrote the file: its volume is the last one set.
  if (ReadVolume() != std::to_string(1000 + round % 20000))
    state.SkipWithError("the save did not rewrite the settings file");
}
BENCHMARK_REGISTER_F(SettingsFile, Save76Controls)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_DEFINE_F(SettingsFile, Load76Controls)(benchmark::State& state) {
  for (auto _ : state) ui::RunAutomation(panel_, "click btn_load");
}
BENCHMARK_REGISTER_F(SettingsFile, Load76Controls)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
