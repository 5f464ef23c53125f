// The kinds of values checks compare. A number compares as a number
// (decimal, or hexadecimal after 0x); a code (PI, extended country code) is
// hexadecimal text with its own width, so "C204", "c204" and "0xC204" are
// one code and "100000" is none; a text compares as text whatever it holds.
// A control's value has no kind of its own: a number limit makes it a
// number, any other limit a text.
#pragma once

#include <cstdint>

namespace benchora {

enum class ValueKind { kAny, kNumber, kCode, kText };

struct KindOfValue {
  ValueKind kind = ValueKind::kAny;
  uint8_t code_digits = 0;  // a code's most hexadecimal digits
};

}  // namespace benchora
