// The RDS character set: PS, radio text and RadioText+ arrive as bytes of
// the broadcast code table (mostly ASCII in 0x20-0x7D, national letters and
// symbols in 0x80-0xFE). The decoder keeps those bytes while it assembles a
// text (its positions are byte positions, its repeats byte comparisons) and
// turns a text into UTF-8 only where it is read out.
#pragma once

#include <string>
#include <string_view>

namespace fmrrds {

// The code point of an RDS character; 0 for a byte the table leaves
// undefined (control codes without a meaning in RDS text, 0x7F, 0xFF).
[[nodiscard]] char32_t RdsCharacter(unsigned char byte);

// `raw` in UTF-8: one character for each byte. A byte the table leaves
// undefined stays as it is, so a report writer shows it as \xHH.
[[nodiscard]] std::string RdsTextToUtf8(std::string_view raw);

}  // namespace fmrrds
