// The operations on the AT, audio and info channels: PMU register, audio
// destination, version text and self test.
#include <gtest/gtest.h>

#include "gen1/kelbo_fmr_function.h"
#include "host/host_interface.h"
#include "recording_host.h"

using testing_host::HostAnswer;
using testing_host::HostFailure;
using testing_host::LogLine;
using testing_host::RecordingHost;
using testing_host::StatusReply;
using testing_host::TextReply;

namespace {

class OtherChannels : public ::testing::Test {
 protected:
  std::vector<std::string> SentTexts() const {
    std::vector<std::string> texts;
    for (const auto& call : host.calls) {
      if (call.slot == kSlotSendAtCommand) texts.push_back(call.Text());
    }
    return texts;
  }
  RecordingHost host;
  CKelboFMRFunction radio;
};

TEST_F(OtherChannels, PmuRegisterReadsTheHexNumberAfterOk) {
  host.Queue(TextReply("OK\r\n0x00400000\r\n"));
  uint32_t value = 0;
  EXPECT_TRUE(radio.ReadPmuRegister(value));
  EXPECT_EQ(value, 0x00400000u);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, kSlotSendAtCommand);
  EXPECT_EQ(host.calls[0].message_id, 0);
  EXPECT_EQ(host.calls[0].Text(), "at@pmu:get_register(28)");
  EXPECT_EQ(host.log, (std::vector<LogLine>{
                          {"Read PMU register", 1}, {"Sending to mobile...", 1}, {"OK", 1}}));
}

TEST_F(OtherChannels, PmuRegisterUnexpectedReplyStillEndsOk) {
  host.Queue(TextReply("ERROR: 17 bad register"));
  uint32_t value = 0x1234;
  EXPECT_TRUE(radio.ReadPmuRegister(value));
  EXPECT_EQ(value, 0x1234u);
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Read PMU register", 1},
                                            {"Sending to mobile...", 1},
                                            {"Error while reading PMU register from the Target", 1},
                                            {"error code : ERROR:", 1},
                                            {"OK", 1}}));
}

TEST_F(OtherChannels, PmuRegisterHostFailureLeavesValue) {
  host.Queue(HostFailure("No errors"));
  uint32_t value = 5;
  EXPECT_FALSE(radio.ReadPmuRegister(value));
  EXPECT_EQ(value, 5u);
  EXPECT_EQ(host.log.back().text, "Error! Probably rejected before any communication was made");
}

TEST_F(OtherChannels, AudioOutputSendsDestinationOnAudioChannel) {
  host.Queue(StatusReply(4));
  EXPECT_TRUE(radio.SetAudioOutput(255));
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, kSlotSendAudioRequest);
  EXPECT_EQ(host.calls[0].message_id, 4);
  std::vector<uint8_t> expected(24, 0);
  expected[0] = 1;
  expected[4] = 255;
  EXPECT_EQ(host.calls[0].request, expected);

  host.Queue(StatusReply(4, 0));
  EXPECT_FALSE(radio.SetAudioOutput(1));
  host.Queue(StatusReply(2));
  EXPECT_FALSE(radio.SetAudioOutput(1));
  EXPECT_EQ(host.LogTexts(),
            (std::vector<std::string>{"Sending to mobile...", "OK", "Sending to mobile...",
                                      "ERROR: FMR_STATUS_ERROR", "Sending to mobile...",
                                      "ERROR: OUTPUT_SIZE_NOT_MATCH"}));
}

TEST_F(OtherChannels, VersionTextFromInfoChannel) {
  HostAnswer answer = TextReply("?KF1021 CP 3.14");
  answer.reply[0] = 1;
  host.Queue(answer);
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "KF1021 CP 3.14");
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, kSlotSendInfoRequest);
  EXPECT_EQ(host.calls[0].message_id, 8);
  EXPECT_EQ(host.calls[0].request, (std::vector<uint8_t>{0x00, 0x32}));
  EXPECT_EQ(host.LogTexts(), (std::vector<std::string>{"Sending to mobile..."}));
}

TEST_F(OtherChannels, VersionTextFailuresGiveQuestionMark) {
  HostAnswer answer = TextReply("xKF1021");
  answer.reply[0] = 0;
  host.Queue(answer);
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "?");
  host.Queue(HostFailure("gone"));
  EXPECT_EQ(radio.ReadVersionText(0x32, 0), "?");
  EXPECT_EQ(host.LogTexts(),
            (std::vector<std::string>{"Sending to mobile...", "Sending to mobile..."}));
}

HostAnswer Probe(uint8_t running) {
  HostAnswer answer = StatusReply(6);
  answer.reply[4] = running;
  return answer;
}

TEST_F(OtherChannels, SelfTestWithRadioRunningSendsOnlyStatus) {
  host.Queue(Probe(1));
  host.Queue(TextReply("FMR status retrieved successfully"));
  EXPECT_TRUE(radio.SelfTest("98500000"));
  EXPECT_EQ(host.calls[0].slot, kSlotSendTestFunction);
  EXPECT_EQ(host.calls[0].message_id, 0);
  EXPECT_TRUE(host.calls[0].request_null);
  EXPECT_EQ(SentTexts(),
            (std::vector<std::string>{"at@quelm_fmr_internal_get_status_test_func(98500000)"}));
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1},
                                            {"FMR Selftest at frequency: 98500000", 1},
                                            {"Sending to mobile...", 1},
                                            {"FMR status retrieved successfully", 1},
                                            {"OK", 1}}));
}

TEST_F(OtherChannels, SelfTestWithRadioOffEnablesAndDisables) {
  host.Queue(Probe(0));
  host.Queue(TextReply("Enabled FMR test functions"));
  host.Queue(TextReply("status failed"));
  host.Queue(TextReply("Disabled FMR test functions"));
  EXPECT_TRUE(radio.SelfTest("87500000"));
  EXPECT_EQ(SentTexts(),
            (std::vector<std::string>{"at@fmr:quelm_fmr_enable_test_func()",
                                      "at@quelm_fmr_internal_get_status_test_func(87500000)",
                                      "at@fmr:quelm_fmr_disable_test_func()"}));
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1},
                                            {"Sending to mobile...", 1},
                                            {"Enabled FMR test functions", 1},
                                            {"FMR Selftest at frequency: 87500000", 1},
                                            {"Sending to mobile...", 1},
                                            {"status failed", 0},
                                            {"Sending to mobile...", 1},
                                            {"Disabled FMR test functions", 1},
                                            {"OK", 1}}));
}

TEST_F(OtherChannels, SelfTestEnableFailureSkipsStatus) {
  host.Queue(HostFailure("probe lost"));
  host.Queue(TextReply("ERROR"));
  host.Queue(HostFailure("link down"));
  EXPECT_FALSE(radio.SelfTest("1"));
  EXPECT_EQ(SentTexts(), (std::vector<std::string>{"at@fmr:quelm_fmr_enable_test_func()",
                                                   "at@fmr:quelm_fmr_disable_test_func()"}));
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1},
                                            {"Sending to mobile...", 1},
                                            {"ERROR", 0},
                                            {"Sending to mobile...", 1},
                                            {"", 0},
                                            {"ERROR: MERSH_DLL_ERROR", 0},
                                            {"link down", 1}}));
}

TEST_F(OtherChannels, SelfTestFrequencyTextIsCopiedVerbatim) {
  host.Queue(Probe(1));
  host.Queue(TextReply("ok"));
  radio.SelfTest("%s%n%d");
  EXPECT_EQ(SentTexts(),
            (std::vector<std::string>{"at@quelm_fmr_internal_get_status_test_func(%s%n%d)"}));
  EXPECT_EQ(host.log[1].text, "FMR Selftest at frequency: %s%n%d");
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
