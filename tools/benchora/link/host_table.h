// The host function table benchora hands to the plug-in: how many slots it
// has, which slots the plug-in calls, and the signatures of those slots.
#pragma once

#include <cstddef>
#include <cstdint>

namespace benchora {

inline constexpr size_t kHostSlotCount = 191;

inline constexpr size_t kSlotGetLastError = 3;
inline constexpr size_t kSlotSendAudioRequest = 15;
inline constexpr size_t kSlotSendAtCommand = 54;
inline constexpr size_t kSlotSendInfoRequest = 56;
inline constexpr size_t kSlotSendTestFunction = 77;

// Every send slot: message id, request length, request, reply length set by
// the host, reply buffer, communication handle. Non-zero when the exchange
// was carried.
using SendSlotFunc = uint8_t (*)(uint16_t message_id, uint16_t request_length, const void* request,
                                 uint16_t* reply_length, void* reply, uint32_t com_handle);
// The last-error slot: the text of the last failure.
using GetLastErrorSlotFunc = const char* (*)();

}  // namespace benchora
