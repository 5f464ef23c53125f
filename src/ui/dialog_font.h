// The text measure every backend lays a form out with: the advance of each
// character and the line height of the dialog font, Tahoma at 8 points
// (11 pixels), which the Win32 backend draws its controls with. Measured
// once with GDI under Wine (where it is also the system's message font,
// "MS Shell Dlg") and kept here as data: positions computed from it are the
// same on every backend, and exactly what the native font needs there.
#pragma once

#include <string>

#include "ui/layout.h"

namespace ui {

class DialogFontMeasure final : public TextMeasure {
 public:
  static constexpr char kFaceName[] = "Tahoma";
  static constexpr int kPixelHeight = 11;  // its em height (a LOGFONT height of -11)
  static constexpr int kLineHeight = 13;
  // The font's average character width (its width hints' unit).
  static constexpr int kAverageCharWidth = 6;
  // A tab advances to the next multiple of eight average characters.
  static constexpr int kTabStop = 8 * kAverageCharWidth;

  // Lines break at "\r\n", "\r" or "\n"; a break at the very end adds no
  // line, and an empty text is one line high and no width wide.
  Size Measure(const std::string& text) const override;
  // The advance of one character of the system code page (line breaks and
  // tabs excepted).
  static int Advance(unsigned char c);
};

// The measure and the layout style of the dialog font, shared by all forms.
const TextMeasure& DialogFont();
LayoutStyle DialogFontStyle();

}  // namespace ui
