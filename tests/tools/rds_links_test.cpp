// A station that trusts a check must never be told PASS for RDS it is not
// receiving now: a script tunes a station, checks it, retunes to an empty
// channel, switches RDS off and on and the radio off, checking each time.
// The verdicts are the same whichever link carries the second generation
// (the embedded server, TCP to a simulated handset, its serial port), since
// --rds decodes what the panel itself reads; the first generation gives
// the same story through its own controls.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/pty/pty_server.h"

namespace {

std::string Run(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
  ::pclose(pipe);
  return text;
}

// The verdict lines of a benchora run of `script`.
std::string Verdicts(const std::string& arguments, const std::string& script) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("sonvio-rds-links-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "stale.txt";
  std::ofstream(path) << script;
  const std::string text = Run("SONVIO_CONFIG_DIR=\"" + folder.string() + "\" \"" +
                               BENCHORA_PATH + "\" --rds " + arguments + " --script \"" +
                               path.string() + "\" 2>&1");
  std::filesystem::remove_all(folder);
  std::istringstream lines(text);
  std::string verdicts;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("PASS ") || line.starts_with("FAIL ")) verdicts += line + "\n";
  }
  return verdicts.empty() ? text : verdicts;
}

constexpr char kGen2Script[] = R"(select cb_audiooutput Headset
click btn_onoff
type le_frequency 95400000
click btn_set_station
check CheckBox_rds 1
advance 5000
verify rds.ps = "ROCK 95 "
verify rds.pi = C204
type le_frequency 90000000
click btn_set_station
advance 5000
verify rds.ps = "ROCK 95 "
verify rds.groups = 0
type le_frequency 95400000
click btn_set_station
advance 5000
verify rds.ps = "ROCK 95 "
check CheckBox_rds 0
check CheckBox_rds 1
verify rds.pi = C204
advance 5000
verify rds.pi = C204
click btn_onoff
verify rds.pi = C204
)";

constexpr char kGen2Verdicts[] =
    R"(PASS rds.ps: measured "ROCK 95 ", limits = "ROCK 95 "
PASS rds.pi: measured C204, limits = C204
FAIL rds.ps: measured nothing, limits = "ROCK 95 " (nothing received since the tune at 5000 ms)
PASS rds.groups: measured 0, limits = 0
PASS rds.ps: measured "ROCK 95 ", limits = "ROCK 95 "
FAIL rds.pi: measured nothing, limits = C204 (nothing received since the RDS switch-on at 15000 ms)
PASS rds.pi: measured C204, limits = C204
FAIL rds.pi: measured nothing, limits = C204 (nothing received since the power off at 20000 ms)
)";

TEST(RdsLinks, StaleRdsFailsOnEveryLinkOfTheSecondGeneration) {
  EXPECT_EQ(Verdicts("--chip gen2", kGen2Script), kGen2Verdicts) << "embedded";

  fmrsim::AtServerConfig tcp;
  tcp.port = 0;
  std::string error;
  const std::unique_ptr<fmrsim::AtServer> server = fmrsim::AtServer::Start(std::move(tcp), error);
  ASSERT_TRUE(server) << error;
  EXPECT_EQ(Verdicts("--chip gen2 --at-server 127.0.0.1:" + std::to_string(server->port()),
                     kGen2Script),
            kGen2Verdicts)
      << "TCP";

  const std::unique_ptr<fmrsim::pty::PtyServer> device =
      fmrsim::pty::PtyServer::Start(fmrsim::pty::PtyServerConfig{}, error);
  ASSERT_TRUE(device) << error;
  EXPECT_EQ(Verdicts("--chip gen2 --at-server serial:" + device->slave_path(), kGen2Script),
            kGen2Verdicts)
      << "serial";
}

TEST(RdsLinks, StaleRdsFailsOnTheFirstGeneration) {
  constexpr char kScript[] = R"(click BtnFMREnable
type LEFrequency 95400000
click BtnWriteFrequency
click btn_rds
advance 5600
verify rds.ps = "ROCK 95 "
type LEFrequency 90000000
click BtnWriteFrequency
advance 5600
verify rds.ps = "ROCK 95 "
verify rds.groups = 0
type LEFrequency 95400000
click BtnWriteFrequency
advance 5600
verify rds.ps = "ROCK 95 "
click btn_rds
click btn_rds
verify rds.pi = C204
advance 5600
verify rds.pi = C204
click BtnFMRDisable
verify rds.pi = C204
)";
  EXPECT_EQ(Verdicts("--chip gen1", kScript),
            R"(PASS rds.ps: measured "ROCK 95 ", limits = "ROCK 95 "
FAIL rds.ps: measured nothing, limits = "ROCK 95 " (nothing received since the tune at 5900 ms)
PASS rds.groups: measured 0, limits = 0
PASS rds.ps: measured "ROCK 95 ", limits = "ROCK 95 "
FAIL rds.pi: measured nothing, limits = C204 (nothing received since the RDS switch-on at 17100 ms)
PASS rds.pi: measured C204, limits = C204
FAIL rds.pi: measured nothing, limits = C204 (nothing received since the power off at 22700 ms)
)");
}

}  // namespace
