// The message channel: slot routing, the steps every send takes, length
// tests, the shared reply buffer, and a send that allocates nothing.
#include <gtest/gtest.h>

#include <array>

#include "gen1/kelbo_fmr_function.h"
#include "heap_meter.h"
#include "null_host.h"
#include "recording_host.h"
#include "ui/headless/headless_services.h"

namespace {

using testing_host::HostAnswer;
using testing_host::LogLine;
using testing_host::StatusReply;

// A send of message 0x1234 on `channel` into the shared reply buffer.
gen1::SendOutcome Send(gen1::CSonvioFunction& f, common::HostChannel channel, uint16_t length,
                       const void* request, uint16_t expected) {
  // clang-format off
  switch (channel) {
    case common::HostChannel::kTestFunction: return f.SendTestFunction(0x1234, length, request, expected, gen1::ReplyBuffer());
    case common::HostChannel::kAtCommand: return f.SendAtCommand(0x1234, length, request, gen1::ReplyBuffer());
    case common::HostChannel::kAudioRequest: return f.SendAudioRequest(0x1234, length, request, expected, gen1::ReplyBuffer());
    default: return f.SendInfoRequest(0x1234, length, request, gen1::ReplyBuffer());
  }
  // clang-format on
}

TEST(Channel, EverySendCarriesItsRequestOnItsSlotIntoAClearedBuffer) {
  for (const common::HostChannel slot :
       {common::HostChannel::kTestFunction, common::HostChannel::kAtCommand,
        common::HostChannel::kAudioRequest, common::HostChannel::kInfoRequest}) {
    SCOPED_TRACE(static_cast<int>(slot));
    const bool tests_length =
        slot == common::HostChannel::kTestFunction || slot == common::HostChannel::kAudioRequest;
    ui::HeadlessServices services;
    testing_host::RecordingHost host;
    gen1::CSonvioFunction channel{host.Context(services)};
    const std::array<uint8_t, 3> request{0xAA, 0xBB, 0xCC};
    gen1::ReplyBuffer().fill(0x5A);  // left over from an earlier reply
    HostAnswer answer = StatusReply(6);
    answer.reply[5] = 0x77;
    host.Queue(answer);
    EXPECT_EQ(Send(channel, slot, 3, request.data(), 6), gen1::SendOutcome::kCarried);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].channel, slot);
    EXPECT_EQ(host.calls[0].message_id, 0x1234);
    EXPECT_EQ(host.calls[0].request, std::vector<uint8_t>(request.begin(), request.end()));
    EXPECT_EQ(host.error_reads, 1);  // the host's error state is reset first
    EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
    EXPECT_EQ(gen1::ReplyBuffer()[5], 0x77);
    for (size_t i = 6; i < gen1::ReplyBuffer().size(); ++i)
      ASSERT_EQ(gen1::ReplyBuffer()[i], 0) << i;

    // An empty request with a short reply; a failed call; a slot the host left empty.
    host.Clear();
    host.Queue(StatusReply(1));
    EXPECT_EQ(Send(channel, slot, 0, request.data(), 2),
              tests_length ? gen1::SendOutcome::kLengthMismatch : gen1::SendOutcome::kCarried);
    EXPECT_TRUE(host.calls.at(0).request_null);
    host.Clear();
    host.Queue(testing_host::HostFailure("link down"));
    EXPECT_EQ(Send(channel, slot, 0, nullptr, 2), gen1::SendOutcome::kHostFailed);
    EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
    host.Clear();
    host.RemoveChannel(slot);
    EXPECT_EQ(Send(channel, slot, 0, nullptr, 2), gen1::SendOutcome::kHostFailed);
    EXPECT_TRUE(host.calls.empty());
  }
}

// A host that answers every tune request and records nothing.
class QuietTuneHost : public testing_host::NullHost {
 public:
  bool Send(common::HostChannel, uint16_t, uint16_t, const void*, uint16_t& reply_length,
            void* reply) override {
    static_cast<uint8_t*>(reply)[0] = 1;
    reply_length = 12;
    return true;
  }
};

TEST(Channel, SendingAllocatesNothing) {
  ui::HeadlessServices services;
  QuietTuneHost host;
  gen1::CKelboFMRFunction radio(common::ModuleContext{host, services});
  const size_t before = heap_meter::Allocations();
  const bool tuned = radio.RxTune();
  const size_t after = heap_meter::Allocations();
  EXPECT_TRUE(tuned);
  EXPECT_EQ(after, before);
}

}  // namespace
