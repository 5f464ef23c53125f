// The operations on the AT and audio channels: PMU register, audio
// destination and the self test's command length. Logs are compared as
// transcripts: lines separated by "|", error lines marked by "!".
#include <gtest/gtest.h>

#include "gen1/kelbo_fmr_function.h"
#include "recording_host.h"
#include "ui/headless/headless_services.h"

namespace {

using testing_host::HostAnswer;
using testing_host::HostFailure;
using testing_host::RecordingHost;
using testing_host::StatusReply;
using testing_host::TextReply;

class OtherChannels : public ::testing::Test {
 protected:
  std::vector<std::string> SentTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : host.calls) {
      if (call.channel == HostChannel::kAtCommand) texts.push_back(call.Text());
    }
    return texts;
  }
  ui::HeadlessServices services;
  RecordingHost host;
  CKelboFMRFunction radio{host.Context(services)};
};

TEST_F(OtherChannels, PmuRegisterReadsTheHexNumberAfterOk) {
  const struct {
    HostAnswer answer;
    bool result;
    uint32_t value;  // starts as 5
    const char* log;
  } cases[] = {
      {TextReply("OK\r\n0x00400000\r\n"), true, 0x00400000, "OK"},
      {TextReply("ERROR: 17 bad register"), true, 5,
       "Error while reading PMU register from the Target|error code : ERROR:|OK"},
      {HostFailure("No errors"), false, 5,
       "!ERROR: MERSH_DLL_ERROR|!Error! Probably rejected before any communication was made"}};
  for (const auto& c : cases) {
    host.Clear();
    host.Queue(c.answer);
    uint32_t value = 5;
    EXPECT_EQ(radio.ReadPmuRegister(value), c.result);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(host.Transcript(), std::string("Read PMU register|Sending to mobile...|") + c.log);
    EXPECT_EQ(host.calls.at(0).message_id, 0);
    EXPECT_EQ(SentTexts(), std::vector<std::string>{"at@pmu:get_register(28)"});
  }
}

TEST_F(OtherChannels, AudioOutputSendsDestinationOnAudioChannel) {
  host.Queue(StatusReply(4));
  EXPECT_TRUE(radio.SetAudioOutput(255));
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].channel, HostChannel::kAudioRequest);
  EXPECT_EQ(host.calls[0].message_id, 4);
  std::vector<uint8_t> expected(24, 0);
  expected[0] = 1;
  expected[4] = 255;
  EXPECT_EQ(host.calls[0].request, expected);
  EXPECT_EQ(host.Transcript(), "Sending to mobile...|OK");
}

HostAnswer Probe(uint8_t running) {
  HostAnswer answer = StatusReply(6);
  answer.reply[4] = running;
  return answer;
}

TEST_F(OtherChannels, SelfTestCommandStaysWithinItsBuffer) {
  host.Queue(Probe(1));
  host.Queue(TextReply("ok"));
  radio.SelfTest(std::string(5000, '9'));
  const std::string sent = SentTexts().at(0);
  EXPECT_EQ(sent.size(), 999u);  // 1000 characters with the terminating zero
  EXPECT_EQ(sent.rfind("at@quelm_fmr_internal_get_status_test_func(999", 0), 0u);
  EXPECT_EQ(sent.back(), ')');
}

}  // namespace
