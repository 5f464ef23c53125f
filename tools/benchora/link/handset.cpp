#include "link/handset.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen1/responder.h"
#include "fmr-sim/radio_model.h"

namespace benchora {

// The simulated first-generation radio behind slots 15, 54, 56 and 77.
struct SimulatedHandset::Simulator {
  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder responder{radio};
};

namespace {

// The simulator's fault rules name a slot by its number in this table.
static_assert(kSlotSendAudioRequest == fmrsim::gen1::kSlotAudioRequest);
static_assert(kSlotSendAtCommand == fmrsim::gen1::kSlotAtCommand);
static_assert(kSlotSendInfoRequest == fmrsim::gen1::kSlotInfoRequest);
static_assert(kSlotSendTestFunction == fmrsim::gen1::kSlotTestFunction);

SimulatedHandset* g_active = nullptr;

// Chip-version replies: the second-generation chip names itself with 947.
constexpr char kGen1ChipReply[] = "+CHIPVER: KF1021 rev 3\r\nOK";
constexpr char kGen2ChipReply[] = "+CHIPVER: DR947 rev 2\r\nOK";

const char* GetLastErrorSlot() {
  return g_active != nullptr ? g_active->last_error().c_str() : "No errors";
}

uint8_t AtSlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
               void* reply, uint32_t) {
  return g_active != nullptr &&
         g_active->SendAtCommand(id, static_cast<const uint8_t*>(request), length, reply_length,
                                 static_cast<uint8_t*>(reply));
}

template <size_t kSlot>
uint8_t BinarySlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                   void* reply, uint32_t) {
  return g_active != nullptr &&
         g_active->SendBinary(kSlot, id, static_cast<const uint8_t*>(request), length, reply_length,
                              static_cast<uint8_t*>(reply));
}

// A table entry; only functions of the slots' own signatures fit.
void* SlotAddress(SendSlotFunc f) {
  return reinterpret_cast<void*>(f);
}
void* SlotAddress(GetLastErrorSlotFunc f) {
  return reinterpret_cast<void*>(f);
}

}  // namespace

SimulatedHandset::SimulatedHandset(Chip chip) : chip_(chip), sim_(std::make_unique<Simulator>()) {
  table_[kSlotGetLastError] = SlotAddress(&GetLastErrorSlot);
  table_[kSlotSendAudioRequest] = SlotAddress(&BinarySlot<kSlotSendAudioRequest>);
  table_[kSlotSendAtCommand] = SlotAddress(&AtSlot);
  table_[kSlotSendInfoRequest] = SlotAddress(&BinarySlot<kSlotSendInfoRequest>);
  table_[kSlotSendTestFunction] = SlotAddress(&BinarySlot<kSlotSendTestFunction>);
  g_active = this;
}

SimulatedHandset::~SimulatedHandset() {
  if (g_active == this) g_active = nullptr;
}

std::vector<std::string> SimulatedHandset::UnfiredFaults() const {
  return sim_->responder.faults().Unfired();
}

bool SimulatedHandset::AddFault(const std::string& rule, std::string& error) {
  return sim_->responder.AddFault(rule, error);
}

bool SimulatedHandset::SendAtCommand(uint16_t id, const uint8_t* request, uint16_t length,
                                     uint16_t* reply_length, uint8_t* reply) {
  const std::string_view command(reinterpret_cast<const char*>(request), length);
  if (command == "at@ver:get_chip_ver(0)") return AnswerChipProbe(id, reply_length, reply);
  if (chip_ == Chip::kGen1) {
    const bool ok = sim_->responder.SendAtCommand(id, request, length, reply_length, reply);
    last_error_ = sim_->responder.last_error();
    return ok;
  }
  last_error_ = "AT command not supported by the simulated handset: " + std::string(command);
  return false;
}

bool SimulatedHandset::AnswerChipProbe(uint16_t id, uint16_t* reply_length, uint8_t* reply) {
  std::string text = chip_ == Chip::kGen2 ? kGen2ChipReply : kGen1ChipReply;
  size_t length = text.size();
  // On a first-generation handset the probe meets the faults injected on
  // its slot like every other text command, so a failed probe (which makes
  // the plug-in choose the second-generation panel) can be tried.
  if (chip_ == Chip::kGen1) {
    if (const auto fault = sim_->responder.faults().Take(kSlotSendAtCommand, id)) {
      switch (fault->kind) {
        case fmrsim::Gen1FaultKind::kHostFailure:
          last_error_ = fault->error_text.empty() ? "Simulated failure of the AT command channel"
                                                  : fault->error_text;
          return false;
        case fmrsim::Gen1FaultKind::kBadStatus:
          text = "ERROR";
          length = text.size();
          break;
        case fmrsim::Gen1FaultKind::kWrongLength:
          length = fault->value.value_or(static_cast<uint16_t>(length - 1));
          break;
        case fmrsim::Gen1FaultKind::kValue:
          break;  // a text reply has no fields
      }
    }
  }
  // The whole reply with its terminating zero, or only the shorter length's bytes.
  std::memcpy(reply, text.c_str(), length >= text.size() ? text.size() + 1 : length);
  *reply_length = static_cast<uint16_t>(length);
  last_error_ = "No errors";
  const std::string answered = text.substr(0, std::min(length, text.size()));
  chip_probe_answer_ = answered.substr(0, answered.find_first_of("\r\n"));
  return true;
}

bool SimulatedHandset::SendBinary(size_t slot, uint16_t id, const uint8_t* request, uint16_t length,
                                  uint16_t* reply_length, uint8_t* reply) {
  if (chip_ == Chip::kGen1) {
    fmrsim::Gen1Responder& r = sim_->responder;
    bool ok = false;
    last_error_ = "Slot " + std::to_string(slot) + " does not reach the handset";
    switch (slot) {
      case kSlotSendTestFunction:
        ok = r.SendTestFunction(id, request, length, reply_length, reply);
        if (on_test_function) {
          on_test_function(id, std::span<const uint8_t>(request, request != nullptr ? length : 0),
                           std::span<const uint8_t>(reply, ok ? *reply_length : 0));
        }
        break;
      case kSlotSendAudioRequest:
        ok = r.SendAudioRequest(id, request, length, reply_length, reply);
        break;
      case kSlotSendInfoRequest:
        ok = r.SendInfoRequest(id, request, length, reply_length, reply);
        break;
      default:
        return false;
    }
    last_error_ = r.last_error();
    return ok;
  }
  *reply_length = 0;
  last_error_ =
      "Message " + std::to_string(id) + " on slot " + std::to_string(slot) + " is not simulated";
  return false;
}

}  // namespace benchora
