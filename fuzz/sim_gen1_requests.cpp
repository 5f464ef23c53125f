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
  if (slot == gen1::kSlotTestFunction) {
    if (const gen1::MessageShape* shape = gen1::FindTestFunction(id)) {
      return std::max<size_t>(gen1::kTextReplyCapacity, shape->reply_bytes);
    }
  }
  return gen1::kTextReplyCapacity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  fmrsim::RadioModel radio;
  fmrsim::Gen1Responder responder(radio);
  while (!in.empty()) {
    static constexpr int kSlots[] = {gen1::kSlotTestFunction, gen1::kSlotAudioRequest,
                                     gen1::kSlotInfoRequest, gen1::kSlotAtCommand};
    const int slot = kSlots[in.U8() % 4];
    const uint8_t pick = in.U8();
    uint16_t id = pick;
    uint16_t own_length = 0;
    if (slot == gen1::kSlotTestFunction && (pick & 0x80) == 0) {
      const gen1::MessageShape& shape = gen1::kTestFunctions[pick % gen1::kTestFunctions.size()];
      id = shape.id;
      own_length = shape.request_bytes;
    } else if (slot == gen1::kSlotAudioRequest && (pick & 0x80) == 0) {
      id = gen1::kAudioOutputId;
      own_length = gen1::kAudioOutput.request_bytes;
    } else if (slot == gen1::kSlotInfoRequest && (pick & 0x80) == 0) {
      id = gen1::kInfoTextId;
      own_length = gen1::kInfoTextRequestBytes;
    }
    size_t length = 0;
    if (slot == gen1::kSlotAtCommand) {
      length = in.U16() % 1024;  // the plug-in sends texts of up to 1000 bytes
    } else {
      const uint8_t length_pick = in.U8();
      length = length_pick == 0xFF ? own_length : length_pick;
    }
    // The request in a block of its own size, so reading past it shows.
    const std::string_view bytes = in.Bytes(length);
    std::vector<uint8_t> request(bytes.begin(), bytes.end());
    request.resize(length);

    const size_t capacity = BufferSize(slot, id);
    const auto reply = std::make_unique<uint8_t[]>(capacity);
    uint16_t reply_length = 0;
    const uint8_t* request_data = request.empty() ? nullptr : request.data();
    const auto request_length = static_cast<uint16_t>(request.size());
    bool carried = false;
    switch (slot) {
      case gen1::kSlotTestFunction:
        carried = responder.SendTestFunction(id, request_data, request_length, &reply_length,
                                             reply.get());
        break;
      case gen1::kSlotAudioRequest:
        carried = responder.SendAudioRequest(id, request_data, request_length, &reply_length,
                                             reply.get());
        break;
      case gen1::kSlotInfoRequest:
        carried =
            responder.SendInfoRequest(id, request_data, request_length, &reply_length, reply.get());
        break;
      default:
        carried =
            responder.SendAtCommand(id, request_data, request_length, &reply_length, reply.get());
        break;
    }
    if (carried) Require(reply_length <= capacity);
  }
  return 0;
}
