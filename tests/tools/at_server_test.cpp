// The simulated handset's AT command interpreter: every command of the set
// with its exact reply, its argument count and the ranges of its argument
// types; and its fault rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/fault_plan.h"

namespace {

using namespace fmrsim;

// The reply lines joined by "|", then the final line.
std::string Text(const AtReply& reply) {
  std::string text;
  for (const std::string& line : reply.lines) text += line + "|";
  return text + (reply.ok ? "OK" : "ERROR");
}

// `values` then zeros up to `count`, in braces, ", " between them and a line
// break ("|") after every `per_line`.
std::string Over(std::vector<std::string> values, size_t count, size_t per_line) {
  values.resize(count, "0");
  std::string text = "{";
  for (size_t i = 0; i < count; ++i)
    text += values[i] + (i + 1 == count ? "}" : i % per_line == per_line - 1 ? ",| " : ", ");
  return text;
}

// An auto-seek report's two lists: 50 frequencies, ten a line, then 50 levels.
std::string StationLists(const std::vector<std::string>& frequencies,
                         std::vector<std::string> levels) {
  levels.resize(50, "0");
  std::string text = Over(frequencies, 50, 10) + "|{";
  for (size_t i = 0; i < 50; ++i) text += levels[i] + (i == 49 ? "}" : ",");
  return text;
}

// One radio from power-up, command after command: each line ("at@audapp:"
// added to a line without '@') and the reply it gets. Before each line that
// succeeds, the same command with one argument more and one less is refused
// (and changes nothing the later replies would show).
struct Exchange {
  std::string line, reply;
};
const std::string kZeros = "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,";  // 23 entries
// clang-format off
const Exchange kSession[] = {
    {"at@ver:get_chip_ver(0)", "+CHIPVER: DR947 rev 2|OK"},
    {"fmr_get_version()",
     "{68,82,85,83,75,0,0,0,0,0,0,0,0,0,0,0}|{68,82,57,52,55,0,0,0,0,0,0,0,0,0,0,0},"
     "{45,66,50,32,70,77,82,88,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0}|" +
         Over({"83", "87", "32", "50", "46", "52", "46", "49", "55", "32", "70", "87", "32", "53",
               "46", "49", "50", "46", "51", "32"}, 100, 25) + "|OK"},
    {"fmrx_get_static_config()",
     "{108000000,87500000,100000,0}|0,0,0|{1,0}|{0,10,60},0|{20,40,1}|{12,3,1}|3|{80, 80}|OK"},
    {"fmrx_get_dynamic_data()", "{0,87500000,0,0}|0, 0, 0, 0, 0|5|{0,0,0}|OK"},
    {"fmrx_get_rds_data()", "ERROR"},  // switched off
    {"fmrx_get_auto_seek_report()", "0|" + StationLists({}, {}) + "|OK"},
    {"fmrx_set_station(0,95400000,10,0)", "ERROR"},
    {"fmr_configure_audio_dst(3)", "OK"},  // none, the last destination
    {"fmr_configure_audio_dst(2)", "OK"}, {"fmr_configure_audio_dst(4)", "ERROR"},
    {"AT@audapp:fmrx_enable()", "OK"}, {"fmrx_set_band(108000000,87500000,200000,1)", "OK"},
    {"fmrx_set_band(87500000,108000000,200000,1)", "ERROR"},  // limits swapped
    {"fmrx_set_band(108000000,87500000,49999,1)", "ERROR"},
    {"fmrx_set_sideband(1)", "OK"}, {"fmrx_set_sideband(3)", "ERROR"},
    {"fmrx_set_output_mode(1)", "OK"}, {"fmrx_set_output_mode(2)", "ERROR"},
    {"fmrx_forcemono(1)", "OK"}, {"fmrx_set_antenna(1)", "OK"}, {"fmrx_set_antenna(2)", "ERROR"},
    {"fmrx_set_snc(-21,37,0)", "OK"}, {"fmrx_set_sm(-6,9,0)", "OK"},
    {"fmrx_set_volume(1,57)", "OK"}, {"fmrx_set_volume(2,0)", "OK"},
    {"fmrx_set_volume(3,1)", "ERROR"}, {"fmrx_set_rssi(1,-14,52)", "OK"},
    {"fmrx_set_gain_control(0,11)", "OK"}, {"fmrx_set_gain_control(1,16)", "ERROR"},
    {"fmrx_set_rds(1,1,500)", "OK"}, {"fmrx_set_rds(1,3,500)", "ERROR"},
    {"fmrx_get_static_config()",
     "{108000000,87500000,200000,1}|1,1,1|{0,11}|{1,-14,52},0|{-21,37,0}|{-6,9,0}|2|{57, 0}|OK"},
    {"fmrx_set_volume(0,0)", "OK"},
    {"fmrx_get_static_config()",
     "{108000000,87500000,200000,1}|1,1,1|{0,11}|{1,-14,52},1|{-21,37,0}|{-6,9,0}|2|{0, 0}|OK"},
    {"fmrx_set_station(0,95400000,10,0)", "OK"},
    {"fmrx_get_dynamic_data()", "{1,95400000,1,1}|{30,1,101,375,6700,5,22,0,0}|OK"},
    {"fmrx_get_rds_data()", "{" + kZeros + "49668,49668,49668,49668,49668}|{" + kZeros +
     "360,361,362,367,8544}|{" + kZeros + "57679,57679,57679,57679,21103}|{" + kZeros +
     "21071,17227,8249,13600,25451}|0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 4|" +
     Over({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
           "0", "0", "0", "0", "0", "0", "1", "2", "3", "4", "5"}, 28, 14) + "|{0, 0, 0, 0, 0, 0, "
     "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 30, 30, 30, 30}|OK"},
    // Seek up without wrap, then down with wrap (no station that strong on
    // the 200 kHz raster: it fails and comes round to where it started).
    {"fmrx_set_station(3,95400000,10,1)", "OK"},
    {"fmrx_get_dynamic_data()", "{1,103200000,0,1}|41, 1, 110, 625, 6810|0|{33,5,0}|OK"},
    {"fmrx_set_station(2,95400000,50,0)", "OK"},
    {"fmrx_get_dynamic_data()", "{1,103200000,1,1}|{41,1,110,625,6810,1,33,5,0}|OK"},
    {"fmrx_set_band(108000000,87500000,100000,0)", "OK"},
    {"fmrx_set_station(4,95400000,30,0)", "OK"},
    {"fmrx_get_dynamic_data()", "{1,95400000,1,1}|30, 1, 101, 375, 6700|0|{22,5,0}|OK"},
    {"fmrx_set_station(1,95400000,30,0)", "OK"}, {"fmrx_set_station(6,95400000,30,0)", "ERROR"},
    // The search: ongoing for one read, then the list.
    {"fmrx_set_station(5,0,40,0)", "OK"}, {"fmrx_get_auto_seek_report()", "ERROR"},
    {"fmrx_get_dynamic_data()", "{1,97700000,0,0}|{10,1,151,0,0,2,2,5,0}|OK"},
    {"fmrx_get_dynamic_data()", "{1,88100000,1,1}|45, 1, 97, 0, 6850|0|{37,5,0}|OK"},
    {"fmrx_get_auto_seek_report()",
     "3|" + StationLists({"88100000", "91700000", "103200000"}, {"45", "52", "41"}) + "|OK"},
    // Each argument type at both ends of its range, and just beyond.
    {"fmrx_set_volume(1,255)", "OK"}, {"fmrx_set_volume(1,256)", "ERROR"},
    {"fmrx_set_sm(-32768,65535,0)", "OK"}, {"fmrx_set_sm(-32769,0,0)", "ERROR"},
    {"fmrx_set_sm(0,65536,0)", "ERROR"}, {"fmrx_set_sm(0,-1,0)", "ERROR"},
    {"fmrx_set_snc(32767,-32768,-2147483648)", "OK"}, {"fmrx_set_snc(32768,0,0)", "ERROR"},
    {"fmrx_set_snc(0,0,2147483648)", "ERROR"}, {"fmrx_set_rssi(2147483647,-32768,32767)", "OK"},
    {"fmrx_set_rssi(0,0,32768)", "ERROR"}, {"fmrx_set_rds(0,0,4294967295)", "OK"},
    {"fmrx_set_rds(0,0,4294967296)", "ERROR"}, {"fmrx_set_rds(0,-1,0)", "ERROR"},
    {"fmrx_set_gain_control(-2147483649,1)", "ERROR"}, {"fmrx_forcemono(4294967295)", "OK"},
    {"fmrx_forcemono(+1)", "ERROR"}, {"fmrx_forcemono( 1)", "ERROR"},
    {"fmrx_forcemono(0x1)", "ERROR"}, {"fmrx_set_band(108000000,87500000,100000,4294967295)", "OK"},
    {"fmrx_set_station(0,95400000,32767,4294967295)", "OK"},
    {"fmrx_set_station(0,95400000,-32769,0)", "ERROR"},
    {"fmrx_set_station(-0,95400000,0,0)", "ERROR"},
    {"fmrx_get_static_config()",
     "{108000000,87500000,100000,4294967295}|1,1,1|{0,11}|{2147483647,-32768,32767},0|"
     "{32767,-32768,-2147483648}|{-32768,65535,0}|2|{255, 0}|OK"},
    {"fmr_disable()", "OK"},
    {"fmrx_get_dynamic_data()", "{0,95400000,0,0}|{0,1,0,0,0,0,0,5,0}|OK"},
    // Commands the panel never sends.
    {"fmr_get_cap()", "{1,0,64000000,108000000,50000}|OK"},
    {"fmr_set_register_data(5,4660)", "OK"},
    {"fmr_get_register_data()",
     "{4129, 3076, 16385, 0, 6528, 4660, 0, 0,| 0, 0, 31232, 3105, 0, 0, 0, 0}|OK"},
    {"fmr_nvm_commit()", "OK"}, {"fmrx_get_band_sweep_cap()", "{1,200}|OK"},
    {"fmrx_get_band_sweep_status()", "0 0|OK"},
    {"fmrx_start_band_sweep(88000000,88400000,100000,10,20)", "OK"},
    {"fmrx_get_band_sweep_status()", "2 5|OK"},
    {"fmrx_get_band_sweep_report(1,3)", "{45, 20, 20}|OK"},
    {"fmrx_get_band_sweep_report(3,3)", "ERROR"}, {"fmrx_stop_band_sweep()", "OK"},
    {"fmrx_measure_rssi(88100000,1)", "45|OK"}, {"fmrx_measure_rssi(88100000,0)", "ERROR"},
    {"fmrx_set_hw_params(1,2,3,4,5,6,7)", "OK"},
    {"fmrx_get_lna_cfg()", "{88000000,98000000},{-2,1}|OK"},
    {"fmrx_set_lna_cfg({1,2,3},{4,5,6})", "OK"},  // two arrays of any length
    {"fmrx_get_lna_cfg()", "{1,2,3},{4,5,6}|OK"},
    {"fmrx_set_lna_cfg({1},{2})", "OK"}, {"fmrx_get_lna_cfg()", "{1},{2}|OK"},
};
// clang-format on

TEST(AtCommandsTest, EveryCommandGetsItsReplyAndOnlyWithItsArgumentCount) {
  RadioModel radio;
  AtCommands at{radio};
  at.set_auto_search_polls(1);
  for (const Exchange& e : kSession) {
    const std::string line = e.line.find('@') == std::string::npos ? "at@audapp:" + e.line : e.line;
    const size_t open = line.find('(');
    if (e.reply.ends_with("OK") && open != std::string::npos) {
      const bool none = line.ends_with("()");
      const size_t last = none ? open : std::max(open, line.rfind(','));
      const std::string more = line.substr(0, line.size() - 1) + (none ? "0)" : ",0)");
      EXPECT_EQ(Text(at.Execute(more)), "ERROR") << more;
      const std::string fewer = none ? more : line.substr(0, last) + ")";
      EXPECT_EQ(Text(at.Execute(fewer)), "ERROR") << fewer;
    }
    EXPECT_EQ(Text(at.Execute(line)), e.reply) << line;
  }
  for (const char* line : {"at@audapp:fmrx_enable", "at@audapp:fmrx_enable(", "fmrx_enable()",
                           "at@audapp:fmrx_bogus()", "at@ver:fmrx_enable()"})
    EXPECT_EQ(Text(at.Execute(line)), "ERROR") << line;  // no command of the set
  EXPECT_EQ(FramedReply(AtReply{{"a", "b"}, true}), "a\r\nb\r\nOK\r\n");
  EXPECT_EQ(FramedReply(AtReply{{}, false}), "ERROR\r\n");
}

TEST(FaultPlanTest, RulesParseAndApplyToTheirCommandForTheirCount) {
  std::string error;
  for (const char* text : {"", "slow", "delay=-5", "delay=1s", "error,count=", "error,times=2"}) {
    EXPECT_FALSE(ParseFaultRule(text, error).has_value()) << text;
  }
  FaultPlan plan;
  plan.Add(FaultRule{FaultKind::kError, 0, "fmrx_enable", 2});
  plan.Add(FaultRule{FaultKind::kDelay, 50, "", -1});
  EXPECT_FALSE(plan.Take("fmr_disable").outcome.has_value());
  EXPECT_EQ(plan.Take("at@audapp:fmrx_enable").outcome, FaultKind::kError);
  EXPECT_EQ(plan.Take("fmrx_enable").outcome, FaultKind::kError);
  const FaultAction spent = plan.Take("fmrx_enable");
  EXPECT_FALSE(spent.outcome.has_value());
  EXPECT_EQ(spent.delay_ms, 50u);
}

}  // namespace
