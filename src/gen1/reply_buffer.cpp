#include "gen1/reply_buffer.h"

#include <cstring>

#include "common/le_bytes.h"

namespace gen1 {

ReplyBytes& ReplyBuffer() {
  static ReplyBytes buffer{};
  return buffer;
}

uint16_t ReplyStatus(const ReplyBytes& reply) {
  return common::le::GetU16(reply, 0);
}

std::string ReplyText(const ReplyBytes& reply, size_t offset) {
  if (offset >= reply.size()) return {};
  const char* text = reinterpret_cast<const char*>(reply.data() + offset);
  return std::string(text, strnlen(text, reply.size() - offset));
}

}  // namespace gen1
