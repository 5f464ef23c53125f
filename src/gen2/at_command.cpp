#include "gen2/at_command.h"

#include <charconv>

namespace MANAGED_IF {

AtCommand::AtCommand(std::string& text, std::string_view name) : text_(text) {
  text_.assign(name);
  text_ += "()";
}

template <typename T>
AtCommand& AtCommand::Append(T value) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text_.pop_back();  // the closing parenthesis, back after the value
  if (!first_) text_ += ',';
  text_.append(digits, end);
  text_ += ')';
  first_ = false;
  return *this;
}

AtCommand& AtCommand::u8(uint8_t value) {
  return Append(static_cast<unsigned>(value));
}

AtCommand& AtCommand::u16(uint16_t value) {
  return Append(static_cast<unsigned>(value));
}

AtCommand& AtCommand::s16(int16_t value) {
  return Append(static_cast<int>(value));
}

AtCommand& AtCommand::u32(uint32_t value) {
  return Append(value);
}

AtCommand& AtCommand::s32(int32_t value) {
  return Append(value);
}

AtCommand& AtCommand::Value(AtType type, int64_t value) {
  switch (type) {
    case AtType::kU8:
      return u8(static_cast<uint8_t>(value));
    case AtType::kU16:
      return u16(static_cast<uint16_t>(value));
    case AtType::kS16:
      return s16(static_cast<int16_t>(value));
    case AtType::kU32:
      return u32(static_cast<uint32_t>(value));
    case AtType::kS32:
      return s32(static_cast<int32_t>(value));
  }
  return *this;
}

}  // namespace MANAGED_IF
