// Text of the SVG pictures: numbers, text escaped for XML, and the room a
// text takes at the pictures' 11 px font.
#pragma once

#include <string>

namespace fmrplot {

// About one character's width at the 11 px font.
inline constexpr double kCharWidthPx = 6.6;

// A coordinate or value to one decimal, without a trailing ".0" and never "-0".
[[nodiscard]] std::string Num(double v);
// A measured value or time as a reader wants it: up to ten significant
// digits, no trailing zeros ("95400000", "12.5", "0.001"), never "-0".
[[nodiscard]] std::string ValueText(double v);
// `text` for XML content or an attribute. Broken UTF-8 and characters XML
// 1.0 does not allow (control characters, line breaks) are written as
// \xHH, so any name read from a file makes a valid picture.
[[nodiscard]] std::string Escaped(const std::string& text);
// About how wide `text` (UTF-8) is, in pixels.
[[nodiscard]] double TextWidth(const std::string& text);
// `text`, cut at a character and ended with "..." when it is wider than
// `width_px`.
[[nodiscard]] std::string Fitted(const std::string& text, double width_px);

}  // namespace fmrplot
