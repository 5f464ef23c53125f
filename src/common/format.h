// Radix formatting of register values.
#pragma once

#include <cstdint>
#include <string>

namespace common {

std::string RepeatChar(char c, int32_t count);

// Radix 10: signed low 16 bits when as_short is non-zero, else unsigned 32
// bits. Radix 2..16: exactly `width` digits (left-padded with zeros, higher
// digits dropped). Other radixes: "INVALID DATA".
std::string FormatNumber(uint32_t value, int8_t radix, int8_t width, uint8_t as_short);

// "0x1A2B " (four upper-case digits and one trailing blank).
std::string FormatRegisterHex(int16_t value);
// "0x1 0xA 0x2 0xB".
std::string FormatRegisterNibbles(int16_t value);
// "   0x1    0xA    0x2    0xB".
std::string FormatRegisterNibblesWide(int16_t value);

}  // namespace common
