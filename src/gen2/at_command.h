// Builds the text of one AT command: the command name, then the arguments in
// decimal, separated by ",", between parentheses. Each argument is written as
// the value of its AT type, so a u32 computed as -1 goes out as 4294967295.
// The text is written into a buffer the caller keeps, so a command set that
// sends many commands builds them without allocating.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace MANAGED_IF {

// The value types of AT arguments and reply fields.
enum class AtType : uint8_t { kU8, kU16, kS16, kU32, kS32 };

class AtCommand {
 public:
  // Writes `name()` into `text` (its old contents go); `name` is the full
  // command name, "at@audapp:fmrx_set_band". Arguments go inside the
  // parentheses as they are added.
  AtCommand(std::string& text, std::string_view name);

  AtCommand& u8(uint8_t value);
  AtCommand& u16(uint16_t value);
  AtCommand& s16(int16_t value);
  AtCommand& u32(uint32_t value);
  AtCommand& s32(int32_t value);
  // `value` converted to `type` (as a C++ conversion to that type would)
  // and written as above.
  AtCommand& Value(AtType type, int64_t value);

  // "name(a,b,c)": nothing after the closing parenthesis.
  const std::string& Text() const { return text_; }

 private:
  template <typename T>
  AtCommand& Append(T value);

  std::string& text_;
  bool first_ = true;
};

}  // namespace MANAGED_IF
