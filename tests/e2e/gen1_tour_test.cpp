// The main job's first-generation tour, run as the README runs it: benchora
// with the real plug-in and the simulated handset. The transcript must show
// what an engineer expects of a radio: the right station after each seek,
// tuning held at the band edges, presets, read-back and power state.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Block {
  std::string command;  // the automation command after "> "
  std::string output;   // log lines and reply up to the next command
};

struct Transcript {
  int status = -1;
  std::string text;
  std::vector<Block> blocks;
};

Transcript RunTour() {
  Transcript run;
  const std::string command = std::string("\"") + BENCHORA_PATH +
                              "\" --chip gen1 --strict --script \"" + GEN1_TOUR_PATH + "\" 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> chunk{};
  size_t n = 0;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.text.append(chunk.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

  size_t pos = 0;
  while (pos < run.text.size()) {
    size_t end = run.text.find('\n', pos);
    if (end == std::string::npos) end = run.text.size();
    const std::string line = run.text.substr(pos, end - pos);
    if (line.rfind("> ", 0) == 0) {
      run.blocks.push_back({line.substr(2), {}});
    } else if (!run.blocks.empty()) {
      run.blocks.back().output += line + "\n";
    }
    pos = end + 1;
  }
  return run;
}

struct Expectation {
  const char* command;
  const char* fragment;  // must appear in that command's output
};

// In tour order: each expectation is matched against the next block with
// that command after the previous match.
const Expectation kExpectations[] = {
    {"get BtnSeekUp", "enabled=0"},
    {"click BtnFMREnable",
     "LOG[1] FMR ON\nLOG[1] Sending to mobile...\nLOG[1] OK\n"
     "LOG[1] Read FM Radio current status"},
    {"get LReady", "caption=\"Yes\" color=green"},
    {"get CBTMode", "enabled=0"},
    {"get LEMINFreq", "text=\"87500000\""},
    {"click BtnSeekUp", "LOG[1] Seek up station."},
    {"get LEFrequency", "text=\"88100000\""},  // first station above the minimum RSSI
    {"get LStereo", "caption=\"Yes\""},
    {"get LEFrequency", "text=\"91700000\""},   // the next one, skipping a weak one
    {"get LEFrequency", "text=\"88100000\""},   // seek down returns
    {"get LEFrequency", "text=\"108000000\""},  // tune up clamped to the edge
    {"get LEFrequency", "text=\"108000000\""},  // and held there
    {"get LEMAXFreq", "text=\"90000000\""},
    {"get LEFrequency", "text=\"76000000\""},  // tune down held at the lower edge
    {"get LEFrequency", "text=\"76100000\""},
    {"get LEMINFreq", "enabled=1"},  // manual band
    {"click BtnWriteFrequency", "LOG[1] Write station."},
    {"click BtnReadFrequency", "LOG[1] Read station."},
    {"get LEFrequency", "text=\"95400000\""},
    {"click BtnFMRDisable", "LOG[1] FMR OFF"},
    {"get BtnFMREnable", "enabled=1"},
    {"get BtnFMRDisable", "enabled=0"},
    {"get LEFrequency", "enabled=0 visible=1 label=\"Frequency (Hz):\" text=\"95400000\""},
    {"get LEFrequency", "text=\"88000000\""},  // transmit preset
    {"get LEMINFreq", "text=\"87500000\""},
    {"get LReady", "caption=\"Yes\" color=green"},
    {"get LEFreqDeviation", "visible=1 label=\"Freq Deviation:\" text=\"68250\""},
    {"get BtnSeekUp", "enabled=0"},
    {"get LEFrequency", "text=\"108000000\""},
    {"get LEFrequency", "text=\"108000000\""},
    {"get LEFrequency", "text=\"87500000\""},
    {"get LEFrequency", "text=\"89900000\""},
    {"get BtnFMREnable", "enabled=1"},
    {"get LEFreqDeviation", "visible=0"},
};

TEST(Gen1Tour, RunsCleanAndShowsWhatTheRadioDid) {
  const Transcript run = RunTour();
  ASSERT_EQ(run.status, 0) << run.text;
  EXPECT_EQ(run.text.find("LOG[0]"), std::string::npos) << run.text;
  EXPECT_EQ(run.text.find("error:"), std::string::npos) << run.text;

  size_t next = 0;
  for (const Expectation& e : kExpectations) {
    while (next < run.blocks.size() && run.blocks[next].command != e.command) ++next;
    ASSERT_LT(next, run.blocks.size()) << "no further \"" << e.command << "\" in the tour";
    EXPECT_NE(run.blocks[next].output.find(e.fragment), std::string::npos)
        << "> " << e.command << "\n"
        << run.blocks[next].output << "expected: " << e.fragment;
    ++next;
  }
}

}  // namespace
