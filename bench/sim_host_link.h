// A host link for benchmarks that carries the first-generation panel's
// messages straight to the simulated handset, in process, and drops the
// log lines (a benchmark measures the plug-in, not a host's log window).
#pragma once

#include "common/host_link.h"
#include "fmr-sim/gen1/responder.h"
#include "fmr-sim/radio_model.h"

class SimHostLink final : public common::HostLink {
 public:
  SimHostLink() : responder_(radio_) {}

  bool Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
            const void* request, uint16_t& reply_length, void* reply) override {
    const auto* bytes = static_cast<const uint8_t*>(request);
    auto* out = static_cast<uint8_t*>(reply);
    switch (channel) {
      case common::HostChannel::kTestFunction:
        return responder_.SendTestFunction(message_id, bytes, request_length, &reply_length, out);
      case common::HostChannel::kAtCommand:
        return responder_.SendAtCommand(message_id, bytes, request_length, &reply_length, out);
      case common::HostChannel::kAudioRequest:
        return responder_.SendAudioRequest(message_id, bytes, request_length, &reply_length, out);
      case common::HostChannel::kInfoRequest:
        return responder_.SendInfoRequest(message_id, bytes, request_length, &reply_length, out);
    }
    return false;
  }
  std::optional<std::string_view> LastError() override { return responder_.last_error(); }
  void Log(const char*, common::LogFlag) override {}
  using common::HostLink::Log;

 private:
  fmrsim::RadioModel radio_;
  fmrsim::Gen1Responder responder_;
};
