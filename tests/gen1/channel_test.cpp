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

namespace {

using testing_host::HostAnswer;
using testing_host::LogLine;
using testing_host::RecordingHost;
using testing_host::StatusReply;

struct SendCase {
  const char* name;
  size_t slot;
  bool tests_length;
  uint8_t (*send)(CSonvioFunction&, uint16_t length, const void* request, uint16_t expected);
};

const SendCase kSendCases[] = {
    {"SendTestFunction", kSlotSendTestFunction, true,
     [](CSonvioFunction& f, uint16_t n, const void* r, uint16_t e) {
       return f.SendTestFunction(0x1234, n, r, e, ReplyBuffer());
     }},
    {"SendAtCommand", kSlotSendAtCommand, false,
     [](CSonvioFunction& f, uint16_t n, const void* r, uint16_t) {
       return f.SendAtCommand(0x1234, n, r, ReplyBuffer());
     }},
    {"SendAudioRequest", kSlotSendAudioRequest, true,
     [](CSonvioFunction& f, uint16_t n, const void* r, uint16_t e) {
       return f.SendAudioRequest(0x1234, n, r, e, ReplyBuffer());
     }},
    {"SendInfoRequest", kSlotSendInfoRequest, false,
     [](CSonvioFunction& f, uint16_t n, const void* r, uint16_t) {
       return f.SendInfoRequest(0x1234, n, r, ReplyBuffer());
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

TEST_P(SendOperation, CarriesTheRequestOnItsSlotIntoAClearedBuffer) {
  const SendCase& c = GetParam();
  const std::array<uint8_t, 3> request{0xAA, 0xBB, 0xCC};
  ReplyBuffer().fill(0x5A);  // left over from an earlier reply
  HostAnswer answer = StatusReply(6);
  answer.reply[5] = 0x77;
  host.Queue(answer);

  EXPECT_EQ(c.send(channel, 3, request.data(), 6), kSendCarried);

  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, c.slot);
  EXPECT_EQ(host.calls[0].message_id, 0x1234);
  EXPECT_EQ(host.calls[0].request, std::vector<uint8_t>(request.begin(), request.end()));
  EXPECT_EQ(host.calls[0].com_handle, RecordingHost::kComHandle);
  EXPECT_EQ(host.error_reads, 1);  // the host's error state is reset first
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
  EXPECT_EQ(ReplyBuffer()[5], 0x77);
  for (size_t i = 6; i < ReplyBuffer().size(); ++i) ASSERT_EQ(ReplyBuffer()[i], 0) << i;
}

TEST_P(SendOperation, EmptyRequestsShortRepliesFailedCallsAndEmptySlots) {
  const SendCase& c = GetParam();
  const uint8_t unused = 1;
  host.Queue(StatusReply(1));  // one byte short of the two expected
  EXPECT_EQ(c.send(channel, 0, &unused, 2), c.tests_length ? kSendLengthMismatch : kSendCarried);
  EXPECT_TRUE(host.calls.at(0).request_null);

  host.Clear();
  host.Queue(testing_host::HostFailure("link down"));
  EXPECT_EQ(c.send(channel, 0, nullptr, 2), kSendHostFailed);
  EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));

  host.Clear();
  host.RemoveSlot(c.slot);
  EXPECT_EQ(c.send(channel, 0, nullptr, 2), kSendHostFailed);
  EXPECT_TRUE(host.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Channel, SendOperation, ::testing::ValuesIn(kSendCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Channel, WithoutHostErrorFunctionAFailureShowsTheSystemError) {
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
