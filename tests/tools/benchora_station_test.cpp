// benchora --station's own logic: the station file's grammar, the progress
// lines a handset's run writes and the station reads back, the station's
// reports of all handsets, a handset run's arguments, and what the station
// shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "options.h"
#include "report/csv_report.h"
#include "report/junit_report.h"
#include "report/progress_feed.h"
#include "station/station_file.h"
#include "station/station_run.h"
#include "station/station_view.h"

namespace {

using benchora::Record;
using benchora::RecordKind;

// A station's handsets in one line each: NAME CHIP LINK [faults], or the error.
std::string Summary(const std::string& text) {
  std::string error;
  const auto handsets = benchora::ReadStationText(text, "s.txt", error);
  if (!handsets) return error;
  std::string out;
  for (const benchora::StationHandset& h : *handsets) {
    out += std::to_string(h.line) + " " + h.name + " " +
           (h.chip == benchora::Chip::kGen2 ? "gen2" : "gen1") + " " + h.link;
    for (const std::string& rule : h.faults) out += " [" + rule + "]";
    out += "\n";
  }
  return out;
}

TEST(StationFile, Grammar) {
  const struct {
    std::string text;
    std::string summary;  // or the error
  } kCases[] = {
      // Comments, blank lines, tabs and CRLF; a # inside a word is no comment.
      {"# bench 3\n\nA1 gen1 sim\r\n\tB_2\tgen2  sim   # the spare\nC-3 gen2 127.0.0.1:4001\n"
       "d.4 gen2 serial:/dev/ttyACM0,9600 #x\n",
       "3 A1 gen1 sim\n4 B_2 gen2 sim\n5 C-3 gen2 127.0.0.1:4001\n"
       "6 d.4 gen2 serial:/dev/ttyACM0,9600\n"},
      {"E#5 gen2 sim\n",
       "s.txt:1: the handset name E#5 is more than letters, digits, '.', '_' and '-' (and starts "
       "with a letter, digit or '_')"},
      {"A gen2 sim --fault value=4:12,on=fmrx_get_dynamic_data --fault drop,count=1\n"
       "B gen1 sim --fault 0x08:value=rssi:12",
       "1 A gen2 sim [value=4:12,on=fmrx_get_dynamic_data] [drop,count=1]\n"
       "2 B gen1 sim [0x08:value=rssi:12]\n"},
      {"", "s.txt: no handsets (a line NAME CHIP LINK [--fault RULE]... each)"},
      {"# only a comment\n", "s.txt: no handsets (a line NAME CHIP LINK [--fault RULE]... each)"},
      {"A gen1\n", "s.txt:1: a handset line is NAME CHIP LINK [--fault RULE]..."},
      {"A gen1 sim\nB gen3 sim\n", "s.txt:2: the chip is gen1 or gen2, not gen3"},
      {"A gen1 127.0.0.1:5000\n",
       "s.txt:1: a first-generation handset is reached only as sim (the simulated handset behind "
       "the host's callbacks), not 127.0.0.1:5000"},
      {"A gen2 localhost\n",
       "s.txt:1: the link is sim, HOST:PORT or serial:DEVICE[,BAUD], not localhost"},
      {"A gen2 127.0.0.1:70000\n",
       "s.txt:1: the link is sim, HOST:PORT or serial:DEVICE[,BAUD], not 127.0.0.1:70000"},
      {"A gen2 sim --fault\n", "s.txt:1: --fault needs a rule"},
      {"A gen2 sim drop\n", "s.txt:1: after the link only --fault RULE may follow, not drop"},
      {"A gen2 sim --fault nonsense\n",
       "s.txt:1: --fault (--chip gen2): fault rule \"nonsense\": unknown kind \"nonsense\" "
       "(delay=MS, drop, error, malformed, oversize[=BYTES], late, trickle[=MS], duplicate, "
       "partial, stray, garbage[=BYTES], value=FIELD:N)"},
      {"A gen2 127.0.0.1:5000 --fault drop\n",
       "s.txt:1: --fault needs the embedded AT server; with --at-server 127.0.0.1:5000 the "
       "handset is not benchora's (give the rules to fmr-sim --fault there)"},
      // Names become folders: nothing a path or Windows would read otherwise.
      {"../x gen1 sim\n",
       "s.txt:1: the handset name ../x is more than letters, digits, '.', '_' and '-' (and starts "
       "with a letter, digit or '_')"},
      {"-x gen1 sim\n",
       "s.txt:1: the handset name -x is more than letters, digits, '.', '_' and '-' (and starts "
       "with a letter, digit or '_')"},
      {"nul.txt gen1 sim\n", "s.txt:1: the handset name nul.txt is a device name on Windows"},
      {"COM3 gen1 sim\n", "s.txt:1: the handset name COM3 is a device name on Windows"},
      {"COM10 gen1 sim\n", "1 COM10 gen1 sim\n"},
      {std::string(65, 'a') + " gen1 sim\n",
       "s.txt:1: the handset name " + std::string(65, 'a') + " is longer than 64"},
      // Twice the same name (as a folder on Windows) or the same link.
      {"A gen1 sim\n\na gen1 sim\n", "s.txt:3: the handset name a is already on line 1"},
      {"A gen2 LOCALHOST:4001\nB gen2 localhost:4001\n",
       "s.txt:2: the link localhost:4001 is already handset A's (line 1)"},
      {"A gen2 serial:/dev/ttyUSB0\nB gen2 serial:/dev/ttyUSB0,9600\n",
       "s.txt:2: the link serial:/dev/ttyUSB0,9600 is already handset A's (line 1)"},
      {"A gen2 serial:/dev/ttyUSB0\nB gen2 serial:/dev/ttyUSB1\nC gen2 sim\nD gen2 sim\n",
       "1 A gen2 serial:/dev/ttyUSB0\n2 B gen2 serial:/dev/ttyUSB1\n3 C gen2 sim\n4 D gen2 sim\n"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Summary(c.text), c.summary) << c.text;
}

// Hostile text in every field of a record comes back as it was written.
TEST(ProgressFeed, LinesReadBackWhatWasWritten) {
  const std::string hostile = std::string("a\tb\\n\r\nc\\") + '\0' + "\x01\xff";
  benchora::FeedState state;
  const Record check{
      RecordKind::kCheck, 12, "t.txt:3", hostile, "30", "dBuV", "25", "40", true, "PASS " + hostile,
      "l6 in 25..40"};
  const Record problem{RecordKind::kProblem, 40,     "-e 2", "click", "", "", "", "", false,
                       "timed out",          hostile};
  EXPECT_TRUE(benchora::ApplyFeedLine(
      std::string_view(benchora::FeedLine({"step", "2", "9", hostile})).substr(0), state));
  for (const Record& r : {check, problem}) {
    std::string line = benchora::FeedLine(
        {"record", r.kind == RecordKind::kCheck ? "check" : "problem", std::to_string(r.time_ms),
         r.origin, r.name, r.value, r.unit, r.low, r.high, r.pass ? "1" : "0", r.message, r.test});
    ASSERT_EQ(line.back(), '\n');
    line.pop_back();
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_TRUE(benchora::ApplyFeedLine(line, state));
  }
  EXPECT_EQ(state.step, 2u);
  EXPECT_EQ(state.total, 9u);
  ASSERT_EQ(state.records.size(), 2u);
  EXPECT_EQ(state.records[0].name, hostile);
  EXPECT_EQ(state.records[0].message, "PASS " + hostile);
  EXPECT_EQ(state.records[1].test, hostile);
  EXPECT_EQ(state.records[1].kind, RecordKind::kProblem);
  EXPECT_EQ(state.passed, 1);
  EXPECT_EQ(state.failed, 1);
  // Lines the station does not know change nothing.
  for (const char* bad : {"step\t1", "step\tx\t2\ta", "record\tcheck\t1", "nonsense",
                          "record\tbogus\t1\to\tn\tv\tu\tl\th\t1\tm\tt",
                          "record\tcheck\t1\to\tn\tv\tu\tl\th\t2\tm\tt", "step\t1\t2\ta\\",
                          "step\t1\t2\ta\\x", "about\tdut"}) {
    EXPECT_FALSE(benchora::ApplyFeedLine(bad, state)) << bad;
  }
  EXPECT_EQ(state.records.size(), 2u);
}

// A handset run's progress as the child writes it (a file of its own) is
// read back whole: the identity and the records, in the order written.
TEST(ProgressFeed, FileOfARun) {
  const std::string path = ::testing::TempDir() + "/progress-feed-test.tsv";
  {
    const auto feed = benchora::ProgressFeed::Open(path);
    ASSERT_NE(feed, nullptr);
    benchora::RunIdentity identity;
    identity.timestamp = "2026-12-07T12:00:00Z";
    identity.hostname = "bench";
    identity.chip = "gen2";
    identity.link = "AT server 127.0.0.1:5";
    identity.dut = "B2";
    identity.scripts = {{"a.txt", "aa"}, {"b.txt", "bb"}};
    feed->About(identity);
    feed->Step(1, 3, "a.txt:1: click btn_onoff");
    feed->Add({RecordKind::kSkipped, 5, "a.txt:4", "l6", "", "", "", "", false, "not run", "l6"});
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string text(4096, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  std::remove(path.c_str());
  benchora::FeedState state;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    EXPECT_TRUE(benchora::ApplyFeedLine(std::string_view(text).substr(start, end - start), state));
  }
  EXPECT_EQ(state.identity.Properties(),
            (std::vector<std::pair<std::string, std::string>>{{"dut", "B2"},
                                                              {"chip", "gen2"},
                                                              {"link", "AT server 127.0.0.1:5"},
                                                              {"script", "a.txt"},
                                                              {"script_sha256", "aa"},
                                                              {"script_2", "b.txt"},
                                                              {"script_2_sha256", "bb"}}));
  EXPECT_EQ(state.identity.timestamp, "2026-12-07T12:00:00Z");
  EXPECT_EQ(state.identity.hostname, "bench");
  EXPECT_EQ(state.action, "a.txt:1: click btn_onoff");
  ASSERT_EQ(state.records.size(), 1u);
  EXPECT_EQ(state.records[0].kind, RecordKind::kSkipped);
  EXPECT_EQ(state.passed + state.failed, 0);
}

std::vector<benchora::HandsetReport> TwoHandsets() {
  benchora::RunIdentity a;
  a.timestamp = "2026-12-07T12:00:00Z";
  a.hostname = "bench";
  a.chip = "gen2";
  a.dut = "A1";
  benchora::RunIdentity b = a;
  b.dut = "B<2>";
  return {
      {"A1",
       a,
       {{RecordKind::kSample, 1, "c.txt:5", "l6", "30", "dBuV", "", "", true, "", "l6"},
        {RecordKind::kCheck, 2, "c.txt:6", "l6", "30", "dBuV", "25", "40", true, "PASS", "l6"}}},
      {"B<2>",
       b,
       {{RecordKind::kCheck, 2, "c.txt:6", "l6", "12", "dBuV", "25", "40", false, "FAIL \x01",
         "l6 in 25..40"},
        {RecordKind::kProblem, 3, "-e 1", "click", "", "", "", "", false, "timed out", "click"},
        {RecordKind::kSkipped, 3, "c.txt:7", "l2", "", "", "", "", false, "not run", "l2"}}},
  };
}

TEST(StationReports, OneSuitePerHandset) {
  EXPECT_EQ(
      benchora::JunitStationXml(TwoHandsets()),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<testsuites name=\"benchora\" tests=\"4\" failures=\"1\" errors=\"1\" skipped=\"1\">\n"
      "  <testsuite name=\"A1\" tests=\"1\" failures=\"0\" errors=\"0\" skipped=\"0\" "
      "timestamp=\"2026-12-07T12:00:00Z\" hostname=\"bench\">\n"
      "    <properties>\n"
      "      <property name=\"dut\" value=\"A1\"/>\n"
      "      <property name=\"chip\" value=\"gen2\"/>\n"
      "    </properties>\n"
      "    <testcase classname=\"c.txt\" name=\"l6\" file=\"c.txt\" line=\"6\" time=\"0\"/>\n"
      "  </testsuite>\n"
      "  <testsuite name=\"B&lt;2&gt;\" tests=\"3\" failures=\"1\" errors=\"1\" skipped=\"1\" "
      "timestamp=\"2026-12-07T12:00:00Z\" hostname=\"bench\">\n"
      "    <properties>\n"
      "      <property name=\"dut\" value=\"B&lt;2&gt;\"/>\n"
      "      <property name=\"chip\" value=\"gen2\"/>\n"
      "    </properties>\n"
      "    <testcase classname=\"c.txt\" name=\"l6 in 25..40\" file=\"c.txt\" line=\"6\" "
      "time=\"0\">\n"
      "      <failure message=\"FAIL \\x01\" type=\"verify\">c.txt:6: FAIL \\x01</failure>\n"
      "    </testcase>\n"
      "    <testcase classname=\"-e\" name=\"click\" time=\"0\">\n"
      "      <error message=\"timed out\" type=\"command\">-e 1: timed out</error>\n"
      "    </testcase>\n"
      "    <testcase classname=\"c.txt\" name=\"l2\" file=\"c.txt\" line=\"7\" time=\"0\">\n"
      "      <skipped message=\"not run\"/>\n"
      "    </testcase>\n"
      "  </testsuite>\n"
      "</testsuites>\n");
  EXPECT_EQ(benchora::CsvStation("st=1.txt", TwoHandsets()),
            "# station: st=1.txt\n"
            "# handset A1: timestamp=2026-12-07T12:00:00Z, dut=A1, chip=gen2\n"
            "# handset B<2>: timestamp=2026-12-07T12:00:00Z, dut=B<2>, chip=gen2\n"
            "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
            "1,l6,30,dBuV,,,,c.txt:5,A1\n"
            "2,l6,30,dBuV,25,40,PASS,c.txt:6,A1\n"
            "2,l6,12,dBuV,25,40,FAIL,c.txt:6,B<2>\n"
            "3,click,,,,,ERROR,'-e 1,B<2>\n"
            "3,l2,,,,,SKIPPED,c.txt:7,B<2>\n");
}

TEST(StationRun, HandsetArguments) {
  benchora::Options options;
  options.command_sources = {{"--script", "a.txt"}, {"-e", "verify l2 = 1"}};
  options.rds = true;
  options.timeout_s = 30;
  const benchora::StationHandset handset{
      "B2", benchora::Chip::kGen2, "127.0.0.1:5000", {"drop"}, 4};
  const std::vector<std::string> expected = {"--chip",
                                             "gen2",
                                             "--plugin",
                                             "/p/Sonvio.dll",
                                             "--at-server",
                                             "127.0.0.1:5000",
                                             "--fault",
                                             "drop",
                                             "--script",
                                             "a.txt",
                                             "-e",
                                             "verify l2 = 1",
                                             "--rds",
                                             "--timeout",
                                             "30",
                                             "--dut",
                                             "B2",
                                             "--report",
                                             "out/B2/report.xml",
                                             "--csv",
                                             "out/B2/report.csv",
                                             "--progress-to",
                                             "out/B2/progress.tsv"};
  EXPECT_EQ(benchora::HandsetArguments(options, handset, "/p/Sonvio.dll", "out/B2"), expected);
  // A simulated handset gets no --at-server; --strict goes on.
  options = {};
  options.strict = true;
  const benchora::StationHandset sim{"A", benchora::Chip::kGen1, "sim", {}, 1};
  EXPECT_EQ(benchora::HandsetArguments(options, sim, "P", "o"),
            (std::vector<std::string>{"--chip", "gen1", "--plugin", "P", "--strict", "--dut", "A",
                                      "--report", "o/report.xml", "--csv", "o/report.csv",
                                      "--progress-to", "o/progress.tsv"}));
}

TEST(StationView, ProgressLinesAndTable) {
  std::vector<benchora::HandsetStatus> handsets(3);
  handsets[0].name = "A1";
  handsets[0].link = "sim";
  handsets[1].name = "B22";
  handsets[1].link = "serial:/dev/pts/3";
  handsets[1].progress.step = 3;
  handsets[1].progress.total = 7;
  handsets[1].progress.passed = 2;
  handsets[1].progress.failed = 1;
  handsets[1].progress.action = "c.txt:5: verify l6 = \x1b[2J";
  handsets[2].name = "C";
  handsets[2].link = "sim";
  handsets[2].ending = benchora::HandsetEnding::kTimedOut;
  handsets[2].progress.passed = 1;
  handsets[2].seconds = 12.34;
  handsets[2].report = "out/C/report.xml";
  EXPECT_EQ(benchora::ProgressLines(handsets),
            (std::vector<std::string>{
                "A1   sim                starting",
                "B22  serial:/dev/pts/3  step 3/7  pass 2  fail 1  c.txt:5: verify l6 = \\x1B[2J",
                "C    sim                TIMEOUT      pass 1  fail 0  12.3 s"}));
  handsets[0].ending = benchora::HandsetEnding::kPassed;
  handsets[1].ending = benchora::HandsetEnding::kFailed;
  EXPECT_EQ(benchora::FinalTable(handsets),
            "handset  verdict  passed  failed  time    report\n"
            "A1       PASS     0       0       0.0 s   \n"
            "B22      FAIL     2       1       0.0 s   \n"
            "C        TIMEOUT  1       0       12.3 s  out/C/report.xml\n");
}

// The command line of a station: the options that name one handset or one
// output file for all are refused before anything starts.
TEST(StationOptions, OneHandsetsOptionsRefused) {
  const struct {
    std::vector<std::string> args;
    std::string error;  // empty: accepted
  } cases[] = {
      {{"--station", "s.txt", "-e", "list"}, ""},
      {{"--station", "s.txt", "-e", "list", "--out", "d", "--report", "r.xml"}, ""},
      {{"--out", "d", "-e", "list"}, "--out needs --station"},
      {{"--station", "s.txt"}, "--station needs the commands to run (--script FILE or -e CMD)"},
      {{"--station", "s.txt", "-e", "list", "--interactive"},
       "--interactive names one handset: with --station the station file says it"},
      {{"--station", "s.txt", "-e", "list", "--at-server", "127.0.0.1:1"},
       "--at-server names one handset: with --station the station file says it"},
      {{"--station", "s.txt", "-e", "list", "--dut", "x"},
       "--dut names one handset: with --station the station file says it"},
      {{"--station", "s.txt", "-e", "list", "--output", "t.txt"},
       "--output is not for a station: each handset's transcript is in its folder under --out"},
      {{"--station", "s.txt", "-e", "list", "--screenshot", "f.bmp"},
       "--screenshot is not for a station: its handsets run without a window"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> words{"benchora"};
    words.insert(words.end(), c.args.begin(), c.args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    benchora::Options options;
    std::string error;
    const bool ok =
        benchora::ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(ok, c.error.empty());
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
