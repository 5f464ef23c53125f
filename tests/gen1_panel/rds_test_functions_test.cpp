// RDS reception with its decode log, transmission from a data file, and the
// test tone. Driven through the automation interface as a user would.
#include "common/le_bytes.h"
#include "gen1_panel/rds_data_file.h"
#include "panel_fixture.h"
#include "test_folder.h"

namespace {

// Transmitting, what makes RDS groups come from a data file: the box reaches
// the block.
constexpr char kFile[] = "check cbx_rds_stack 0; click BtnReadFrequency; ";

// A panel whose host program folder (where the logs go) is a folder of the
// test's own, with the clock fixed for the logs' time stamps.
class LogFolderTest : public PanelTest {
 protected:
  LogFolderTest() { ::setenv("SONVIO_CLOCK", "1796000000", 1); }
  ~LogFolderTest() override { ::unsetenv("SONVIO_CLOCK"); }
  std::string Read(const std::string& name) const { return folder_.Read(name); }
  // A data file of `lines` lines whose block A is the line number.
  std::string DataFile(size_t lines) const {
    std::string text;
    char line[40];
    for (size_t i = 0; i < lines; ++i) {
      std::snprintf(line, sizeof line, "0x%04X 0x0000 0x0000 0x0000 \n", static_cast<int>(i));
      text += line;
    }
    folder_.Write("groups.log", text);
    return (folder_.path() / "groups.log").string();
  }
  // Replays a data file of `lines` lines while transmitting, the radio
  // taking per tick `taken` groups of each send (-1: refusing it): per send
  // its first line and number of lines.
  std::string Replay(size_t lines, const std::vector<int>& taken) {
    PowerOn(true);
    Run(kFile + ("answer-file " + DataFile(lines)) + "; click btn_rds");
    std::string sent;
    for (size_t tick = 0; tick <= taken.size(); ++tick) {
      if (tick > 0) {
        radio.groups_taken = static_cast<uint8_t>(taken[tick - 1] < 0 ? 20 : taken[tick - 1]);
        if (taken[tick - 1] < 0) radio.status[0x19] = 0;
        Run("advance 1400");
        radio.status.erase(0x19);
      }
      const Ids blocks = SentFirstBlocks();
      sent += std::to_string(blocks.at(0)) + "+" + std::to_string(blocks.size()) + " ";
    }
    return sent;
  }
  // Block A of each group of the last group send.
  Ids SentFirstBlocks() const {
    const testing_host::HostCall* send = LastCall(0x19);
    Ids blocks;
    for (size_t g = 0; send != nullptr && g < send->request.at(0); ++g)
      blocks.push_back(common::le::GetU16(send->request, 2 + 8 * g));
    return blocks;
  }

  testing_files::TestFolder folder_{"SONVIO_PROGRAM_DIR"};
};

constexpr char kHeader[] = "--- Mon Nov 30 00:53:20 2026 ---\r\n";

// The tour pins the decode log's records, the read-outs and the log lines;
// here the request bytes, the header-only record of a poll or operation
// without groups, and a log emptied each time reception starts.
TEST_F(LogFolderTest, ReceiveRdsRequestsAndRecordsWithoutGroups) {
  folder_.Write("decode_data.log", "from an earlier run");
  PowerOn(false);
  ASSERT_EQ(Run("click btn_rds"), "ok");  // the request bytes of on and off: wire_test
  EXPECT_EQ(Read("decode_data.log"), "") << "emptied on, nothing shown yet";
  Run("click BtnReadFrequency");
  const std::string empty_record = std::string(kHeader) + "\r\n\r\n";
  EXPECT_EQ(Read("decode_data.log"), empty_record);

  ASSERT_EQ(Run("advance 1400"), "ok");  // the poll's traffic: StartsAndStopsItsTimer/RxRdsOn
  EXPECT_EQ(LastCall(0x07)->request, (std::vector<uint8_t>{0xFF, 0xFF}));
  EXPECT_EQ(Read("decode_data.log"), empty_record + empty_record);

  // Off, then on again.
  ASSERT_EQ(Run("click btn_rds"), "ok");
  Run("click btn_rds");
  EXPECT_EQ(Read("decode_data.log"), "") << "on again: emptied again";
}

TEST_F(LogFolderTest, ALogThatCannotBeCreatedLeavesRdsRunning) {
  PowerOn(false);
  std::filesystem::create_directories(folder_.path() / "decode_data.log");
  ASSERT_EQ(Run("click btn_rds; advance 1400"), "ok; ok");
  EXPECT_EQ(Showing("btn_rds TRxRDS"), "btn_rds=RDS Off TRxRDS=1");
  ASSERT_EQ(Run("click btn_rds"), "ok");
}

TEST_F(LogFolderTest, ReplayAdvancesByWhatTheRadioTookAndStartsOverAtTheEnd) {
  // 20 to 39, 40 to 44 (the end: from the start again), 0 to 19 of which the
  // radio takes only 7, so the next tick starts right after them; a refused
  // send keeps the position.
  EXPECT_EQ(Replay(45, {20, 5, 7, 20, 20, -1, 20}), "0+20 20+20 40+5 0+20 7+20 27+18 0+20 0+20 ");
}

TEST_F(LogFolderTest, TheReplayPositionIsEightBitsWide) {
  EXPECT_EQ(Replay(300, std::vector<int>(13, 20)),
            "0+20 20+20 40+20 60+20 80+20 100+20 120+20 140+20 160+20 180+20 200+20 220+20 "
            "240+20 4+20 ")
      << "240 + 20 wraps to 4, never back to 0";
}

// Each on/off button starts its own timer and stops it again, the replay
// only when a file was chosen in this dialog: what is running afterwards,
// the traffic of the clicks and of three seconds of ticks (GROUPS: a data
// file of 45 groups).
constexpr char kTimers[] = "btn_rds TRxRDS TTxRDS1 TTxRDS2 TRSSI btn_rssi";
constexpr char kOff[] = "btn_rds=RDS On TRxRDS=0 TTxRDS1=0 TTxRDS2=0 TRSSI=0 btn_rssi=RSSI On";
// clang-format off
struct Toggle { const char* name; bool transmit; const char* commands; const char* shown; Ids sent; Ids ticks; };
const Toggle kToggles[] = {
    {"RxRdsOn", false, "click btn_rds", "btn_rds=RDS Off TRxRDS=1 TTxRDS1=0 TTxRDS2=0 TRSSI=0 btn_rssi=RSSI On", {0x07}, {0x07, 0x07}},
    {"RxRdsOff", false, "click btn_rds; click btn_rds", kOff, {0x07, 0x07}, {}},
    {"RssiOn", false, "click btn_rssi", "btn_rds=RDS On TRxRDS=0 TTxRDS1=0 TTxRDS2=0 TRSSI=1 btn_rssi=RSSI Off", {0x08}, {0x08, 0x08, 0x08}},
    {"RssiOff", false, "click btn_rssi; click btn_rssi", kOff, {0x08, 0x08}, {}},
    {"StackOn", true, "click btn_rds", "btn_rds=RDS Off TRxRDS=0 TTxRDS1=0 TTxRDS2=1 TRSSI=0 btn_rssi=RSSI On", {0x16}, {0x1A, 0x1A}},
    {"StackOff", true, "click btn_rds; click btn_rds", kOff, {0x16, 0x16}, {}},
    {"ReplayOn", true, "answer-file GROUPS; click btn_rds", "btn_rds=RDS Off TRxRDS=0 TTxRDS1=1 TTxRDS2=0 TRSSI=0 btn_rssi=RSSI On", {0x19, 0x16}, {0x19, 0x19}},
    {"ReplayOff", true, "answer-file GROUPS; click btn_rds; click btn_rds", kOff, {0x19, 0x16, 0x16}, {}},
    {"ReplayCancelled", true, "answer-file GROUPS; click btn_rds; click btn_rds; answer-file --cancel; click btn_rds", kOff, {0x19, 0x16, 0x16}, {}},
    {"ReplayOfNothing", true, "answer-file /nonexistent/groups.log; click btn_rds", "btn_rds=RDS Off TRxRDS=0 TTxRDS1=0 TTxRDS2=0 TRSSI=0 btn_rssi=RSSI On", {0x16}, {}},
};
// clang-format on

class ToggleTest : public LogFolderTest, public ::testing::WithParamInterface<Toggle> {};

TEST_P(ToggleTest, StartsAndStopsItsTimer) {
  const Toggle& t = GetParam();
  PowerOn(t.transmit);
  std::string commands = t.commands;
  if (t.transmit && commands.find("answer-file") != std::string::npos) {
    Run(kFile);
    const size_t at = commands.find("GROUPS");
    if (at != std::string::npos) commands.replace(at, 6, DataFile(45));
    host.Clear();
  }
  ASSERT_EQ(Run(commands).find("error"), std::string::npos);
  EXPECT_EQ(Showing(kTimers), t.shown);
  EXPECT_EQ(SentIds(), t.sent);
  host.Clear();
  Run("advance 3000");
  EXPECT_EQ(SentIds(), t.ticks);
}

INSTANTIATE_TEST_SUITE_P(Toggles, ToggleTest, ::testing::ValuesIn(kToggles),
                         [](const auto& test) { return std::string(test.param.name); });

// "FMR OFF" first switches off, through their buttons and in this order,
// RDS, the RSSI polling, the chirp and the tone.
TEST_F(LogFolderTest, PowerOffSwitchesEveryRunningFeatureOffFirst) {
  PowerOn(true);
  Run("click btn_rds; click btn_chirp; click btn_test_tone");
  panel.btn_rssi->Click();  // for receiving only: clicked from code
  host.Clear();
  ASSERT_EQ(Run("click BtnFMRDisable"), "ok");
  EXPECT_EQ(host.Transcript(),
            "Turn off RDS subscribe|Sending to mobile...|OK|Turn off RSSI subscribe|Sending to "
            "mobile...|OK|Chirp off.|Sending to mobile...|OK|Test tone off.|Sending to "
            "mobile...|OK|FMR OFF|Sending to mobile...|OK");
  EXPECT_EQ(SentIds(), (Ids{0x16, 0x08, 0x17, 0x10, 0x12}));
  EXPECT_EQ(Showing(kTimers), kOff);
  EXPECT_EQ(Showing("btn_chirp btn_test_tone"), "btn_chirp=Chirp On btn_test_tone=Tone On");
  EXPECT_EQ(testing_form::Enabled(panel, "btn_selftest BtnFMREnable"), "11");
}

// The alternative-frequency file: its dialog, and a cancelled one acting on
// no earlier choice.
TEST_F(PanelTest, CancellingTheFrequencyListDialogKeepsTheEarlierFile) {
  PowerOn(true);
  ASSERT_EQ(Run("answer-file /lists/af.ini; click BtnLoad"), "ok; ok");
  const auto& dialog = services.last_file_dialog();
  EXPECT_EQ(dialog.title + "|" + dialog.filter + "|" + dialog.default_ext,
            "Open Alternative Freq file|Ini File (*.ini)|*.ini|Any File (*.*)|*.*|*.ini");
  SetControls("LEAFList=/lists/typed.ini");
  ASSERT_EQ(Run("answer-file --cancel; answer-file /lists/other.ini"), "ok; ok");
  Run("click BtnLoad");
  EXPECT_EQ(Shown("LEAFList"), "/lists/typed.ini");
  Run("click BtnLoad");
  EXPECT_EQ(Shown("LEAFList"), "/lists/other.ini");
  EXPECT_TRUE(host.calls.empty());
}

TEST(RdsDataFile, PiecesAndCells) {
  const std::vector<std::string> pieces = gen1_panel::SplitRdsData(
      "0x1234 0xABCD 0x00ff 0xFFFF \r\n0x12\n0x1234 0xABCD 0x00ff 0xFFFF 0x5555 tail\nx", 100);
  // 29 characters at most: the rest is a line of its own; a last piece without line end.
  EXPECT_EQ(pieces,
            (std::vector<std::string>{"0x1234 0xABCD 0x00ff 0xFFFF \n", "0x12\n",
                                      "0x1234 0xABCD 0x00ff 0xFFFF 0", "x5555 tail\n", "x"}));
  // A short line gives 0 where it does not reach, a cell not a number 0.
  std::string cells;
  for (const std::string& piece : {pieces[0], pieces[1], std::string("0xZZZZ 0x\x01\x02 ")}) {
    for (size_t b = 0; b < 4; ++b)
      cells += std::to_string(gen1_panel::RdsDataBlock(piece, b)) + " ";
  }
  EXPECT_EQ(cells, "4660 43981 255 65535 18 0 0 0 0 0 0 0 ");
}

TEST(RdsDataFile, OnlyWhatTheReplayCanUseIsRead) {
  const testing_files::TestFolder folder;
  std::string huge;
  for (int i = 0; i < 100000; ++i) huge += "0x0001 0x0002 0x0003 0x0004 \r\n";  // 3 MB
  folder.Write("huge.log", huge);
  const std::vector<std::string> pieces =
      gen1_panel::ReadRdsDataFile((folder.path() / "huge.log").string());
  EXPECT_EQ(pieces.size(), gen1_panel::kRdsDataPiecesUsed);
  EXPECT_EQ(pieces.back(), "0x0001 0x0002 0x0003 0x0004 \n");
  EXPECT_TRUE(gen1_panel::ReadRdsDataFile((folder.path() / "missing.log").string()).empty());
}

// The tour runs the tone with and without the pilot and the chirp; here the
// amplitudes sent.
TEST_F(PanelTest, ToneWithoutPilotSendsAmplitudes592LowerAndKeepsTheEdits) {
  PowerOn(true);
  for (const bool pilot : {true, false}) {
    SCOPED_TRACE(pilot);
    Run(std::string("check CBPilot ") + (pilot ? "1" : "0"));
    ASSERT_EQ(Run("type LELLevel 0x2000; type LERLevel 0x1000; click btn_test_tone"), "ok; ok; ok");
    const std::vector<uint8_t>& r = LastCall(0x10)->request;
    EXPECT_EQ((std::vector<uint32_t>{common::le::GetU32(r, 4), common::le::GetU32(r, 12),
                                     common::le::GetU32(r, 24)}),
              (std::vector<uint32_t>{1, pilot ? 0x2000u : 0x1DB0u, pilot ? 0x1000u : 0x0DB0u}));
    EXPECT_EQ(Showing("LELLevel LERLevel btn_test_tone"),
              "LELLevel=0x2000 LERLevel=0x1000 btn_test_tone=Tone Off");
    Run("click btn_test_tone");
  }
}

}  // namespace
