// benchora as a new user meets it, with the real plug-in and the simulated
// handset: the automation commands that find things, the message boxes and
// marks in the transcript, --strict and its directive, the bench guide showing
// the getting-started scripts, and the messages of a session that cannot
// start.
#include <gtest/gtest.h>

#include "shell_run.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
  int status = -1;
  std::string text;  // standard output and standard error
};

std::string Quoted(const std::string& arg) {
  std::string out = "'";
  for (const char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs benchora with `args` (and `input` on standard input) from the source
// folder, with a settings folder of its own and no transport address but
// the one `environment` may set.
Outcome Benchora(const std::vector<std::string>& args, const std::string& input = "",
                 const std::string& environment = "") {
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() / ("sonvio-e2e-" + std::to_string(::getpid()));
  std::filesystem::create_directories(settings);
  std::string command = "cd " + Quoted(SOURCE_DIR) + " && unset TESSIC_AT_SERVER && printf '%s' " +
                        Quoted(input) + " | SONVIO_CONFIG_DIR=" + Quoted(settings.string()) + " " +
                        environment + " " + Quoted(BENCHORA_PATH);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " 2>&1";
  const e2e::ShellRun shell = e2e::RunShell(command);
  std::filesystem::remove_all(settings);
  return Outcome{shell.status, shell.text};
}

struct Case {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::vector<std::string> shown = {};      // each appears in the transcript
  std::vector<std::string> not_shown = {};  // none does
  std::string input = "";
  std::string environment = "";
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class BenchoraRun : public ::testing::TestWithParam<Case> {};

TEST_P(BenchoraRun, ShowsWhatANewUserNeeds) {
  const Case& c = GetParam();
  const Outcome run = Benchora(c.args, c.input, c.environment);
  EXPECT_EQ(run.status, c.status) << run.text;
  for (const std::string& text : c.shown) {
    EXPECT_NE(run.text.find(text), std::string::npos) << "missing: " << text << "\n" << run.text;
  }
  for (const std::string& text : c.not_shown) {
    EXPECT_EQ(run.text.find(text), std::string::npos) << "unwanted: " << text << "\n" << run.text;
  }
}

// The panels' form lines and the getting-started scripts are compared whole
// by the tour test.
const Case kCases[] = {
    // The plug-in talks to benchora's own server, whatever else listens on
    // the plug-in's port: the fault given to that server reaches the panel.
    {"gen2_talks_to_the_embedded_server",
     {"--chip", "gen2", "--fault", "error,on=fmrx_enable", "-e", "select cb_audiooutput Headset",
      "-e", "click btn_onoff"},
     0,
     {"LOG[1] at@audapp:fmrx_enable()\nLOG[0] Error\n"}},
    // An error line names what failed behind it: the action, the AT command
    // and the device's answer.
    {"error_line_names_the_exchange",
     {"--chip", "gen2", "--strict", "--fault", "error,on=fmrx_enable", "-e",
      "select cb_audiooutput Headset", "-e", "click btn_onoff"},
     1,
     {"benchora: --strict: -e 2: click btn_onoff: unexpected error line: Turn On FMR RX: "
      "at@audapp:fmrx_enable() answered ERROR\n"}},
    // A fault rule that never met its command tested nothing: the run fails.
    {"unfired_fault_rule_fails_a_second_generation_run",
     {"--chip", "gen2", "--fault", "error,on=fmrx_set_band", "-e", "get btn_onoff"},
     1,
     {"benchora: fault rule \"error,on=fmrx_set_band\" never fired\n"}},
    {"unfired_fault_rule_fails_a_first_generation_run",
     {"--chip", "gen1", "--fault", "0x13:fail", "-e", "get LReady"},
     1,
     {"benchora: fault rule \"0x13:fail\" never fired\n"}},
    // A check that names nothing is a FAIL, with a tab after its verb too.
    {"check_of_an_unknown_name_fails",
     {"--chip", "gen1", "-e", "verify\tLEFrequncy = 1", "-e", "sample 100 1 LEFrequncy:Hz"},
     1,
     {"FAIL LEFrequncy: measured nothing, limits = 1 (no control or value named LEFrequncy)\n",
      "> sample 100 1 LEFrequncy:Hz\nFAIL LEFrequncy: measured nothing (no control or value named "
      "LEFrequncy)\nok\n"},
     {"unknown command"}},
    {"rds_values_need_rds",
     {"--chip", "gen1", "-e", "verify rds.ps = x"},
     2,
     {"benchora: -e 1: rds.ps needs --rds\n"},
     {"CanRun"}},
    {"unknown_control_stops_a_strict_run",
     {"--chip", "gen1", "--strict", "-e", "click NoSuchControl", "-e", "list"},
     1,
     {"error: no control named NoSuchControl"},
     {"> list"}},
    {"find",
     {"--strict", "-e", "find band"},
     0,
     {"> find band\nCBBandSelection ComboBox \"\" in \"Power and Tuning\"\n",
      "LblCBBandSelection Label \"Band:\" in \"Power and Tuning\""}},
    // Longer than the first reply buffer: fetched whole, the form first, the
    // last component last.
    {"snapshot",
     {"--strict", "-e", "snapshot", "-e", "get LReady"},
     0,
     {"> snapshot\nKelboFMRGUI: kind=Form enabled=1 visible=1 caption=\"Sonvio - Version: ",
      "\nLReady: kind=Label",
      "\nOpenDialog1: kind=OpenDialog enabled=1 visible=0 title=\"\" "
      "file=\"\"\n> get LReady"}},
    {"help",
     {"--strict", "-e", "help"},
     0,
     {"\nfind TEXT ", "\nsnapshot ", "\nselect NAME ITEM ", "\nreopen ", "\n@expect KIND [TEXT] "}},
    {"select_by_text",
     {"--strict", "-e", "select CBTMode Trans", "-e", "get CBTMode", "-e", "get LEFrequency"},
     0,
     {"text=\"Transmit\" index=1", "text=\"88000000\""}},
    {"unknown_verb_is_refused",
     {"-e", "frobnicate LReady now", "-e", "get LReady"},
     0,
     {"> frobnicate LReady now\nerror: unknown command 'frobnicate'\n"
      "!! frobnicate LReady now: refused\n> get LReady"}},
    {"unknown_verb_stops_a_strict_run",
     {"--strict", "-e", "get LReady", "-e", "frobnicate", "-e", "list"},
     1,
     {"benchora: --strict: -e 2: frobnicate: unexpected refused command: error: unknown command "
      "'frobnicate'",
      "write \"@expect refused [TEXT]\" on the line before the command"},
     {"> list"}},
    {"dialog_shown_before_the_reply",
     {"-e", "click BtnFMREnable", "-e", "type LEFrequency 1", "-e", "leave LEFrequency"},
     0,
     {"> leave LEFrequency\nDIALOG Warning: Input Value Out Of Range(76000000 ~ 108000000)\nok\n"
      "!! leave LEFrequency: 1 message box\n"}},
    {"strict_stops_at_an_unexpected_error_line",
     {"--chip", "gen2", "--strict", "-e", "get btn_onoff", "-e", "click btn_onoff", "-e",
      "get btn_onoff"},
     1,
     {"LOG[0] Configure audio path before switching on FMR\nok\n"
      "!! click btn_onoff: 1 error line\n",
      "benchora: --strict: -e 2: click btn_onoff: unexpected error line: Configure audio path "
      "before switching on FMR"}},
    {"strict_passes_an_expected_error_line",
     {"--chip", "gen2", "--strict", "-e", "@expect error Configure audio path", "-e",
      "click btn_onoff", "-e", "get btn_onoff"},
     0,
     {"!! click btn_onoff: 1 error line (expected)\n> get btn_onoff\n"},
     {"--strict:"}},
    {"strict_fails_an_unmet_expectation",
     {"--strict", "-e", "@expect box", "-e", "get LReady"},
     1,
     {"!! get LReady: expected a message box, none came",
      "benchora: --strict: -e 2: get LReady: expected a message box, but none came"}},
    {"piped_input_skips_comments_and_ends_at_quit",
     {"--interactive"},
     0,
     {"> get LReady\nkind=Label"},
     {"benchora>", "> # a comment", "> list"},
     "get LReady\n# a comment\n\nquit\nlist\n"},
    {"plugin_that_is_no_library",
     {"--plugin", "/etc/passwd"},
     1,
     {"benchora: cannot load the plug-in /etc/passwd: /etc/passwd: invalid ELF header"},
     {"Success"}},
    {"script_that_is_a_folder",
     {"--script", "docs"},
     2,
     {"benchora: cannot read script docs: it is a folder"},
     {"CanRun"}},
    // A --fault rule that could never take effect is refused in the rules
    // of the chip's generation, whatever the order of the options, before
    // anything starts.
    {"unknown_reply_field_is_refused_naming_the_fields",
     {"--fault", "0x08:value=rsi:12", "--chip", "gen1", "-e", "get LReady"},
     2,
     {"benchora: --fault (--chip gen1): fault rule \"0x08:value=rsi:12\": 0x08 has no reply "
      "field 'rsi' (its fields: frequency, pilot, rssi, stereo)\n"},
     {"CanRun"}},
    {"command_in_the_wrong_case_is_refused_before_the_server_starts",
     {"--fault", "error,on=FMRX_GET_RDS_DATA", "--chip", "gen2", "-e", "get btn_onoff"},
     2,
     {"benchora: --fault (--chip gen2): fault rule \"error,on=FMRX_GET_RDS_DATA\": no command "
      "\"FMRX_GET_RDS_DATA\": did you mean fmrx_get_rds_data?\n"},
     {"CanRun", "embedded AT server"}},
    // Checked even when the rules go to no server of benchora's.
    {"rule_that_never_fires_is_refused",
     {"--chip", "gen2", "--at-server", "127.0.0.1:1", "--fault", "error,count=0"},
     2,
     {"count=0 never fires"},
     {"CanRun"}},
    // A good rule for a handset benchora does not simulate would never fire.
    {"fault_for_an_external_server_is_refused",
     {"--chip", "gen2", "--at-server", "127.0.0.1:1", "--fault", "error,on=fmrx_measure_rssi"},
     2,
     {"benchora: --fault needs the embedded AT server; with --at-server 127.0.0.1:1 the handset "
      "is not benchora's (give the rules to fmr-sim --fault there)\n"},
     {"CanRun"}},
    {"frame_size_with_trailing_text",
     {"--frame", "1024x768px"},
     2,
     {"--frame takes WIDTHxHEIGHT, not 1024x768px"}},
    {"port_with_a_sign",
     {"--chip", "gen2", "--at-server", "127.0.0.1:+80"},
     2,
     {"--at-server takes HOST:PORT"}},
    {"help_lists_the_commands_and_their_reply_fields",
     {"--help"},
     0,
     {"With --chip gen2, the commands --fault's on=COMMAND names, and the numbers of\n"
      "their replies that value=FIELD:N counts (from 0):\n",
      "\n      fmrx_get_dynamic_data: 0 state, 1 frequency, 2 stereo, 3 pilot, 4 rssi,\n"}},
    {"script_that_is_missing",
     {"--script", "docs/no-such-script.txt"},
     2,
     {"benchora: cannot read script docs/no-such-script.txt: No such file or directory"}},
    // Port 1 on the loopback address: nothing answers there. benchora says
    // so once, before the panel's own lines.
    {"at_server_named_and_missing",
     {"--chip", "gen2", "--at-server", "127.0.0.1:1", "-e", "get btn_onoff"},
     0,
     {"benchora: AT server 127.0.0.1:1 (from --at-server; the embedded one is not started)\n"
      "benchora: no AT server answers at 127.0.0.1:1: the panel's commands will fail "
      "(\"Error\") until one does\nbenchora: start the simulated handset there: ",
      "fmr-sim --port 1\nbenchora: or leave out --at-server: benchora --chip gen2 starts its "
      "own\nCanRun: 1\n",
      "LOG[0] Error setting connection. Session id = -1\n!! panel start"},
     {"could not connect"}},
    // A failed chip probe selects the second-generation panel, which then
    // looks for an AT server.
    {"failed_probe_selects_the_second_generation_panel",
     {"--chip", "gen1", "--fault", "slot54:fail", "-e", "get frm_DruskGUI"},
     0,
     {"LOG[0] Error setting connection. Session id = -1\n"
      "benchora: the plug-in could not connect to the AT server at 127.0.0.1:1 (from "
      "TESSIC_AT_SERVER)\n",
      "benchora: or run benchora --chip gen2", "> get frm_DruskGUI\nkind=Form enabled=1 visible=1"},
     {},
     "",
     "TESSIC_AT_SERVER=127.0.0.1:1"},
    // --rds decodes the groups the handset hands to the plug-in and names
    // the station each time it changes: first at 95.4 MHz, then at 88.1.
    {"rds_shows_each_station_as_it_is_decoded",
     {"--chip", "gen1",
      "--rds",  "--strict",
      "-e",     "click BtnFMREnable",
      "-e",     "type LEFrequency 95400000",
      "-e",     "click BtnWriteFrequency",
      "-e",     "click btn_rds",
      "-e",     "advance 5600",
      "-e",     "type LEFrequency 88100000",
      "-e",     "click BtnWriteFrequency",
      "-e",     "advance 4200"},
     0,
     {"RDS station: PI C204, PTY 11 Rock Music, PS \"ROCK 95 \", RT \"Rock 95 - now playing: "
      "live session\"\n",
      "RDS station: PI C201, PTY 14 Serious classical, PS \"CLASSIC \", RT \"Classic FM - "
      "Symphony No. 5 in C minor\"\n"}},
    // With --chip gen2 the groups of the embedded server's RDS reports are
    // decoded the same way.
    {"rds_shows_the_station_on_the_second_generation",
     {"--chip", "gen2", "--rds", "--strict", "-e", "select cb_audiooutput Headset", "-e",
      "click btn_onoff", "-e", "type le_frequency 95400000", "-e", "click btn_set_station", "-e",
      "check CheckBox_rds 1", "-e", "advance 6000", "-e", "verify rds.ps = \"ROCK 95 \""},
     0,
     {"RDS station: PI C204, PTY 11 Rock Music, PS \"ROCK 95 \", RT \"Rock 95 - now playing: "
      "live session\"\n",
      "PASS rds.ps: measured \"ROCK 95 \", limits = \"ROCK 95 \"\n"}},
};

INSTANTIATE_TEST_SUITE_P(E2e, BenchoraRun, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The bench guide shows the getting-started scripts that the tour test
// runs, each line as it stands in its file, indented as a code block.
TEST(GettingStarted, GuideShowsTheScriptsThatRun) {
  auto read = [](const std::string& path) {
    std::ifstream in(std::string(SOURCE_DIR) + "/" + path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  };
  const std::string readme = read("docs/bench-guide.md");
  for (const char* script : {"docs/getting-started/gen1.txt", "docs/getting-started/gen2.txt"}) {
    const std::string text = read(script);
    ASSERT_FALSE(text.empty()) << script;
    std::string block;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      block += line.empty() ? "\n" : "    " + line + "\n";
    }
    EXPECT_NE(readme.find(block), std::string::npos) << script << " differs in docs/bench-guide.md";
  }
}

}  // namespace
