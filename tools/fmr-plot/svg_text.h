// Text of the SVG pictures: numbers to one decimal and text escaped for XML.
#pragma once

#include <string>

namespace fmrplot {

// A coordinate or value to one decimal, without a trailing ".0" and never "-0".
[[nodiscard]] std::string Num(double v);
// `text` for XML content or an attribute; control characters, which XML 1.0
// does not allow, become spaces.
[[nodiscard]] std::string Escaped(const std::string& text);

}  // namespace fmrplot
