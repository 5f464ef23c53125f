// The host's side of the boundary: its callback types and the slots of its
// function table that the library calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace host {

// Every host send: message id, request length, request (null when the
// length is 0), reply length set by the host, reply buffer, communication
// handle. Non-zero when the host carried the exchange.
using HostSendFunc = uint8_t (*)(uint16_t message_id, uint16_t request_length, const void* request,
                                 uint16_t* reply_length, void* reply, uint32_t com_handle);
using HostGetLastErrorFunc = const char* (*)();
using ShowLineFunc = void (*)(const char* text, uint8_t flag);

// The table holds pointer-sized slots; on the 32-bit target 191 slots are
// exactly 764 bytes.
inline constexpr size_t kHostSlotCount = 191;
inline constexpr size_t kHostTableBytes = kHostSlotCount * sizeof(void*);

inline constexpr size_t kSlotGetLastError = 3;
inline constexpr size_t kSlotSendAudioRequest = 15;
inline constexpr size_t kSlotSendAtCommand = 54;
inline constexpr size_t kSlotSendInfoRequest = 56;
inline constexpr size_t kSlotSendTestFunction = 77;

}  // namespace host
