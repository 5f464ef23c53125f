// The simulated handsets' --fault rules as people type them: what each
// generation accepts and the exact words of every refusal; the numbered
// reply fields of the second-generation command table against the replies
// the simulator really sends; the listings of the help texts and the guides
// against the tables they come from; fmr-sim's exit status for a bad rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "e2e/shell_run.h"
#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/command_fields.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace {

using namespace fmrsim;

const std::string kCommands =
    "fmr_get_version, fmr_configure_audio_dst, fmrx_enable, fmr_disable, fmrx_set_band, "
    "fmrx_set_station, fmrx_set_sideband, fmrx_set_output_mode, fmrx_get_auto_seek_report, "
    "fmrx_forcemono, fmrx_set_antenna, fmrx_set_snc, fmrx_set_sm, fmrx_set_volume, fmrx_set_rds, "
    "fmrx_get_rds_data, fmrx_set_rssi, fmrx_set_gain_control, fmrx_get_static_config, "
    "fmrx_get_dynamic_data, fmr_get_cap, fmr_get_register_data, fmr_set_register_data, "
    "fmr_nvm_commit, fmrx_get_band_sweep_cap, fmrx_start_band_sweep, fmrx_stop_band_sweep, "
    "fmrx_get_band_sweep_status, fmrx_get_band_sweep_report, fmrx_measure_rssi, "
    "fmrx_set_hw_params, fmrx_set_lna_cfg, fmrx_get_lna_cfg, get_chip_ver";
const std::string kIds =
    "0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, "
    "0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x23, 0x3A";
const std::string kKinds =
    " (delay=MS, drop, error, malformed, oversize[=BYTES], late, trickle[=MS], duplicate, "
    "partial, stray, garbage[=BYTES], value=FIELD:N)";

// What a second-generation rule reads as: kind, value, command, count and
// the value fault's field and replacement.
std::string Gen2Reading(const FaultRule& rule) {
  return "kind " + std::to_string(static_cast<int>(rule.kind)) + " value " +
         std::to_string(rule.value) + " on " + rule.command + " count " +
         std::to_string(rule.count) + " field " + std::to_string(rule.field) + "=" +
         rule.replacement;
}

// The same for the first generation: slot, message or command, kind, the
// number it carries, the value fault's field offset and value.
std::string Gen1Reading(const Gen1FaultTarget& target, const Gen1Fault& fault) {
  return "slot " + std::to_string(target.slot) + " id " +
         (target.message_id ? std::to_string(*target.message_id) : "-") + " " +
         target.command_prefix + " kind " + std::to_string(static_cast<int>(fault.kind)) +
         " value " + (fault.value ? std::to_string(*fault.value) : "-") + " field " +
         std::to_string(fault.field.offset) + "=" + std::to_string(fault.field_value);
}

struct RuleCase {
  std::string rule;
  std::string outcome;  // what it reads as, or the refusal after "fault rule \"RULE\": "
};

// clang-format off
const RuleCase kGen2Rules[] = {
    // Kinds and their numbers, up to their caps.
    {"drop", "kind 1 value 0 on  count -1 field 0="},
    {"delay=600000", "kind 0 value 600000 on  count -1 field 0="},
    {"delay=600001", "delay takes 0 to 600000 ms, not \"600001\""},
    {"delay=-5", "delay takes 0 to 600000 ms, not \"-5\""},
    {"delay", "unknown kind \"delay\"" + kKinds},
    {"trickle", "kind 6 value 300 on  count -1 field 0="},
    {"trickle=0x-1", "trickle takes 0 to 600000 ms, not \"0x-1\""},
    {"oversize", "kind 4 value 65536 on  count -1 field 0="},
    {"oversize=0x4000000", "kind 4 value 67108864 on  count -1 field 0="},
    {"oversize=67108865", "oversize takes 0 to 67108864 bytes (64 MiB), not \"67108865\""},
    {"garbage=1048576", "kind 10 value 1048576 on  count -1 field 0="},
    {"garbage=1048577", "garbage takes 0 to 1048576 bytes (1 MiB), not \"1048577\""},
    {"", "unknown kind \"\"" + kKinds},
    {"slow", "unknown kind \"slow\"" + kKinds},
    {"drop=1", "unknown kind \"drop=1\"" + kKinds},
    {"0x99:fail", "unknown kind \"0x99:fail\"" + kKinds},
    // The options.
    {"error,on=fmrx_enable,count=2", "kind 2 value 0 on fmrx_enable count 2 field 0="},
    {"error,on=at@audapp:fmrx_enable", "kind 2 value 0 on fmrx_enable count -1 field 0="},
    {"error,on=AT@audapp:fmrx_enable", "kind 2 value 0 on fmrx_enable count -1 field 0="},
    {"stray,on=at@ver:get_chip_ver", "kind 9 value 0 on get_chip_ver count -1 field 0="},
    {"error,count=2147483647", "kind 2 value 0 on  count 2147483647 field 0="},
    {"error,count=0", "count=0 never fires (leave count out for every matching command)"},
    {"error,count=2147483648", "count takes 1 to 2147483647, not \"2147483648\""},
    {"error,count=-1", "count takes 1 to 2147483647, not \"-1\""},
    {"error,count=1,count=2", "count= given twice"},
    {"error,on=fmrx_enable,on=fmr_disable", "on= given twice"},
    {"error,times=2", "unknown option \"times=2\" (on=COMMAND, count=N)"},
    {"error,on=FMRX_GET_RDS_DATA", "no command \"FMRX_GET_RDS_DATA\": did you mean fmrx_get_rds_data?"},
    {"error,on=at@AUDAPP:fmrx_enable", "no command \"at@AUDAPP:fmrx_enable\": did you mean fmrx_enable?"},
    {"error,on=fmrx_seek", "no command \"fmrx_seek\" (commands: " + kCommands + ")"},
    {"error,on=", "no command \"\" (commands: " + kCommands + ")"},
    {"error,on=at@ver:fmrx_enable", "no command \"at@ver:fmrx_enable\" (commands: " + kCommands + ")"},
    // Value faults: a command, a number its reply has, a value its type holds.
    {"value=4:12,on=fmrx_get_dynamic_data", "kind 11 value 0 on fmrx_get_dynamic_data count -1 field 4=12"},
    {"value=4:0x10,on=fmrx_get_dynamic_data,count=1", "kind 11 value 0 on fmrx_get_dynamic_data count 1 field 4=16"},
    {"value=4:-32768,on=fmrx_get_dynamic_data", "kind 11 value 0 on fmrx_get_dynamic_data count -1 field 4=-32768"},
    {"value=4:32768,on=fmrx_get_dynamic_data", "number 4 of fmrx_get_dynamic_data's reply (rssi, s16) takes -32768 to 32767, not \"32768\""},
    {"value=12:-1,on=fmrx_get_dynamic_data", "kind 11 value 0 on fmrx_get_dynamic_data count -1 field 12=-1"},
    {"value=13:1,on=fmrx_get_dynamic_data", "fmrx_get_dynamic_data's reply has 13 numbers (0 to 12), not 13 (fmr-sim --help lists them)"},
    {"value=3:-1,on=at@audapp:fmrx_get_rds_data", "number 3 of fmrx_get_rds_data's reply (block_a[3], u16) takes 0 to 65535, not \"-1\""},
    {"value=195:-5,on=fmrx_get_rds_data", "kind 11 value 0 on fmrx_get_rds_data count -1 field 195=-5"},
    {"value=196:0,on=fmrx_get_rds_data", "fmrx_get_rds_data's reply has 196 numbers (0 to 195), not 196 (fmr-sim --help lists them)"},
    {"value=0:256,on=fmr_get_version", "number 0 of fmr_get_version's reply (manufacturer[0], u8) takes 0 to 255, not \"256\""},
    {"value=0:4294967295,on=fmr_get_cap", "kind 11 value 0 on fmr_get_cap count -1 field 0=4294967295"},
    {"value=0:4294967296,on=fmr_get_cap", "number 0 of fmr_get_cap's reply (receive, u32) takes 0 to 4294967295, not \"4294967296\""},
    {"value=1:1,on=fmrx_measure_rssi", "fmrx_measure_rssi's reply has 1 number (0), not 1 (fmr-sim --help lists them)"},
    {"value=199:1,on=fmrx_get_band_sweep_report", "kind 11 value 0 on fmrx_get_band_sweep_report count -1 field 199=1"},
    {"value=200:1,on=fmrx_get_band_sweep_report", "fmrx_get_band_sweep_report's reply has at most 200 numbers (0 to 199), not 200 (fmr-sim --help lists them)"},
    {"value=16:1,on=fmrx_get_lna_cfg", "fmrx_get_lna_cfg's reply has at most 16 numbers (0 to 15), not 16 (fmr-sim --help lists them)"},
    {"value=0:1,on=fmrx_enable", "fmrx_enable's reply carries no numbers (fmr-sim --help lists the commands whose replies do)"},
    {"value=4:12", "value=FIELD:N needs on=COMMAND: each command's reply has numbers of its own (fmr-sim --help lists them)"},
    {"value=4:12,on=fmrx_get_dynamic_data,count=0", "count=0 never fires (leave count out for every matching command)"},
    {"value=x:2", "value needs FIELD:N, two whole numbers (N may be negative), not \"x:2\""},
    {"value=1:2x,on=fmrx_get_dynamic_data", "value needs FIELD:N, two whole numbers (N may be negative), not \"1:2x\""},
    {"value=-1:2,on=fmrx_get_dynamic_data", "value needs FIELD:N, two whole numbers (N may be negative), not \"-1:2\""},
    {"value=4:0x-1,on=fmrx_get_dynamic_data", "value needs FIELD:N, two whole numbers (N may be negative), not \"4:0x-1\""},
};

const RuleCase kGen1Rules[] = {
    {"4:fail", "slot 77 id 4  kind 0 value - field 0=0"},
    {"0x04:fail:No errors", "slot 77 id 4  kind 0 value - field 0=0"},
    {"0x3A:length:65535", "slot 77 id 58  kind 1 value 65535 field 0=0"},
    {"0x06:status:0x8001", "slot 77 id 6  kind 2 value 32769 field 0=0"},
    {"slot54:fail", "slot 54 id -  kind 0 value - field 0=0"},
    {"pmu:status", "slot 54 id - at@pmu:get_register kind 2 value - field 0=0"},
    {"0x08:value=rssi:-32768", "slot 77 id 8  kind 3 value - field 12=-32768"},
    {"0x08:value=rssi:65535", "slot 77 id 8  kind 3 value - field 12=65535"},
    {"0x08:value=frequency:0xFFFFFFFF", "slot 77 id 8  kind 3 value - field 4=4294967295"},
    {"0x99:fail", "no message 0x99 (message ids: " + kIds + ")"},
    {"0x10004:fail", "no message 0x10004 (message ids: " + kIds + ")"},
    {"0x-4:fail", "unknown target \"0x-4\" (a message id (" + kIds + "), slot15, slot54, slot56, slot77, "
                  "selftest-enable, selftest-status, selftest-disable, pmu)"},
    {"slot3:fail", "no slot \"slot3\" (slot15, slot54, slot56, slot77)"},
    {"slot0x36:fail", "no slot \"slot0x36\" (slot15, slot54, slot56, slot77)"},
    {"0x04", "expected TARGET:KIND"},
    {"0x04:boom", "unknown kind \"boom\" (fail[:TEXT], length[:N], status[:N], value=FIELD:N)"},
    {"0x04:status:70000", "status takes 0 to 65535, not \"70000\""},
    {"0x04:length:0x-1", "length takes 0 to 65535, not \"0x-1\""},
    {"0x08:value=rsi:12", "0x08 has no reply field 'rsi' (its fields: frequency, pilot, rssi, stereo)"},
    {"2:value=rssi:1", "0x02 has no reply field 'rssi' (its reply has none a value fault can change)"},
    {"slot77:value=rssi:1", "value=FIELD:N needs a message id as its target, not slot77"},
    {"0x04:value=rssi", "value=rssi needs :N, the value it carries"},
    {"0x08:value=rssi:65536", "0x08's rssi (2 bytes) takes -32768 to 65535, not \"65536\""},
    {"0x08:value=stereo:-129", "0x08's stereo (1 byte) takes -128 to 255, not \"-129\""},
    {"0x08:value=rssi:1.5", "0x08's rssi (2 bytes) takes -32768 to 65535, not \"1.5\""},
};
// clang-format on

TEST(FaultRulesTest, EachRuleIsReadOrRefusedWithItsReason) {
  for (const RuleCase& c : kGen2Rules) {
    std::string error;
    const std::optional<FaultRule> rule = ParseFaultRule(c.rule, error);
    EXPECT_EQ(rule ? Gen2Reading(*rule) : error,
              rule ? c.outcome : "fault rule \"" + c.rule + "\": " + c.outcome)
        << "gen2 " << c.rule;
    EXPECT_EQ(rule ? rule->text : c.rule, c.rule);
  }
  for (const RuleCase& c : kGen1Rules) {
    std::string error;
    Gen1FaultTarget target;
    Gen1Fault fault;
    const bool read = ParseGen1Fault(c.rule, target, fault, error);
    EXPECT_EQ(read ? Gen1Reading(target, fault) : error,
              read ? c.outcome : "fault rule \"" + c.rule + "\": " + c.outcome)
        << "gen1 " << c.rule;
  }
}

// How many numbers a value fault can reach in `reply`: the first field
// number that changes nothing.
uint32_t ReachableNumbers(const AtReply& reply) {
  uint32_t count = 0;
  while (count < 1000 && FramedReply(ChangedValue(reply, count, "X")) != FramedReply(reply))
    ++count;
  return count;
}

// The command's line with arguments that it answers "OK" to: zeros, but for
// the commands that need real ones.
std::string CommandLine(const CommandSignature& command) {
  const std::pair<std::string_view, std::string_view> kArguments[] = {
      {"fmrx_get_band_sweep_report", "0,200"}, {"fmrx_measure_rssi", "95400000,1"}};
  std::string arguments;
  for (size_t i = 0; i < command.types.size(); ++i) arguments += i == 0 ? "0" : ",0";
  for (const auto& [name, given] : kArguments) {
    if (name == command.name) arguments = given;
  }
  return "at@" + std::string(command.module) + ":" + std::string(command.name) + "(" + arguments +
         ")";
}

// The table's numbering is the one a value fault meets: every reply carries
// as many numbers as the table lists (sized arrays at their longest), and
// the number the table calls the dynamic data's rssi is the radio's level.
TEST(FaultRulesTest, TheTableNumbersEveryNumberOfTheRealReplies) {
  RadioModel radio;
  AtCommands at{radio};
  // Radio on, a sweep of 200 points and eight LNA band splits: every
  // sized array at its longest.
  for (const char* line :
       {"at@audapp:fmrx_enable()", "at@audapp:fmrx_start_band_sweep(64000000,83900000,100000,10,0)",
        "at@audapp:fmrx_set_lna_cfg(1,2,3,4,5,6,7,8,-1,-2,-3,-4,-5,-6,-7,-8)",
        "at@audapp:fmrx_set_station(0,95400000,0,0)"})
    ASSERT_TRUE(at.Execute(line).ok) << line;
  size_t with_numbers = 0;
  for (const CommandSignature& command : AtCommands::Signatures()) {
    if (command.reply.empty()) continue;
    ++with_numbers;
    const AtReply reply = at.Execute(CommandLine(command));
    ASSERT_TRUE(reply.ok) << CommandLine(command);
    EXPECT_EQ(ReachableNumbers(reply), ReplyNumberCount(command)) << FramedReply(reply);
  }
  EXPECT_EQ(with_numbers, 13u);

  const CommandSignature& dynamic = *FindCommand("fmrx_get_dynamic_data");
  uint32_t rssi = 0;
  while (ReplyNumber(dynamic, rssi) && ReplyNumber(dynamic, rssi)->field->name != "rssi") ++rssi;
  for (const char* line : {"at@audapp:fmrx_set_station(0,88100000,0,0)",
                           "at@audapp:fmrx_set_station(0,91700000,0,0)"}) {
    ASSERT_TRUE(at.Execute(line).ok);
    // Both layouts the reply comes in.
    for (int read = 0; read < 2; ++read) {
      const AtReply reply = at.Execute("at@audapp:fmrx_get_dynamic_data()");
      EXPECT_EQ(FramedReply(ChangedValue(reply, rssi, std::to_string(radio.Rssi()))),
                FramedReply(reply))
          << "number " << rssi << " is not the level " << radio.Rssi() << ": "
          << FramedReply(reply);
    }
  }
}

std::string ReadSource(const std::string& path) {
  std::ifstream in(std::string(SOURCE_DIR) + "/" + path);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The README and every guide under docs/, one after another.
std::string ReadGuides() {
  std::vector<std::string> guides;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(SOURCE_DIR) + "/docs"))
    if (entry.path().extension() == ".md")
      guides.push_back("docs/" + entry.path().filename().string());
  std::sort(guides.begin(), guides.end());
  std::string text = ReadSource("README.md");
  for (const std::string& guide : guides) text += ReadSource(guide);
  return text;
}

// The text between "<!-- begin NAME -->" and "<!-- end NAME -->".
std::string Between(const std::string& text, const std::string& name) {
  const std::string begin = "<!-- begin " + name + " -->\n";
  const size_t from = text.find(begin);
  const size_t to = text.find("<!-- end " + name + " -->");
  if (from == std::string::npos || to == std::string::npos || to < from)
    return "(no block " + name + ")";
  return text.substr(from + begin.size(), to - from - begin.size());
}

// The simulator's guide holds the listings as the tables generate them,
// each an indented block of its own.
TEST(FaultRulesTest, GuideListsTheMessagesAndCommandsAsGenerated) {
  const std::string readme = ReadSource("docs/simulator.md");
  EXPECT_EQ(Between(readme, "gen1-messages"), "\n" + MessageListText("    ") + "\n");
  EXPECT_EQ(Between(readme, "gen2-reply-fields"), "\n" + CommandFieldListText("    ") + "\n");
}

// Every --fault example of the help texts and the guides is accepted (the
// first generation's by its parser, the second's by the other), but for
// the guides' example of a refusal, which shows its reason word for word.
TEST(FaultRulesTest, EveryExampleRuleIsAcceptedOrRefusedAsShown) {
  const std::regex example(R"(--fault "?([A-Za-z0-9][^\s`"()\]]*))");
  const auto rules = [&](const std::string& text) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), example);
         it != std::sregex_iterator(); ++it) {
      const std::string rule = (*it)[1];
      if (rule != "RULE" && !rule.starts_with("TARGET:")) found.push_back(rule);
    }
    return found;
  };
  const auto gen1 = [](const std::string& rule, std::string& error) {
    Gen1FaultTarget target;
    Gen1Fault fault;
    return ParseGen1Fault(rule, target, fault, error);
  };
  std::string error;
  for (const std::string& rule : rules(FaultUsageText())) EXPECT_TRUE(gen1(rule, error)) << error;
  for (const std::string& rule : rules(FaultRuleHelp()))
    EXPECT_TRUE(ParseFaultRule(rule, error).has_value()) << error;
  const std::string readme = ReadGuides();
  size_t accepted = 0;
  size_t refused = 0;
  for (const std::string& rule : rules(readme)) {
    std::string gen2_error;
    const bool read = gen1(rule, error) || ParseFaultRule(rule, gen2_error).has_value();
    if (readme.find("fault rule \"" + rule + "\": ") == std::string::npos) {
      EXPECT_TRUE(read) << error << "\n" << gen2_error;
      ++accepted;
    } else {
      EXPECT_FALSE(read) << rule;
      EXPECT_TRUE(readme.find(error) != std::string::npos ||
                  readme.find(gen2_error) != std::string::npos)
          << "the guides show another reason than\n"
          << error << "\n"
          << gen2_error;
      ++refused;
    }
  }
  EXPECT_GE(accepted, 4u);
  EXPECT_EQ(refused, 1u);
}

// fmr-sim refuses a bad rule or option before it serves (exit status 2,
// the reason on standard error); its help lists both tables.
TEST(FaultRulesTest, FmrSimRefusesBeforeServingAndListsTheTables) {
  struct Run {
    std::string args;
    int status;
    std::string shown;
  };
  // clang-format off
  const Run runs[] = {
      {"--port 0 --fault error,on=FMRX_GET_RDS_DATA", 2, "fmr-sim: fault rule \"error,on=FMRX_GET_RDS_DATA\": no command \"FMRX_GET_RDS_DATA\": did you mean fmrx_get_rds_data?\n"},
      {"--fault value=4:12 --port 0", 2, "needs on=COMMAND"},
      {"--fault error,count=0 --port 0", 2, "count=0 never fires"},
      {"--port 0 --fault oversize=67108865", 2, "oversize takes 0 to 67108864 bytes (64 MiB)"},
      {"--port 65536", 2, "fmr-sim: --port needs a number from 0 to 65535\n"},
      {"--port 0 --send-deadline 0", 2, "fmr-sim: --send-deadline needs a number of ms from 1 to 600000\n"},
      {"--port 1e3", 2, "fmr-sim: --port needs a number from 0 to 65535\n"},
      {"--port 0 --search-polls 3x", 2, "fmr-sim: --search-polls needs a number from 0 to 1000\n"},
      {"--pty --split 0", 2, "fmr-sim: --split needs a number from 1 to 1000000\n"},
      {"--baud 9 --pty", 2, "fmr-sim: --baud needs a number from 10 to 100000000\n"},
      {"--help", 0, "value=FIELD:N counts (from 0):\n" + CommandFieldListText("      ")},
      {"--help", 0, "and their reply fields:\n" + MessageListText("      ")},
  };
  // clang-format on
  for (const Run& run : runs) {
    // A rule let through would start a server that never ends: the run is
    // bounded.
    const e2e::ShellRun shell =
        e2e::RunShell("timeout 20 " + std::string(FMR_SIM_PATH) + " " + run.args + " 2>&1");
    EXPECT_EQ(shell.status, run.status) << run.args << "\n" << shell.text;
    EXPECT_NE(shell.text.find(run.shown), std::string::npos) << run.args << "\n" << shell.text;
    EXPECT_EQ(shell.text.find("listening"), std::string::npos) << run.args;
  }
}

}  // namespace
