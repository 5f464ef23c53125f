#include "handset.h"

#include <cstring>
#include <string_view>

namespace benchora {
namespace {

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

template <int kSlot>
uint8_t BinarySlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                   void* reply, uint32_t) {
  return g_active != nullptr &&
         g_active->SendBinary(kSlot, id, static_cast<const uint8_t*>(request), length, reply_length,
                              static_cast<uint8_t*>(reply));
}

template <typename F>
void* SlotAddress(F f) {
  return reinterpret_cast<void*>(f);
}

}  // namespace

SimulatedHandset::SimulatedHandset(Chip chip) : chip_(chip) {
  table_[3] = SlotAddress(&GetLastErrorSlot);
  table_[15] = SlotAddress(&BinarySlot<15>);
  table_[54] = SlotAddress(&AtSlot);
  table_[56] = SlotAddress(&BinarySlot<56>);
  table_[77] = SlotAddress(&BinarySlot<77>);
  g_active = this;
}

SimulatedHandset::~SimulatedHandset() {
  if (g_active == this) g_active = nullptr;
}

bool SimulatedHandset::SendAtCommand(uint16_t, const uint8_t* request, uint16_t length,
                                     uint16_t* reply_length, uint8_t* reply) {
  const std::string_view command(reinterpret_cast<const char*>(request), length);
  if (command == "at@ver:get_chip_ver(0)") {
    const char* text = chip_ == Chip::kGen2 ? kGen2ChipReply : kGen1ChipReply;
    const size_t n = std::strlen(text);
    std::memcpy(reply, text, n + 1);
    *reply_length = static_cast<uint16_t>(n);
    last_error_ = "No errors";
    return true;
  }
  last_error_ = "AT command not supported by the simulated handset: " + std::string(command);
  return false;
}

bool SimulatedHandset::SendBinary(int slot, uint16_t id, const uint8_t*, uint16_t,
                                  uint16_t* reply_length, uint8_t*) {
  *reply_length = 0;
  last_error_ =
      "Message " + std::to_string(id) + " on slot " + std::to_string(slot) + " is not simulated";
  return false;
}

}  // namespace benchora
