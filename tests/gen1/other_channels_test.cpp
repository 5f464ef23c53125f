// The operations on the AT, audio and info channels: PMU register, audio
// destination, version text and the self test. Logs are compared as
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
      if (call.channel == common::HostChannel::kAtCommand) texts.push_back(call.Text());
    }
    return texts;
  }
  ui::HeadlessServices services;
  RecordingHost host;
  gen1::CKelboFMRFunction radio{host.Context(services)};
};

// The PMU register read, the audio destination and the version text with
// each kind of answer: what they return, the one request sent, the log.
TEST_F(OtherChannels, EachOperationSendsItsRequestAndReadsItsAnswer) {
  // Each operation with its slot, message id and request.
  using R = gen1::CKelboFMRFunction;
  struct Op {
    std::string (*run)(R&);
    common::HostChannel channel;
    uint16_t id;
    std::string request;
  };
  // clang-format off
  const Op pmu{[](R& r) { uint32_t value = 5; const bool result = r.ReadPmuRegister(value); return std::to_string(result) + " " + std::to_string(value); },
               common::HostChannel::kAtCommand, 0, "at@pmu:get_register(28)"};
  const Op audio{[](R& r) { return std::to_string(r.SetAudioOutput(254)); }, common::HostChannel::kAudioRequest, 4,
                 std::string("\1\0\0\0\xFE", 5) + std::string(19, '\0')};
  const Op version{[](R& r) { return r.ReadVersionText(0x32, 7); }, common::HostChannel::kInfoRequest, 8, "\x07\x32"};
  const struct { const Op& op; HostAnswer answer; const char* result; std::string log; } cases[] = {
      {pmu, TextReply("OK\r\n0x00400000\r\n"), "1 4194304", "Read PMU register|Sending to mobile...|OK"},
      {pmu, TextReply("ERROR: 17 bad register"), "1 5",
       "Read PMU register|Sending to mobile...|Error while reading PMU register from the Target|error code : ERROR:|OK"},
      {pmu, HostFailure("No errors"), "0 5", "Read PMU register|Sending to mobile...|"
       "!ERROR: MERSH_DLL_ERROR|!Error! Probably rejected before any communication was made"},
      {audio, StatusReply(4), "1", "Sending to mobile...|OK"},
      {audio, StatusReply(4, 0), "0", "Sending to mobile...|!ERROR: FMR_STATUS_ERROR"},
      {audio, StatusReply(2), "0", "Sending to mobile...|!ERROR: OUTPUT_SIZE_NOT_MATCH"},
      {version, TextReply("\001FMR 358"), "FMR 358", "Sending to mobile..."},
      {version, TextReply("\002FMR 358"), "?", "Sending to mobile..."},
      {version, HostFailure("down"), "?", "Sending to mobile..."},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    host.Clear();
    host.Queue(c.answer);
    EXPECT_EQ(c.op.run(radio), c.result);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].channel, c.op.channel);
    EXPECT_EQ(host.calls[0].message_id, c.op.id);
    EXPECT_EQ(host.calls[0].Text(), c.op.request);
    EXPECT_EQ(host.Transcript(), c.log);
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
      // clang-format off
      {Probe(1), {TextReply("status retrieved successfully")}, {status}, true,
       "FMR Selftest at frequency: 98100000|Sending to mobile...|status retrieved successfully|OK"},
      {Probe(1), {TextReply("no status")}, {status}, true,
       "FMR Selftest at frequency: 98100000|Sending to mobile...|!no status|OK"},
      {Probe(0), {TextReply("Enabled FMR"), TextReply("status retrieved successfully"), TextReply("Disabled FMR")},
       {enable, status, disable}, true, "Sending to mobile...|Enabled FMR|FMR Selftest at frequency: 98100000|"
       "Sending to mobile...|status retrieved successfully|Sending to mobile...|Disabled FMR|OK"},
      {HostFailure("down"), {TextReply("refused"), TextReply("still on")}, {enable, disable}, true,
       "Sending to mobile...|!refused|Sending to mobile...|!still on|OK"},
      {Probe(0), {HostFailure("Target gone"), HostFailure("Target gone")}, {enable, disable}, false,
       "Sending to mobile...|!|Sending to mobile...|!|!ERROR: MERSH_DLL_ERROR|Target gone"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    host.Clear();
    host.Queue(c.probe);
    for (const HostAnswer& reply : c.replies) host.Queue(reply);
    EXPECT_EQ(radio.SelfTest("98100000"), c.result);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_EQ(host.calls[0].channel, common::HostChannel::kTestFunction);
    EXPECT_EQ(host.calls[0].message_id, 0);
    EXPECT_EQ(SentTexts(), c.sent);
    EXPECT_EQ(host.Transcript(), std::string("Sending to mobile...|") + c.log);
  }
}

TEST_F(OtherChannels, SelfTestCommandStaysWithinItsBuffer) {
  host.Queue(Probe(1));
  host.Queue(TextReply("ok"));
  radio.SelfTest(std::string(5000, '9'));
  // 999 characters: 1000 with the terminating zero.
  EXPECT_EQ(SentTexts().at(0),
            "at@quelm_fmr_internal_get_status_test_func(" + std::string(955, '9') + ")");
}

}  // namespace
