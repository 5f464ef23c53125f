#include <gtest/gtest.h>

#include <charconv>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "reply_reader.h"

namespace {

using fmrsim::AtCommands;
using fmrsim::AtReply;
using fmrsim::SeekStatus;

// The values of a reply as it travels on the link, read as decimal numbers;
// nullopt when one is not a number or the final word is not "OK".
std::optional<std::vector<int64_t>> ReplyValues(const AtReply& reply) {
  const simtest::ReplyWords words = simtest::SplitReply(fmrsim::FramedReply(reply));
  if (words.final_word != "OK") return std::nullopt;
  std::vector<int64_t> values;
  for (const std::string& word : words.values) {
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    values.push_back(value);
  }
  return values;
}

// The space-separated words of `text`.
std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// Field positions in the dynamic data.
constexpr size_t kFrequency = 1, kSeek = 9;

class AtCommandsTest : public ::testing::Test {
 protected:
  AtReply Run(const std::string& command) { return at.Execute(command); }

  // The values of a successful read.
  std::vector<int64_t> Read(const std::string& name) {
    const AtReply reply = Run("at@audapp:" + name + "()");
    EXPECT_TRUE(reply.ok) << name;
    return ReplyValues(reply).value_or(std::vector<int64_t>{});
  }

  void Expect(bool ok, const std::string& command) { EXPECT_EQ(Run(command).ok, ok) << command; }

  void PowerOnAt(uint32_t frequency) {
    Expect(true, "at@audapp:fmrx_enable()");
    Expect(true, "at@audapp:fmrx_set_station(0," + std::to_string(frequency) + ",0,0)");
  }

  fmrsim::RadioModel radio;
  AtCommands at{radio};
};

TEST_F(AtCommandsTest, WriteCommandsAnswerOkWithoutLinesAndCheckTheirArgumentCount) {
  Expect(true, "at@audapp:fmrx_enable()");
  const std::vector<std::string> commands = Words(
      "fmr_configure_audio_dst(2) fmrx_set_band(108000000,87500000,100000,0) "
      "fmrx_set_station(0,95400000,-10,0) fmrx_set_sideband(1) fmrx_set_output_mode(1) "
      "fmrx_forcemono(1) fmrx_set_antenna(1) fmrx_set_snc(-5,30,1) fmrx_set_sm(-5,3,1) "
      "fmrx_set_volume(1,112) fmrx_set_rds(1,0,1000) fmrx_set_rssi(1,-20,70) "
      "fmrx_set_gain_control(0,7) fmr_disable()");
  for (const std::string& command : commands) {
    const AtReply reply = Run("at@audapp:" + command);
    EXPECT_TRUE(reply.ok) << command;
    EXPECT_TRUE(reply.lines.empty()) << command;
    // One argument more, or one fewer, is refused.
    const size_t open = command.find('(');
    const size_t close = command.size() - 1;
    const bool no_args = close == open + 1;
    Expect(false, "at@audapp:" + command.substr(0, close) + (no_args ? "1)" : ",1)"));
    if (!no_args) {
      const size_t last_comma = command.rfind(',');
      const size_t cut = last_comma == std::string::npos ? open + 1 : last_comma;
      Expect(false, "at@audapp:" + command.substr(0, cut) + ")");
    }
  }
}

TEST_F(AtCommandsTest, UnknownOrMalformedCommandsAndOutOfRangeArgumentsAnswerError) {
  Expect(true, "at@audapp:fmrx_enable()");
  for (const char* command : {"at@audapp:fmrx_bogus()", "fmrx_enable()", "at@audapp:fmrx_enable(",
                              "at@audapp:fmrx_enable", "at@other:fmrx_enable()", "",
                              "at@audapp:fmrx_set_volume(1,300)",     // level is u8
                              "at@audapp:fmrx_set_volume(1,x)",       // not a number
                              "at@audapp:fmrx_set_volume(1,0x10)",    // decimal only
                              "at@audapp:fmrx_set_volume(3,10)",      // no such channel
                              "at@audapp:fmrx_set_snc(40000,1,1)",    // s16
                              "at@audapp:fmrx_set_station(6,0,0,0)",  // no such mode
                              "at@audapp:fmrx_set_station(0,50000000,0,0)",
                              "at@audapp:fmrx_set_band(87500000,108000000,100000,0)",  // swapped
                              "at@audapp:fmrx_set_band(108000000,87500000,1,0)",  // below 50 kHz
                              "at@audapp:fmrx_set_gain_control(1,16)"}) {
    Expect(false, command);
  }
}

TEST_F(AtCommandsTest, SeekModesMoveToTheNextStationOrReportFailure) {
  PowerOnAt(90000000);
  struct Case {
    int mode;
    int min_rssi;
    int64_t frequency;
    SeekStatus status;
  };
  const Case cases[] = {
      {3, 40, 91700000, SeekStatus::kSuccess},  // up, strong stations only
      {4, 0, 89300000, SeekStatus::kSuccess},   // down from 91.7
      {1, 100, 0, SeekStatus::kFailed},         // nothing that strong
  };
  for (const Case& c : cases) {
    Expect(true, "at@audapp:fmrx_set_station(" + std::to_string(c.mode) + ",0," +
                     std::to_string(c.min_rssi) + ",0)");
    const std::vector<int64_t> d = Read("fmrx_get_dynamic_data");
    if (c.frequency != 0) {
      EXPECT_EQ(d[kFrequency], c.frequency) << c.mode;
    }
    EXPECT_EQ(d[kSeek], static_cast<int64_t>(c.status)) << c.mode;
  }
  Expect(true, "at@audapp:fmr_disable()");
  Expect(false, "at@audapp:fmrx_set_station(1,0,0,0)");  // receiver off
}

}  // namespace
