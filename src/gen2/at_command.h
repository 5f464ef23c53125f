// Builds the text of one AT command: the command name, then the arguments in
// decimal, separated by ",", between parentheses. Each argument is written as
// the value of its AT type, so a u32 computed as -1 goes out as 4294967295.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace MANAGED_IF {

class AtCommand {
 public:
  // `name` is the full command name, "at@audapp:fmrx_set_band".
  explicit AtCommand(std::string_view name);

  AtCommand& u8(uint8_t value);
  AtCommand& u16(uint16_t value);
  AtCommand& s16(int16_t value);
  AtCommand& u32(uint32_t value);
  AtCommand& s32(int32_t value);

  // "name(a,b,c)": nothing after the closing parenthesis.
  std::string Text() const;

 private:
  void Append(std::string_view number);

  std::string name_;
  std::string arguments_;
  bool first_ = true;
};

}  // namespace MANAGED_IF
