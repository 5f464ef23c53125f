// The main job's tours, run as the main job runs them: benchora with the real
// plug-in, the simulated handset and --strict. Each transcript (log lines,
// commands and replies) is compared whole with its expected file, so any
// change of a byte sent, a line logged or a value shown is caught. After an
// intended change, run with SONVIO_UPDATE_EXPECTED=1 to rewrite the files
// and review their diff.
#include <gtest/gtest.h>

#include "shell_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The folder the plug-in writes its logs into: the test's own program
// folder, which holds links to the built plug-in and transport.
std::filesystem::path ProgramFolder() {
  const char* folder = std::getenv("SONVIO_PROGRAM_DIR");
  return folder != nullptr ? folder : "";
}

// The port of benchora's embedded AT server is a free one, different each
// run; the transcript names it on its first line. Pixel positions (`bounds=`
// of `get`) are the layout test's business: a control added to a panel
// would otherwise move every later position in the transcripts.
std::string Comparable(const std::string& text) {
  static const std::regex port("(listening on 127\\.0\\.0\\.1:)[0-9]+");
  static const std::regex bounds(" bounds=-?[0-9]+,-?[0-9]+,[0-9]+,[0-9]+");
  return std::regex_replace(std::regex_replace(text, port, "$1PORT"), bounds, "");
}

// A script the guides run, and the expected file its transcript must equal
// (the Windows build's run under Wine compares with the same file).
struct Script {
  const char* name;
  const char* chip;
  const char* path;
  const char* options = "";  // more of benchora's options
};

e2e::ShellRun RunTour(const Script& script) {
  const std::string chip = script.chip;
  // The tour starts from no saved settings.
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() /
      ("sonvio-tour-" + std::string(script.name) + std::to_string(::getpid()));
  std::filesystem::remove_all(settings);
  std::filesystem::create_directories(settings);
  ::setenv("SONVIO_CONFIG_DIR", settings.c_str(), 1);
  // From the repository, as the main job runs it (the tour names files
  // relative to it); with the clock fixed, so the logs' time stamps repeat.
  ::setenv("SONVIO_CLOCK", "1796000000", 1);
  const std::string command =
      std::string("cd \"") + SOURCE_DIR + "\" && unset TESSIC_AT_SERVER && \"" + BENCHORA_PATH +
      "\" --chip " + chip + " --strict " + script.options + " --script " + script.path + " 2>&1";
  e2e::ShellRun run = e2e::RunShell(command);
  run.text = Comparable(run.text);
  std::filesystem::remove_all(settings);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The first difference with three lines of context, or "" when equal.
std::string FirstDifference(const std::string& want, const std::string& got) {
  const std::vector<std::string> a = Lines(want);
  const std::vector<std::string> b = Lines(got);
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  if (i == a.size() && i == b.size()) return "";
  std::string out = "first difference at line " + std::to_string(i + 1) + ":\n";
  const size_t from = i >= 3 ? i - 3 : 0;
  for (size_t k = from; k < i; ++k) out += "  " + a[k] + "\n";
  for (size_t k = i; k < a.size() && k < i + 3; ++k) out += "- " + a[k] + "\n";
  for (size_t k = i; k < b.size() && k < i + 3; ++k) out += "+ " + b[k] + "\n";
  return out;
}

class Tour : public ::testing::TestWithParam<Script> {};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Compares `text` with the expected file `name`, or rewrites the file when
// SONVIO_UPDATE_EXPECTED is set.
void ExpectFile(const std::string& name, const std::string& text) {
  const std::string path = std::string(EXPECTED_DIR) + "/" + name;
  if (std::getenv("SONVIO_UPDATE_EXPECTED") != nullptr) {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << "no " << path;
  EXPECT_EQ(FirstDifference(ReadFile(path), text), "") << name;
}

TEST_P(Tour, TranscriptIsTheExpectedOne) {
  const Script& script = GetParam();
  const std::string name = script.name;
  const std::string bin = ProgramFolder().string();
  ASSERT_FALSE(bin.empty());
  for (const char* log : {"decode_data.log", "rssi_logging.log"}) {
    std::filesystem::remove(bin + "/" + log);
  }
  const e2e::ShellRun run = RunTour(script);
  ASSERT_EQ(run.status, 0) << run.text;
  ExpectFile(name + ".expected", run.text);
  if (name == "gen1_tour") {
    // The RDS decode log and the RSSI scan log the tour wrote into the
    // program folder.
    ExpectFile("gen1_decode_data.expected", ReadFile(bin + "/decode_data.log"));
    ExpectFile("gen1_rssi_logging.expected", ReadFile(bin + "/rssi_logging.log"));
    // The groups the simulated station sent at 95.4 MHz, corrected and lost
    // blocks among them, decode back to that station (two cycles of groups
    // with a block lost confirm its name but not yet its whole text).
    const std::string decoded = e2e::RunShell("\"" + std::string(FMR_RDS_PATH) +
                                              "\" --summary --json \"" + bin + "/decode_data.log\"")
                                    .text;
    for (const char* field :
         {"\"pi\":\"C204\"", "\"pty\":11", "\"ps\":\"ROCK 95 \"", "\"country\":\"United Kingdom\"",
          "\"rt_progressive\":\"Rock 95 - now playing: live session\""}) {
      EXPECT_NE(decoded.find(field), std::string::npos) << field << " in " << decoded;
    }
    EXPECT_NE(decoded.find("\"skipped\":1"), std::string::npos) << "a group with block B lost";
  }
}

INSTANTIATE_TEST_SUITE_P(
    E2e, Tour,
    ::testing::Values(Script{"gen1_tour", "gen1", "tours/gen1.txt"},
                      Script{"gen2_tour", "gen2", "tours/gen2.txt"},
                      Script{"getting_started_gen1", "gen1", "docs/getting-started/gen1.txt"},
                      Script{"getting_started_gen2", "gen2", "docs/getting-started/gen2.txt"},
                      // The station as --rds decodes it from the reports.
                      Script{"getting_started_gen2_rds", "gen2", "docs/getting-started/gen2.txt",
                             "--rds"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
