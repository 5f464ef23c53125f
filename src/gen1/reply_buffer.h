// The module-wide buffer every first-generation reply is written into.
//
// The host is told no buffer size, and the longest reply the radio sends is
// 252 bytes (the RDS block read-out; the transmit RDS record is 204), so a
// 200-byte buffer would let the host write past its end. The buffer is
// therefore 256 bytes: room for the longest reply with a margin. Each send
// clears all of it (which includes the 200 bytes a send must clear), so no
// byte of an earlier, longer reply survives into the next one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace gen1 {

inline constexpr size_t kReplyBufferSize = 256;

// A reply buffer as the send operations accept it: the type carries the
// size, so no caller can hand the host a smaller one.
using ReplyBytes = std::array<uint8_t, kReplyBufferSize>;

// The one buffer shared by all first-generation operations (one request is
// outstanding at a time: every send blocks the user-interface thread).
ReplyBytes& ReplyBuffer();

// The reply's status word (bytes 0 and 1, little-endian); 1 means the radio
// carried out the request.
uint16_t ReplyStatus(const ReplyBytes& reply);

// A text reply: the characters from byte `offset` up to the first zero byte
// or the end of the buffer.
std::string ReplyText(const ReplyBytes& reply, size_t offset = 0);

}  // namespace gen1
