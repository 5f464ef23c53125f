// The simulated first-generation handset's request handling: requests of
// the input sent one after another to one simulated radio on the four host
// slots, into reply buffers of exactly the size the host contract promises.
//
// Input: a sequence of requests, each: a byte choosing the slot (modulo 4:
// test function, audio, info, AT command), a byte choosing the message id
// (test functions: an index into the message table, or with the top bit
// the raw byte as id), a byte for the request's length (0xFF: the
// message's own length), then the request bytes.
//
// Checks: the reported reply length fits the buffer, and nothing is written
// past it (the buffer is a heap block of its exact size).
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen1/responder.h"
#include "fmr-sim/radio_model.h"
#include "fuzz_input.h"

namespace {

namespace gen1 = fmrsim::gen1;

void Require(bool condition) {
  if (!condition) std::abort();
}

// What the host promises: room for 200 bytes, and for a longer binary
// reply room for that reply.
size_t BufferSize(int slot, uint16_t id) {
  const gen1::MessageShape* shape =
      slot == gen1::kSlotTestFunction ? gen1::FindTestFunction(id) : nullptr;
  return std::max<size_t>(gen1::kTextReplyCapacity, shape != nullptr ? shape->reply_bytes : 0);
}

// Each slot in the order the input picks it: its send, and the message a
// pick below 0x80 stands for with its own request length (test functions:
// an entry of the message table; AT commands: the pick itself).
using Send = bool (fmrsim::Gen1Responder::*)(uint16_t, const uint8_t*, uint16_t, uint16_t*,
                                             uint8_t*);
struct Slot {
  int number;
  Send send;
  uint16_t id, own_length;
};
constexpr Slot kSlots[] = {
    {gen1::kSlotTestFunction, &fmrsim::Gen1Responder::SendTestFunction, 0, 0},
    {gen1::kSlotAudioRequest, &fmrsim::Gen1Responder::SendAudioRequest, gen1::kAudioOutputId,
     gen1::kAudioOutput.request_bytes},
    {gen1::kSlotInfoRequest, &fmrsim::Gen1Responder::SendInfoRequest, gen1::kInfoTextId,
     gen1::kInfoTextRequestBytes},
    {gen1::kSlotAtCommand, &fmrsim::Gen1Responder::SendAtCommand, 0, 0}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder responder(radio);
  while (!in.empty()) {
    const Slot& slot = kSlots[in.U8() % 4];
    const uint8_t pick = in.U8();
    uint16_t id = pick;
    uint16_t own_length = 0;
    if (slot.number == gen1::kSlotTestFunction && (pick & 0x80) == 0) {
      const gen1::MessageShape& shape = gen1::kTestFunctions[pick % gen1::kTestFunctions.size()];
      id = shape.id;
      own_length = shape.request_bytes;
    } else if (slot.own_length != 0 && (pick & 0x80) == 0) {
      id = slot.id;
      own_length = slot.own_length;
    }
    // The plug-in sends texts of up to 1000 bytes.
    const bool text = slot.number == gen1::kSlotAtCommand;
    size_t length = text ? in.U16() % 1024 : in.U8();
    if (!text && length == 0xFF) length = own_length;
    // The request in a block of its own size, so reading past it shows.
    const std::string_view bytes = in.Bytes(length);
    std::vector<uint8_t> request(bytes.begin(), bytes.end());
    request.resize(length);

    const size_t capacity = BufferSize(slot.number, id);
    const auto reply = std::make_unique<uint8_t[]>(capacity);
    uint16_t reply_length = 0;
    const bool carried =
        (responder.*slot.send)(id, request.empty() ? nullptr : request.data(),
                               static_cast<uint16_t>(request.size()), &reply_length, reply.get());
    if (carried) Require(reply_length <= capacity);
  }
  return 0;
}
