// First-generation replies: operations of the command set answered by a
// host that writes the input's bytes and reports the input's length, each
// followed by showing the parameter block on a headless panel.
//
// Input: up to four operations, each one byte (modulo the table below),
// and for every host call the operation makes, one answer: a flags byte
// (bit 0: the host call fails; bit 1: a reply length of the input's own
// instead of the message's; bit 2: status word 1), then the reply length
// when bit 1 is set, then the reply bytes.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "fmr-sim/gen1/messages.h"
#include "fuzz_input.h"
#include "gen1_panel/kelbo_fmr_gui.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

namespace {

// Operations per input: a few give every sequence of replies a chance, and
// keep an input cheap.
constexpr int kMostOperations = 4;

// Answers every send from the input; fails once the input is used up.
class InputHost : public common::HostLink {
 public:
  void set_input(fuzz::FuzzInput* in) { in_ = in; }

  bool Send(common::HostChannel channel, uint16_t message_id, uint16_t, const void*,
            uint16_t& reply_length, void* reply) override {
    if (in_ == nullptr || in_->empty()) return false;
    const uint8_t flags = in_->U8();
    if ((flags & 1) != 0) return false;
    uint16_t length = ExpectedLength(channel, message_id);
    if ((flags & 2) != 0) length = in_->U16();
    // The host writes what it reports, as far as the buffer reaches.
    const std::string_view bytes = in_->Bytes(std::min<size_t>(length, gen1::kReplyBufferSize));
    std::memcpy(reply, bytes.data(), bytes.size());
    if ((flags & 4) != 0 && length >= 2) std::memcpy(reply, "\x01", 2);  // status word 1
    reply_length = length;
    return true;
  }
  std::optional<std::string_view> LastError() override { return "No errors"; }
  void Log(const char*, common::LogFlag) override {}
  using common::HostLink::Log;

 private:
  // The length a well-behaved radio answers with; texts take a byte of
  // the input for their length.
  uint16_t ExpectedLength(common::HostChannel channel, uint16_t message_id) {
    const fmrsim::gen1::MessageShape* shape = fmrsim::gen1::FindTestFunction(message_id);
    if (channel == common::HostChannel::kTestFunction) return shape ? shape->reply_bytes : 2;
    if (channel == common::HostChannel::kAudioRequest)
      return fmrsim::gen1::kAudioOutput.reply_bytes;
    return in_->U8();
  }

  fuzz::FuzzInput* in_ = nullptr;
};

using F = gen1::CKelboFMRFunction;
using Operation = void (*)(F&);

template <bool (F::*kMessage)()>
void Message(F& radio) {
  static_cast<void>((radio.*kMessage)());
}

// clang-format off
constexpr Operation kOperations[] = {
    Message<&F::RxPowerOn>, Message<&F::RxPowerOff>, Message<&F::ReadRxStatus>, Message<&F::RxTune>,
    Message<&F::WriteRxAudio>, Message<&F::ReadRxAudio>, Message<&F::AccessRds>, Message<&F::AccessRssi>,
    Message<&F::AccessRegister>, Message<&F::WriteGain>, Message<&F::ReadGain>, Message<&F::SetAntenna>,
    Message<&F::SetTestTone>, Message<&F::TxPowerOn>, Message<&F::TxPowerOff>, Message<&F::TxTune>,
    Message<&F::TxScan>, Message<&F::WriteTxAudio>, Message<&F::WriteTxRds>, Message<&F::SetChirp>,
    Message<&F::ReadTxStatus>, Message<&F::ReadRdsBlocks>, Message<&F::ReadTxRds>, Message<&F::ReadPowerState>,
    Message<&F::ReadRadioInfo>,
    [](F& radio) { uint8_t accepted = 0; static_cast<void>(radio.SendRdsGroups(accepted)); },
    [](F& radio) { uint32_t value = 0; static_cast<void>(radio.ReadPmuRegister(value)); },
    [](F& radio) { static_cast<void>(radio.SetAudioOutput(2)); },
    [](F& radio) { static_cast<void>(radio.ReadVersionText(0x32, 0)); },
    [](F& radio) { static_cast<void>(radio.SelfTest("98100000")); }};
// clang-format on

// One panel for the whole run (building one takes far longer than an
// input); each input starts from a fresh parameter block.
struct Panel {
  ui::HeadlessServices services;
  ui::Application app{services};
  InputHost host;
  gen1_panel::TKelboFMRGUI panel{app, common::ModuleContext{host, services}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Panel p;
  fuzz::FuzzInput in(data, size);
  p.host.set_input(&in);
  p.panel.radio().parameters() = gen1::FmrParameters{};
  for (int i = 0; i < kMostOperations && !in.empty(); ++i) {
    kOperations[in.U8() % std::size(kOperations)](p.panel.radio());
    p.panel.ShowParameters();
  }
  static_cast<void>(p.services.TakeMessages());
  p.host.set_input(nullptr);
  return 0;
}
