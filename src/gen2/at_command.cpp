#include "gen2/at_command.h"

namespace MANAGED_IF {

AtCommand::AtCommand(std::string_view name) : name_(name) {}

AtCommand& AtCommand::u8(uint8_t value) {
  Append(std::to_string(static_cast<unsigned>(value)));
  return *this;
}

AtCommand& AtCommand::u16(uint16_t value) {
  Append(std::to_string(static_cast<unsigned>(value)));
  return *this;
}

AtCommand& AtCommand::s16(int16_t value) {
  Append(std::to_string(static_cast<int>(value)));
  return *this;
}

AtCommand& AtCommand::u32(uint32_t value) {
  Append(std::to_string(value));
  return *this;
}

AtCommand& AtCommand::s32(int32_t value) {
  Append(std::to_string(value));
  return *this;
}

void AtCommand::Append(std::string_view number) {
  if (!first_) arguments_ += ',';
  arguments_ += number;
  first_ = false;
}

std::string AtCommand::Text() const {
  return name_ + "(" + arguments_ + ")";
}

}  // namespace MANAGED_IF
