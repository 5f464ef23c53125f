#include "panel_fixture.h"

#include <algorithm>

#include "common/le_bytes.h"
#include "gen1/fmr_messages.h"

using testing_host::HostAnswer;
using testing_host::HostCall;

namespace {

// The reply length of a test-function message as the command set expects
// it (the self test's probe, message 0, included); 0: not scripted.
size_t ReplyLength(uint16_t id) {
  const auto* row = std::find_if(gen1::kFmrMessages.begin(), gen1::kFmrMessages.end(),
                                 [id](const gen1::FmrMessageRow& m) { return m.id == id; });
  return id == 0 ? 6 : row != gen1::kFmrMessages.end() ? row->reply_size : 0;
}

}  // namespace

HostAnswer ScriptedRadio::Answer(const HostCall& call) {
  if (call.channel == common::HostChannel::kAtCommand) return testing_host::TextReply(at_reply);
  if (call.channel == common::HostChannel::kAudioRequest) return testing_host::StatusReply(4);
  if (call.channel == common::HostChannel::kInfoRequest)
    return testing_host::TextReply("\001FMR 1021");
  const size_t length = ReplyLength(call.message_id);
  if (call.channel != common::HostChannel::kTestFunction || length == 0)
    return testing_host::HostFailure("not scripted");
  const auto it = status.find(call.message_id);
  HostAnswer answer = testing_host::StatusReply(length, it != status.end() ? it->second : 1);
  std::span<uint8_t> reply(answer.reply);
  const std::span<const uint8_t> request(call.request);
  using namespace common::le;
  // clang-format off
  switch (call.message_id) {
    case 0x03: PutU32(reply, 4, frequency_hz); PutU8(reply, 8, 1); PutS16(reply, 16, rssi); PutU16(reply, 18, 0x4000); break;  // receive status
    case 0x04: frequency_hz = GetU32(request, 4); PutU32(reply, 4, frequency_hz); PutS16(reply, 8, rssi); PutU8(reply, 10, 1); break;  // tune
    case 0x08: PutU32(reply, 4, frequency_hz); PutS16(reply, 12, rssi); break;  // RSSI
    case 0x19: PutU8(reply, 2, groups_taken); break;  // RDS groups to send
    case 0x06: PutU16(reply, 2, volume); break;  // receive audio
    case 0x0C:  // register access: a write is kept, a read answers
      if (GetU32(request, 0) == 1) registers[GetU16(request, 4)] = GetU32(request, 8);
      PutU32(reply, 4, registers[GetU16(request, 4)]); break;
    case 0x13: frequency_hz = GetU32(request, 0); break;  // transmit tune
    case 0x18:  // transmit status
      PutU32(reply, 4, frequency_hz); PutS16(reply, 8, 120); PutU32(reply, 12, 108000000); PutU32(reply, 16, 87500000);
      PutU32(reply, 20, 100000); PutU16(reply, 52, 0x7FFF); break;
    case 0x23: PutU32(reply, 32, power_state); break;
    default: break;
  }
  // clang-format on
  return answer;
}

Ids PanelTest::SentIds() const {
  Ids ids;
  for (const HostCall& call : host.calls) ids.push_back(call.message_id);
  return ids;
}

const HostCall* PanelTest::LastCall(uint16_t id) const {
  for (auto it = host.calls.rbegin(); it != host.calls.rend(); ++it)
    if (it->message_id == id) return &*it;
  return nullptr;
}

std::string PanelTest::Run(const std::string& commands) {
  std::string replies;
  for (size_t from = 0, to = 0; from <= commands.size(); from = to + 2) {
    to = std::min(commands.find("; ", from), commands.size());
    replies += (from == 0 ? "" : "; ") + ui::RunAutomation(panel, commands.substr(from, to - from));
  }
  return replies;
}

void PanelTest::PowerOn(bool transmit) {
  panel.Show();
  if (transmit) panel.CBTMode->UserSelect(1);
  panel.BtnFMREnable->UserClick();
  host.Clear();
}
