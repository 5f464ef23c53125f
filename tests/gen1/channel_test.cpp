// The message channel: slot routing, the steps every send takes, length
// tests, the shared reply buffer, and a send that allocates nothing.
#include <gtest/gtest.h>

#include <array>

#include "gen1/kelbo_fmr_function.h"
#include "heap_meter.h"
#include "recording_host.h"
#include "ui/headless/headless_services.h"

namespace {

using testing_host::HostAnswer;
using testing_host::LogLine;
using testing_host::StatusReply;

// A send of message 0x1234 on `channel` into the shared reply buffer.
SendOutcome Send(CSonvioFunction& f, HostChannel channel, uint16_t length, const void* request,
                 uint16_t expected) {
  // clang-format off
  switch (channel) {
    case HostChannel::kTestFunction: return f.SendTestFunction(0x1234, length, request, expected, ReplyBuffer());
    case HostChannel::kAtCommand: return f.SendAtCommand(0x1234, length, request, ReplyBuffer());
    case HostChannel::kAudioRequest: return f.SendAudioRequest(0x1234, length, request, expected, ReplyBuffer());
    default: return f.SendInfoRequest(0x1234, length, request, ReplyBuffer());
  }
  // clang-format on
}

TEST(Channel, EverySendCarriesItsRequestOnItsSlotIntoAClearedBuffer) {
  for (const HostChannel slot : {HostChannel::kTestFunction, HostChannel::kAtCommand,
                                 HostChannel::kAudioRequest, HostChannel::kInfoRequest}) {
    SCOPED_TRACE(static_cast<int>(slot));
    const bool tests_length =
        slot == HostChannel::kTestFunction || slot == HostChannel::kAudioRequest;
    ui::HeadlessServices services;
    testing_host::RecordingHost host;
    CSonvioFunction channel{host.Context(services)};
    const std::array<uint8_t, 3> request{0xAA, 0xBB, 0xCC};
    ReplyBuffer().fill(0x5A);  // left over from an earlier reply
    HostAnswer answer = StatusReply(6);
    answer.reply[5] = 0x77;
    host.Queue(answer);
    EXPECT_EQ(Send(channel, slot, 3, request.data(), 6), SendOutcome::kCarried);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].channel, slot);
    EXPECT_EQ(host.calls[0].message_id, 0x1234);
    EXPECT_EQ(host.calls[0].request, std::vector<uint8_t>(request.begin(), request.end()));
    EXPECT_EQ(host.error_reads, 1);  // the host's error state is reset first
    EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
    EXPECT_EQ(ReplyBuffer()[5], 0x77);
    for (size_t i = 6; i < ReplyBuffer().size(); ++i) ASSERT_EQ(ReplyBuffer()[i], 0) << i;

    // An empty request with a short reply; a failed call; a slot the host left empty.
    host.Clear();
    host.Queue(StatusReply(1));
    EXPECT_EQ(Send(channel, slot, 0, request.data(), 2),
              tests_length ? SendOutcome::kLengthMismatch : SendOutcome::kCarried);
    EXPECT_TRUE(host.calls.at(0).request_null);
    host.Clear();
    host.Queue(testing_host::HostFailure("link down"));
    EXPECT_EQ(Send(channel, slot, 0, nullptr, 2), SendOutcome::kHostFailed);
    EXPECT_EQ(host.log, (std::vector<LogLine>{{"Sending to mobile...", 1}}));
    host.Clear();
    host.RemoveChannel(slot);
    EXPECT_EQ(Send(channel, slot, 0, nullptr, 2), SendOutcome::kHostFailed);
    EXPECT_TRUE(host.calls.empty());
  }
}

// A host that answers every tune request and records nothing.
class QuietTuneHost : public HostLink {
 public:
  bool Send(HostChannel, uint16_t, uint16_t, const void*, uint16_t& reply_length,
            void* reply) override {
    static_cast<uint8_t*>(reply)[0] = 1;
    reply_length = 12;
    return true;
  }
  std::optional<std::string_view> LastError() override { return "No errors"; }
  void Log(const char*, LogFlag) override {}
};

TEST(Channel, SendingAllocatesNothing) {
  ui::HeadlessServices services;
  QuietTuneHost host;
  CKelboFMRFunction radio(ModuleContext{host, services});
  const size_t before = heap_meter::Allocations();
  const bool tuned = radio.RxTune();
  const size_t after = heap_meter::Allocations();
  EXPECT_TRUE(tuned);
  EXPECT_EQ(after, before);
}

}  // namespace
