// The example regression check (examples/regression-check.txt) against the
// simulated handset: it passes, then fails with a value fault and with an
// error fault. Each run's verdicts, its exit status, its JUnit report as a
// CI report parser reads it, and the passing run's CSV are compared whole.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell_run.h"

namespace {

struct CheckRun {
  const char* name;
  const char* faults;
  int status;
  const char* verdicts;  // the transcript's PASS, FAIL, SAMPLE and benchora lines
  const char* junit;     // what the report parser read
};

const CheckRun kRuns[] = {
    {"passes", "", 0,
     "PASS LEFrequency (Power and Tuning): measured 95400000, limits = 95400000 Hz\n"
     "PASS LERSSI (RSSI Control): measured 30, limits in 25..40 dBuV\n"
     "PASS LStereo (Audio Control): measured \"Yes\", limits = \"Yes\"\n"
     "PASS rds.pi: measured C204, limits = C204\n"
     "PASS rds.ps: measured \"ROCK 95 \", limits = \"ROCK 95 \"\n"
     "PASS rds.rt: measured \"Rock 95 - now playing: live session\", limits ~ \"^Rock 95\"\n"
     "SAMPLE 6900 ms: LERSSI=30 dBuV\nSAMPLE 7900 ms: LERSSI=30 dBuV\n"
     "SAMPLE 8900 ms: LERSSI=30 dBuV\n",
     "suite examples/regression-check.txt: 6 tests, 0 failures, 0 errors, 0 skipped\n"
     "  about: dut=handset-7, chip=gen1, link=simulated first-generation handset (host callbacks), "
     "handset=+CHIPVER: KF1021 rev 3, plugin_version=6.0.0.0\n"
     "  LEFrequency = 95400000 Hz [examples/regression-check.txt]: passed\n"
     "  LERSSI in 25..40 dBuV [examples/regression-check.txt]: passed\n"
     "  LStereo = Yes [examples/regression-check.txt]: passed\n"
     "  rds.pi = C204 [examples/regression-check.txt]: passed\n"
     "  rds.ps = \"ROCK 95 \" [examples/regression-check.txt]: passed\n"
     "  rds.rt ~ \"^Rock 95\" [examples/regression-check.txt]: passed\n"},
    {"value_fault", "--fault 0x08:value=rssi:12 --fault 0x13:fail", 1,
     "PASS LEFrequency (Power and Tuning): measured 95400000, limits = 95400000 Hz\n"
     "FAIL LERSSI (RSSI Control): measured 12, limits in 25..40 dBuV\n"
     "PASS LStereo (Audio Control): measured \"Yes\", limits = \"Yes\"\n"
     "PASS rds.pi: measured C204, limits = C204\n"
     "PASS rds.ps: measured \"ROCK 95 \", limits = \"ROCK 95 \"\n"
     "PASS rds.rt: measured \"Rock 95 - now playing: live session\", limits ~ \"^Rock 95\"\n"
     "SAMPLE 6900 ms: LERSSI=12 dBuV\nSAMPLE 7900 ms: LERSSI=12 dBuV\n"
     "SAMPLE 8900 ms: LERSSI=12 dBuV\n"
     "benchora: fault rule \"0x13:fail\" never fired\n",
     "suite examples/regression-check.txt: 6 tests, 1 failures, 0 errors, 0 skipped\n"
     "  about: dut=handset-7, chip=gen1, link=simulated first-generation handset (host callbacks), "
     "handset=+CHIPVER: KF1021 rev 3, plugin_version=6.0.0.0\n"
     "  LEFrequency = 95400000 Hz [examples/regression-check.txt]: passed\n"
     "  LERSSI in 25..40 dBuV [examples/regression-check.txt]: failure: FAIL LERSSI (RSSI "
     "Control): measured 12, limits in 25..40 dBuV\n"
     "  LStereo = Yes [examples/regression-check.txt]: passed\n"
     "  rds.pi = C204 [examples/regression-check.txt]: passed\n"
     "  rds.ps = \"ROCK 95 \" [examples/regression-check.txt]: passed\n"
     "  rds.rt ~ \"^Rock 95\" [examples/regression-check.txt]: passed\n"
     "suite --fault: 1 tests, 0 failures, 1 errors, 0 skipped\n"
     "  about: dut=handset-7, chip=gen1, link=simulated first-generation handset (host callbacks), "
     "handset=+CHIPVER: KF1021 rev 3, plugin_version=6.0.0.0\n"
     "  0x13:fail [--fault]: error: fault rule \"0x13:fail\" never fired: nothing was tested "
     "with it\n"},
    {"error_fault", "--fault 0x08:status", 1,
     "benchora: --strict: examples/regression-check.txt:12: click BtnReadRSSI: unexpected error "
     "line: Read RSSI. failed: ERROR: FMR_STATUS_ERROR\n"
     "benchora: (when it is meant to happen, write \"@expect error [TEXT]\" on the line before "
     "the command)\n",
     "suite examples/regression-check.txt: 7 tests, 0 failures, 1 errors, 6 skipped\n"
     "  about: dut=handset-7, chip=gen1, link=simulated first-generation handset (host callbacks), "
     "handset=+CHIPVER: KF1021 rev 3, plugin_version=6.0.0.0\n"
     "  click BtnReadRSSI [examples/regression-check.txt]: error: click BtnReadRSSI: unexpected "
     "error line: Read RSSI. failed: ERROR: FMR_STATUS_ERROR\n"
     "  LEFrequency = 95400000 Hz [examples/regression-check.txt]: skipped: not run: --strict "
     "stopped the run before it\n"
     "  LERSSI in 25..40 dBuV [examples/regression-check.txt]: skipped: not run: --strict "
     "stopped the run before it\n"
     "  LStereo = Yes [examples/regression-check.txt]: skipped: not run: --strict stopped the "
     "run before it\n"
     "  rds.pi = C204 [examples/regression-check.txt]: skipped: not run: --strict stopped the "
     "run before it\n"
     "  rds.ps = \"ROCK 95 \" [examples/regression-check.txt]: skipped: not run: --strict "
     "stopped the run before it\n"
     "  rds.rt ~ \"^Rock 95\" [examples/regression-check.txt]: skipped: not run: --strict "
     "stopped the run before it\n"},
};

std::string Lines(const std::string& text, std::initializer_list<const char*> starts) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    for (const char* start : starts) {
      if (line.starts_with(start)) {
        out += line + "\n";
        break;
      }
    }
  }
  return out;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RegressionCheck, PassesThenFailsWithAValueAndAnErrorFault) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("sonvio-check-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  for (const CheckRun& run : kRuns) {
    SCOPED_TRACE(run.name);
    const std::string xml = (folder / (std::string(run.name) + ".xml")).string();
    const std::string csv = (folder / (std::string(run.name) + ".csv")).string();
    const e2e::ShellRun shell = e2e::RunShell(
        std::string("cd \"") + SOURCE_DIR + "\" && unset TESSIC_AT_SERVER && SONVIO_CONFIG_DIR=\"" +
        folder.string() + "\" \"" + BENCHORA_PATH +
        "\" --chip gen1 --rds --strict --script examples/regression-check.txt --report \"" + xml +
        "\" --csv \"" + csv + "\" --dut handset-7 " + run.faults + " 2>&1");
    EXPECT_EQ(shell.status, run.status) << shell.text;
    EXPECT_EQ(Lines(shell.text, {"PASS ", "FAIL ", "SAMPLE ", "benchora: "}), run.verdicts);
    const e2e::ShellRun parsed =
        e2e::RunShell(std::string(PYTHON3) + " \"" + SOURCE_DIR +
                      "/tests/e2e/junit_summary.py\" \"" + xml + "\" 2>&1");
    EXPECT_EQ(parsed.status, 0);
    EXPECT_EQ(parsed.text, run.junit);
  }
  // The lines that differ from bench to bench and run to run are checked
  // for their form; the rest whole.
  std::string csv;
  std::istringstream lines(ReadFile(folder / "passes.csv"));
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("# timestamp: ")) {
      EXPECT_EQ(line.size(), 33u) << line;  // # timestamp: 2026-12-07T12:34:02Z
    } else if (line.starts_with("# script_sha256: ")) {
      EXPECT_EQ(line.size(), 17u + 64u) << line;
    } else if (!line.starts_with("# hostname: ") && !line.starts_with("# plugin: ")) {
      csv += line + "\n";
    }
  }
  EXPECT_EQ(
      csv,
      "# dut: handset-7\n"
      "# chip: gen1\n"
      "# link: simulated first-generation handset (host callbacks)\n"
      "# handset: +CHIPVER: KF1021 rev 3\n"
      "# plugin_version: 6.0.0.0\n"
      "# benchora_version: 6.0.0.0\n"
      "# script: examples/regression-check.txt\n"
      "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
      "5900,LEFrequency,95400000,Hz,95400000,95400000,PASS,examples/regression-check.txt:18,"
      "handset-7\n"
      "5900,LERSSI,30,dBuV,25,40,PASS,examples/regression-check.txt:19,handset-7\n"
      "5900,LStereo,Yes,,Yes,Yes,PASS,examples/regression-check.txt:20,handset-7\n"
      "5900,rds.pi,C204,,C204,C204,PASS,examples/regression-check.txt:21,handset-7\n"
      "5900,rds.ps,ROCK 95 ,,ROCK 95 ,ROCK 95 ,PASS,examples/regression-check.txt:22,handset-7\n"
      "5900,rds.rt,Rock 95 - now playing: live session,,,,PASS,examples/regression-check.txt:23,"
      "handset-7\n"
      "6900,LERSSI,30,dBuV,,,,examples/regression-check.txt:27,handset-7\n"
      "7900,LERSSI,30,dBuV,,,,examples/regression-check.txt:27,handset-7\n"
      "8900,LERSSI,30,dBuV,,,,examples/regression-check.txt:27,handset-7\n");
  std::filesystem::remove_all(folder);
}

}  // namespace
