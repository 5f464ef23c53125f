// benchora --station as a bench engineer runs it: handsets of both
// generations over every link (simulated, fmr-sim on a pseudo-terminal and
// on TCP), a folder of its own for each, one JUnit report (read by a CI
// report parser) and one CSV of all of them, a hung handset cut by
// --timeout while the others go on, and Ctrl+C still writing every report.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell_run.h"

namespace {

namespace fs = std::filesystem;

class Station : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("benchora-station-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // A shell script run from the source folder, with the programs' folder
  // first on PATH and `S` (the station file), `OUT` and `F` (the test's
  // folder) set.
  e2e::ShellRun Shell(const std::string& script) const {
    const std::string f = folder_.string();
    return e2e::RunShell("cd \"" + std::string(SOURCE_DIR) + "\" && export PATH=\"" + BIN_DIR +
                         ":$PATH\" F=\"" + f + "\" S=\"" + f + "/station.txt\" OUT=\"" + f +
                         "/out\" || exit 1; { " + script + "; } 2>&1");
  }
  void WriteStation(const std::string& text) const {
    std::ofstream(folder_ / "station.txt") << text;
  }
  std::string Summary(const std::string& xml) const {
    return e2e::RunShell(std::string(PYTHON3) + " \"" + SOURCE_DIR +
                         "/tests/e2e/junit_summary.py\" \"" + xml +
                         "\" 2>&1 | sed -e 's/127\\.0\\.0\\.1:[0-9]*/127.0.0.1:PORT/g' -e "
                         "'s#/dev/pts/[0-9]*#/dev/pts/N#g'")
        .text;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The final table's row of a handset, its time left out.
  static std::string Row(const std::string& output, const std::string& name) {
    const size_t table = output.find("\nhandset ");
    const size_t at = output.find("\n" + name + " ", table == std::string::npos ? 0 : table);
    if (table == std::string::npos) return {};
    if (at == std::string::npos) return {};
    std::istringstream words(output.substr(at + 1, output.find('\n', at + 1) - at - 1));
    std::vector<std::string> row;
    for (std::string word; words >> word && word != "s";) row.push_back(word);
    if (!row.empty()) row.pop_back();  // the seconds
    std::string out;
    for (const std::string& word : row) out += (out.empty() ? "" : " ") + word;
    return out;
  }

  fs::path folder_;
};

// Four second-generation handsets over the three kinds of link, one of them
// with its RSSI faulted low: that one fails alone.
TEST_F(Station, FourHandsetsOneFailing) {
  const e2e::ShellRun run = Shell(
      "fmr-sim --pty > \"$F/pty.log\" 2>&1 & pty_sim=$!; "
      "fmr-sim --port 0 > \"$F/tcp.log\" 2>&1 & tcp_sim=$!; "
      "for i in $(seq 300); do grep -q 'serving on' \"$F/pty.log\" && grep -q 'listening on' "
      "\"$F/tcp.log\" && break; sleep 0.1; done; "
      "printf 'B1 gen2 sim\\nB2 gen2 sim --fault value=4:12,on=fmrx_get_dynamic_data\\n"
      "B3 gen2 serial:%s\\nB4 gen2 %s\\n' \"$(sed -n 's/.*serving on //p' \"$F/pty.log\")\" "
      "\"$(sed -n 's/.*listening on //p' \"$F/tcp.log\")\" > \"$S\"; "
      "benchora --station \"$S\" --script examples/station-check.txt --out \"$OUT\" "
      "--report \"$F/all.xml\" --csv \"$F/all.csv\"; echo \"status $?\"; "
      "kill $pty_sim $tcp_sim; wait");
  EXPECT_NE(run.text.find("status 1\n"), std::string::npos) << run.text;
  EXPECT_EQ(Row(run.text, "B1"), "B1 PASS 3 0") << run.text;
  EXPECT_EQ(Row(run.text, "B2"), "B2 FAIL 2 1") << run.text;
  EXPECT_EQ(Row(run.text, "B3"), "B3 PASS 3 0") << run.text;
  EXPECT_EQ(Row(run.text, "B4"), "B4 PASS 3 0") << run.text;

  std::string expected;
  const char* links[] = {"embedded simulated handset at 127.0.0.1:PORT",
                         "embedded simulated handset at 127.0.0.1:PORT", "serial port /dev/pts/N",
                         "AT server 127.0.0.1:PORT"};
  for (int i = 0; i < 4; ++i) {
    const std::string name = "B" + std::to_string(i + 1);
    const bool faulted = i == 1;
    expected += "suite " + name + ": 3 tests, " + (faulted ? "1" : "0") +
                " failures, 0 errors, 0 skipped\n  about: dut=" + name +
                ", chip=gen2, link=" + links[i] + ", plugin_version=6.0.0.0\n";
    expected += "  l2 = 95400000 [examples/station-check.txt]: passed\n";
    expected += "  l3 = stereo [examples/station-check.txt]: passed\n";
    expected +=
        std::string("  l6 in 25..40 dBuV [examples/station-check.txt]: ") +
        (faulted ? "failure: FAIL l6 (Quick Information): measured 12, limits in 25..40 dBuV\n"
                 : "passed\n");
  }
  EXPECT_EQ(Summary((folder_ / "all.xml").string()), expected);

  // One CSV: every row names its handset in the dut column.
  std::istringstream csv(Read(folder_ / "all.csv"));
  std::set<std::string> duts;
  std::string failed;
  for (std::string line; std::getline(csv, line);) {
    if (line.starts_with("#") || line.starts_with("time_ms")) continue;
    duts.insert(line.substr(line.rfind(',') + 1));
    if (line.find(",FAIL,") != std::string::npos) failed = line.substr(line.find(',') + 1);
  }
  EXPECT_EQ(duts, (std::set<std::string>{"B1", "B2", "B3", "B4"}));
  EXPECT_EQ(failed, "l6,12,dBuV,25,40,FAIL,examples/station-check.txt:14,B2");

  // Each handset's own folder: its transcript and its own reports.
  for (const char* name : {"B1", "B2", "B3", "B4"}) {
    const fs::path own = folder_ / "out" / name;
    EXPECT_NE(Read(own / "transcript.txt").find("> verify l6 in 25..40 dBuV"), std::string::npos)
        << name;
    EXPECT_NE(Read(own / "report.xml").find("<property name=\"dut\" value=\"" + std::string(name)),
              std::string::npos)
        << name;
    EXPECT_NE(Read(own / "report.csv").find(std::string(",") + name + "\n"), std::string::npos)
        << name;
  }
}

// First-generation handsets each write the panel's RDS log in their own
// folder, none beside the program.
TEST_F(Station, EachHandsetHasItsOwnProgramFolder) {
  WriteStation(
      "# two handsets side by side\nA1 gen1 sim\nA2 gen1 sim --fault 0x08:value=rssi:12\n");
  const e2e::ShellRun run = Shell(
      "benchora --station \"$S\" --rds --script examples/regression-check.txt --out "
      "\"$OUT\" --report \"$F/all.xml\"; echo \"status $?\"");
  EXPECT_NE(run.text.find("status 1\n"), std::string::npos) << run.text;
  EXPECT_EQ(Row(run.text, "A1"), "A1 PASS 6 0") << run.text;
  EXPECT_EQ(Row(run.text, "A2"), "A2 FAIL 5 1") << run.text;
  for (const char* name : {"A1", "A2"}) {
    EXPECT_NE(Read(folder_ / "out" / name / "decode_data.log").find("C204"), std::string::npos)
        << name;
  }
  const char* program = std::getenv("SONVIO_PROGRAM_DIR");
  ASSERT_NE(program, nullptr);
  EXPECT_FALSE(fs::exists(fs::path(program) / "decode_data.log"));
  EXPECT_NE(Summary((folder_ / "all.xml").string())
                .find("suite A2: 6 tests, 1 failures, 0 errors, 0 skipped\n  about: dut=A2, "
                      "chip=gen1"),
            std::string::npos);
}

// The second-generation power-on held back for a minute on H1: --timeout
// cuts it after 8 s, naming the step it hung on, and H2 passes meanwhile.
TEST_F(Station, HungHandsetCutByTimeout) {
  WriteStation("H1 gen2 sim --fault delay=60000,on=fmrx_enable\nH2 gen2 sim\n");
  const e2e::ShellRun run = Shell(
      "benchora --station \"$S\" --script examples/station-check.txt --timeout 8 --out "
      "\"$OUT\" --report \"$F/all.xml\"; echo \"status $?\"");
  EXPECT_NE(run.text.find("status 1\n"), std::string::npos) << run.text;
  EXPECT_EQ(Row(run.text, "H1"), "H1 TIMEOUT 0 1") << run.text;
  EXPECT_EQ(Row(run.text, "H2"), "H2 PASS 3 0") << run.text;
  const std::string summary = Summary((folder_ / "all.xml").string());
  EXPECT_NE(summary.find("suite H1: 4 tests, 0 failures, 1 errors, 3 skipped\n"), std::string::npos)
      << summary;
  EXPECT_NE(summary.find("  click btn_onoff [examples/station-check.txt]: error: timed out after "
                         "8 s at examples/station-check.txt:5: click btn_onoff\n"),
            std::string::npos)
      << summary;
  EXPECT_NE(summary.find("suite H2: 3 tests, 0 failures, 0 errors, 0 skipped\n"), std::string::npos)
      << summary;
}

// A handset's run that outlives its own --timeout (stopped, so its own
// limit never ends it) is killed by the station ten seconds later and
// reported by the station with the step it was on.
TEST_F(Station, RunOutlivingItsTimeoutIsKilled) {
  WriteStation("K1 gen2 sim --fault delay=60000,on=fmrx_enable\nK2 gen2 sim\n");
  const e2e::ShellRun run = Shell(
      "benchora --station \"$S\" --script examples/station-check.txt --timeout 10 --out \"$OUT\" "
      "--report \"$F/all.xml\" > \"$F/station.log\" & station=$!; "
      "for i in $(seq 300); do grep -qs btn_onoff \"$OUT/K1/progress.tsv\" && break; sleep 0.1; "
      "done; for c in $(pgrep -P $station); do grep -qa K1 /proc/$c/cmdline && kill -STOP $c; "
      "done; wait $station; echo \"status $?\"");
  EXPECT_EQ(run.text, "status 1\n");
  const std::string output = Read(folder_ / "station.log");
  EXPECT_EQ(Row(output, "K1"), "K1 TIMEOUT 0 1") << output;
  EXPECT_EQ(Row(output, "K2"), "K2 PASS 3 0") << output;
  EXPECT_NE(output.find("\nK1: timed out after 10 s and killed, at "
                        "examples/station-check.txt:5: click btn_onoff\n"),
            std::string::npos)
      << output;
  const std::string summary = Summary((folder_ / "all.xml").string());
  EXPECT_NE(summary.find("suite K1: 1 tests, 0 failures, 1 errors, 0 skipped\n"), std::string::npos)
      << summary;
  EXPECT_NE(summary.find("  run of K1 [examples/station-check.txt]: error: timed out after 10 s "
                         "and killed, at examples/station-check.txt:5: click btn_onoff\n"),
            std::string::npos)
      << summary;
}

// Ctrl+C on a station whose handsets both hang: each is stopped, and the
// station's reports and each handset's own are written.
TEST_F(Station, InterruptWritesEveryReport) {
  WriteStation(
      "H1 gen2 sim --fault delay=60000,on=fmrx_enable\n"
      "H2 gen2 sim --fault delay=60000,on=fmrx_enable\n");
  // A shell's background job ignores SIGINT unless it is given back.
  const e2e::ShellRun run = Shell(
      "env --default-signal=INT benchora --station \"$S\" --script examples/station-check.txt "
      "--out \"$OUT\" "
      "--report \"$F/all.xml\" --csv \"$F/all.csv\" > \"$F/station.log\" & station=$!; "
      "for i in $(seq 300); do grep -qs btn_onoff \"$OUT/H1/progress.tsv\" && grep -qs btn_onoff "
      "\"$OUT/H2/progress.tsv\" && break; sleep 0.1; done; kill -INT $station; wait $station; "
      "echo \"status $?\"");
  EXPECT_EQ(run.text, "status 130\n") << Read(folder_ / "station.log");
  const std::string output = Read(folder_ / "station.log");
  EXPECT_EQ(Row(output, "H1"), "H1 STOPPED 0 0") << output;
  EXPECT_EQ(Row(output, "H2"), "H2 STOPPED 0 0") << output;
  const std::string summary = Summary((folder_ / "all.xml").string());
  for (const char* name : {"H1", "H2"}) {
    EXPECT_NE(
        summary.find("suite " + std::string(name) + ": 3 tests, 0 failures, 0 errors, 3 skipped"),
        std::string::npos)
        << summary;
    EXPECT_NE(Read(folder_ / "out" / name / "report.xml").find("not run: stopped by SIGTERM"),
              std::string::npos);
  }
  EXPECT_NE(Read(folder_ / "all.csv").find("SKIPPED,examples/station-check.txt:14,H2\n"),
            std::string::npos);
}

// A bad station file stops everything before it starts: no folder is made.
TEST_F(Station, BadStationFileRefused) {
  WriteStation("A1 gen1 sim\nA2 gen2 sim --fault bogus\n");
  const e2e::ShellRun run =
      Shell("benchora --station \"$S\" -e \"click btn_onoff\" --out \"$OUT\"; echo \"status $?\"");
  EXPECT_EQ(run.text, "benchora: " + (folder_ / "station.txt").string() +
                          ":2: --fault (--chip gen2): fault rule \"bogus\": unknown kind "
                          "\"bogus\" (delay=MS, drop, error, malformed, oversize[=BYTES], late, "
                          "trickle[=MS], duplicate, partial, stray, garbage[=BYTES], "
                          "value=FIELD:N)\nstatus 2\n");
  EXPECT_FALSE(fs::exists(folder_ / "out"));
}

}  // namespace
