// The message channel: slot routing, the steps every send takes, length
// tests, the shared reply buffer and the host-error report.
#include <gtest/gtest.h>

#include <array>

#include "allocation_counter.h"
#include "gen1/kelbo_fmr_function.h"
#include "host/exports.h"
#include "host/host_state.h"
#include "recording_host.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

using testing_host::HostAnswer;
using testing_host::HostFailure;
using testing_host::LogLine;
using testing_host::RecordingHost;
using testing_host::StatusReply;

namespace {

struct SendCase {
  const char* name;
  size_t slot;
  bool tests_length;
  uint8_t (*send)(CSonvioFunction&, uint16_t id, uint16_t length, const void* request,
                  uint16_t expected);
};

const SendCase kSendCases[] = {
    {"SendTestFunction", kSlotSendTestFunction, true,
     [](CSonvioFunction& f, uint16_t id, uint16_t n, const void* r, uint16_t e) {
       return f.SendTestFunction(id, n, r, e, ReplyBuffer());
     }},
    {"SendAtCommand", kSlotSendAtCommand, false,
     [](CSonvioFunction& f, uint16_t id, uint16_t n, const void* r, uint16_t) {
       return f.SendAtCommand(id, n, r, ReplyBuffer());
     }},
    {"SendAudioRequest", kSlotSendAudioRequest, true,
     [](CSonvioFunction& f, uint16_t id, uint16_t n, const void* r, uint16_t e) {
       return f.SendAudioRequest(id, n, r, e, ReplyBuffer());
     }},
    {"SendInfoRequest", kSlotSendInfoRequest, false,
     [](CSonvioFunction& f, uint16_t id, uint16_t n, const void* r, uint16_t) {
       return f.SendInfoRequest(id, n, r, ReplyBuffer());
     }},
};

void PrintTo(const SendCase& c, std::ostream* out) {
  *out << c.name;
}

class SendOperation : public ::testing::TestWithParam<SendCase> {
 protected:
  RecordingHost host;
  CSonvioFunction channel;
};

TEST_P(SendOperation, CarriesTheRequestOnItsSlot) {
  const SendCase& c = GetParam();
  const std::array<uint8_t, 3> request{0xAA, 0xBB, 0xCC};
  ReplyBuffer().fill(0x5A);  // left over from an earlier reply
  HostAnswer answer = StatusReply(6);
  answer.reply[5] = 0x77;
  host.Queue(answer);

  EXPECT_EQ(c.send(channel, 0x1234, 3, request.data(), 6), kSendCarried);

  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, c.slot);
  EXPECT_EQ(host.calls[0].message_id, 0x1234);
  EXPECT_EQ(host.calls[0].request, std::vector<uint8_t>(request.begin(), request.end()));
  EXPECT_EQ(host.calls[0].com_handle, RecordingHost::kComHandle);
  EXPECT_EQ(host.error_reads, 1);  // the host's error state is reset first
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
  // The buffer was cleared before the host wrote its six bytes.
  EXPECT_EQ(ReplyBuffer()[5], 0x77);
  for (size_t i = 6; i < ReplyBuffer().size(); ++i) ASSERT_EQ(ReplyBuffer()[i], 0) << i;
}

TEST_P(SendOperation, EmptyRequestGoesWithNullPointer) {
  const uint8_t unused = 1;
  host.Queue(StatusReply(2));
  EXPECT_EQ(GetParam().send(channel, 2, 0, &unused, 2), kSendCarried);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_TRUE(host.calls[0].request_null);
}

TEST_P(SendOperation, ReplyLengthIsTestedOnlyWhereStated) {
  HostAnswer one_byte = StatusReply(1);  // just the status byte, one short
  host.Queue(one_byte);
  const uint8_t expected = GetParam().tests_length ? kSendLengthMismatch : kSendCarried;
  EXPECT_EQ(GetParam().send(channel, 1, 0, nullptr, 2), expected);
}

TEST_P(SendOperation, FailedHostCallStillLogsTheSendLine) {
  host.Queue(HostFailure("link down"));
  EXPECT_EQ(GetParam().send(channel, 1, 0, nullptr, 2), kSendHostFailed);
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
}

TEST_P(SendOperation, EmptyHostSlotCountsAsFailedCall) {
  host.RemoveSlot(GetParam().slot);
  EXPECT_EQ(GetParam().send(channel, 1, 0, nullptr, 2), kSendHostFailed);
  EXPECT_TRUE(host.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Channel, SendOperation, ::testing::ValuesIn(kSendCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReplyBuffer, HoldsTheLongestReplyWhole) {
  RecordingHost host;
  CSonvioFunction channel;
  HostAnswer answer = StatusReply(252);
  for (size_t i = 2; i < 252; ++i) answer.reply[i] = static_cast<uint8_t>(i);
  host.Queue(answer);
  ASSERT_EQ(channel.SendTestFunction(0x1A, 0, nullptr, 252, ReplyBuffer()), kSendCarried);
  ASSERT_GE(ReplyBuffer().size(), 252u);
  EXPECT_TRUE(std::equal(answer.reply.begin(), answer.reply.end(), ReplyBuffer().begin()));
}

TEST(ReportHostError, HostTextIsLoggedAsOrdinaryLine) {
  RecordingHost host;
  CSonvioFunction channel;
  host.Queue(HostFailure("Phone not connected"));
  channel.SendTestFunction(1, 0, nullptr, 2, ReplyBuffer());
  host.log.clear();
  channel.ReportHostError();
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Phone not connected", 1}}));
}

TEST(ReportHostError, NoErrorsMeansRejectedBeforeCommunication) {
  RecordingHost host;
  CSonvioFunction channel;
  host.Queue(HostFailure("No errors"));
  channel.SendTestFunction(1, 0, nullptr, 2, ReplyBuffer());
  host.log.clear();
  channel.ReportHostError();
  EXPECT_EQ(
      host.log,
      (std::vector<LogLine>{{"Error! Probably rejected before any communication was made", 0}}));
}

TEST(ReportHostError, WithoutHostErrorFunctionShowsSystemError) {
  RecordingHost host;
  host.RemoveSlot(kSlotGetLastError);
  auto& services = dynamic_cast<ui::HeadlessServices&>(OwnApplication().services());
  const size_t shown = services.all_messages().size();
  CSonvioFunction().ReportHostError();
  ASSERT_EQ(services.all_messages().size(), shown + 1);
  const ui::ShownMessage& box = services.all_messages().back();
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.icon, ui::MessageIcon::kError);
  EXPECT_FALSE(box.text.empty());
  EXPECT_TRUE(host.log.empty());
  services.TakeMessages();
}

// A host slot that answers every tune request, recording nothing.
uint8_t QuietTuneSlot(uint16_t, uint16_t, const void*, uint16_t* reply_length, void* reply,
                      uint32_t) {
  static_cast<uint8_t*>(reply)[0] = 1;
  *reply_length = 12;
  return 1;
}
void QuietLog(const char*, uint8_t) {}

TEST(Channel, SendingAllocatesNothing) {
  std::array<void*, kHostSlotCount> table{};
  table[kSlotSendTestFunction] = reinterpret_cast<void*>(&QuietTuneSlot);
  SetFuncInterface(table.data(), static_cast<int32_t>(kHostTableBytes));
  SetShowLineFunc(&QuietLog);
  CKelboFMRFunction radio;

  const size_t before = AllocationCount();
  const bool tuned = radio.RxTune();
  const size_t after = AllocationCount();

  SetShowLineFunc(nullptr);
  table.fill(nullptr);
  SetFuncInterface(table.data(), static_cast<int32_t>(kHostTableBytes));
  EXPECT_TRUE(tuned);
  EXPECT_EQ(after, before);
}

}  // namespace
