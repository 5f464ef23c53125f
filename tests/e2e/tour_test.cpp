// The main job's tours, run as the README runs them: benchora with the real
// plug-in, the simulated handset and --strict. Each transcript (log lines,
// commands and replies) is compared whole with its expected file, so any
// change of a byte sent, a line logged or a value shown is caught. After an
// intended change, run with SONVIO_UPDATE_EXPECTED=1 to rewrite the files
// and review their diff.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TourRun {
  int status = -1;
  std::string text;
};

TourRun RunTour(const std::string& chip) {
  TourRun run;
  // The tour starts from no saved settings.
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() / ("sonvio-tour-" + chip);
  std::filesystem::remove_all(settings);
  std::filesystem::create_directories(settings);
  ::setenv("SONVIO_CONFIG_DIR", settings.c_str(), 1);
  const std::string command = std::string("\"") + BENCHORA_PATH + "\" --chip " + chip +
                              " --strict --script \"" + TOURS_DIR + "/" + chip + ".txt\" 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> chunk{};
  size_t n = 0;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.text.append(chunk.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

class Tour : public ::testing::TestWithParam<std::string> {};

TEST_P(Tour, TranscriptIsTheExpectedOne) {
  const std::string chip = GetParam();
  const std::string expected_path = std::string(EXPECTED_DIR) + "/" + chip + "_tour.expected";
  const TourRun run = RunTour(chip);
  ASSERT_EQ(run.status, 0) << run.text;

  if (std::getenv("SONVIO_UPDATE_EXPECTED") != nullptr) {
    std::ofstream(expected_path, std::ios::binary) << run.text;
    GTEST_SKIP() << "rewrote " << expected_path;
  }
  std::ifstream in(expected_path, std::ios::binary);
  ASSERT_TRUE(in) << "no " << expected_path;
  const std::string expected((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(FirstDifference(expected, run.text), "");
}

INSTANTIATE_TEST_SUITE_P(E2e, Tour, ::testing::Values("gen1", "gen2"),
                         [](const auto& test) { return test.param; });

}  // namespace
