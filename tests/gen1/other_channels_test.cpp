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
  const struct {
    HostAnswer answer;
    bool result;
    const char* log;
  } cases[] = {{StatusReply(4), true, "OK"},
               {StatusReply(4, 0), false, "!ERROR: FMR_STATUS_ERROR"},
               {StatusReply(2), false, "!ERROR: OUTPUT_SIZE_NOT_MATCH"}};
  for (const auto& c : cases) {
    host.Clear();
    host.Queue(c.answer);
    EXPECT_EQ(radio.SetAudioOutput(254), c.result);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].channel, HostChannel::kAudioRequest);
    EXPECT_EQ(host.calls[0].message_id, 4);
    std::vector<uint8_t> expected(24, 0);
    expected[0] = 1;
    expected[4] = 254;
    EXPECT_EQ(host.calls[0].request, expected);
    EXPECT_EQ(host.Transcript(), std::string("Sending to mobile...|") + c.log);
  }
}

TEST_F(OtherChannels, VersionTextAsksIndexThenSelectorAndIsQuestionMarkWithoutOne) {
  const struct {
    HostAnswer answer;
    const char* text;
  } cases[] = {{TextReply("\x01"
                          "FMR 358"),
                "FMR 358"},
               {TextReply("\x02"
                          "FMR 358"),
                "?"},
               {HostFailure("down"), "?"}};
  for (const auto& c : cases) {
    host.Clear();
    host.Queue(c.answer);
    EXPECT_EQ(radio.ReadVersionText(0x32, 7), c.text);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].channel, HostChannel::kInfoRequest);
    EXPECT_EQ(host.calls[0].message_id, 8);
    EXPECT_EQ(host.calls[0].request, (std::vector<uint8_t>{7, 0x32}));
    EXPECT_EQ(host.Transcript(), "Sending to mobile...");
  }
}

HostAnswer Probe(uint8_t running) {
  HostAnswer answer = StatusReply(6);
  answer.reply[4] = running;
  return answer;
}

// The probe decides between the status command alone and enable, status,
// disable; each reply is logged as success only with its expected text.
TEST_F(OtherChannels, SelfTestSendsItsCommandsAndLogsEachReply) {
  const std::string enable = "at@fmr:quelm_fmr_enable_test_func()";
  const std::string status = "at@quelm_fmr_internal_get_status_test_func(98100000)";
  const std::string disable = "at@fmr:quelm_fmr_disable_test_func()";
  const struct {
    HostAnswer probe;
    std::vector<HostAnswer> replies;
    std::vector<std::string> sent;
    bool result;
    const char* log;  // after the probe's "Sending to mobile..."
  } cases[] = {
      {Probe(1),
       {TextReply("status retrieved successfully")},
       {status},
       true,
       "FMR Selftest at frequency: 98100000|Sending to mobile...|status retrieved successfully|OK"},
      {Probe(1),
       {TextReply("no status")},
       {status},
       true,
       "FMR Selftest at frequency: 98100000|Sending to mobile...|!no status|OK"},
      {Probe(0),
       {TextReply("Enabled FMR"), TextReply("status retrieved successfully"),
        TextReply("Disabled FMR")},
       {enable, status, disable},
       true,
       "Sending to mobile...|Enabled FMR|FMR Selftest at frequency: 98100000|Sending to mobile...|"
       "status retrieved successfully|Sending to mobile...|Disabled FMR|OK"},
      {HostFailure("down"),
       {TextReply("refused"), TextReply("still on")},
       {enable, disable},
       true,
       "Sending to mobile...|!refused|Sending to mobile...|!still on|OK"},
      {Probe(0),
       {HostFailure("Target gone"), HostFailure("Target gone")},
       {enable, disable},
       false,
       "Sending to mobile...|!|Sending to mobile...|!|!ERROR: MERSH_DLL_ERROR|Target gone"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    host.Clear();
    host.Queue(c.probe);
    for (const HostAnswer& reply : c.replies) host.Queue(reply);
    EXPECT_EQ(radio.SelfTest("98100000"), c.result);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls[0].channel, HostChannel::kTestFunction);
    EXPECT_EQ(host.calls[0].message_id, 0);
    EXPECT_EQ(SentTexts(), c.sent);
    EXPECT_EQ(host.Transcript(), std::string("Sending to mobile...|") + c.log);
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
