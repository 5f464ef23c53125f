// The operations on the AT, audio and info channels: PMU register, audio
// destination, version text and self test. Logs are compared as
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

  for (const HostAnswer& failure : {StatusReply(4, 0), StatusReply(2)}) {
    host.Queue(failure);
    EXPECT_FALSE(radio.SetAudioOutput(1));
  }
  EXPECT_EQ(host.Transcript(),
            "Sending to mobile...|OK|Sending to mobile...|!ERROR: FMR_STATUS_ERROR|"
            "Sending to mobile...|!ERROR: OUTPUT_SIZE_NOT_MATCH");
}

TEST_F(OtherChannels, VersionTextFromInfoChannelOrQuestionMark) {
  HostAnswer answer = TextReply("?KF1021 CP 3.14");
  answer.reply[0] = 1;
  host.Queue(answer);
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "KF1021 CP 3.14");
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].channel, HostChannel::kInfoRequest);
  EXPECT_EQ(host.calls[0].message_id, 8);
  EXPECT_EQ(host.calls[0].request, (std::vector<uint8_t>{0x00, 0x32}));

  answer.reply[0] = 0;  // no such text
  host.Queue(answer);
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "?");
  host.Queue(HostFailure("gone"));
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "?");
  EXPECT_EQ(host.Transcript(), "Sending to mobile...|Sending to mobile...|Sending to mobile...");
}

HostAnswer Probe(uint8_t running) {
  HostAnswer answer = StatusReply(6);
  answer.reply[4] = running;
  return answer;
}

TEST_F(OtherChannels, SelfTestSwitchesTheTestFunctionsOnlyWhenTheRadioIsOff) {
  const std::string enable = "at@fmr:quelm_fmr_enable_test_func()";
  const std::string disable = "at@fmr:quelm_fmr_disable_test_func()";
  const std::string status = "at@quelm_fmr_internal_get_status_test_func(9%s%n%d)";
  const struct {
    std::vector<HostAnswer> answers;  // the probe first
    bool result;
    std::vector<std::string> sent;
    const char* log;  // "Sending to mobile..." shown as "S"
  } cases[] = {
      {{Probe(1), TextReply("FMR status retrieved successfully")},
       true,
       {status},
       "S|FMR Selftest at frequency: 9%s%n%d|S|FMR status retrieved successfully|OK"},
      {{Probe(0), TextReply("Enabled FMR test functions"), TextReply("status failed"),
        TextReply("Disabled FMR test functions")},
       true,
       {enable, status, disable},
       "S|S|Enabled FMR test functions|FMR Selftest at frequency: 9%s%n%d|S|!status failed|S|"
       "Disabled FMR test functions|OK"},
      {{HostFailure("probe lost"), TextReply("ERROR"), HostFailure("link down")},
       false,
       {enable, disable},
       "S|S|!ERROR|S|!|!ERROR: MERSH_DLL_ERROR|link down"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    host.Clear();
    for (const HostAnswer& answer : c.answers) host.Queue(answer);
    EXPECT_EQ(radio.SelfTest("9%s%n%d"), c.result);
    EXPECT_EQ(host.calls.at(0).channel, HostChannel::kTestFunction);
    EXPECT_TRUE(host.calls.at(0).request_null);
    EXPECT_EQ(SentTexts(), c.sent);
    std::string log = host.Transcript();
    for (size_t at; (at = log.find("Sending to mobile...")) != std::string::npos;)
      log.replace(at, 20, "S");
    EXPECT_EQ(log, c.log);
  }
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
