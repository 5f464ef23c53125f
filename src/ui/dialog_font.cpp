#include "ui/dialog_font.h"

#include <algorithm>
#include <array>

namespace ui {
namespace {

// Advances in pixels of the characters 0x20 to 0xFF of code page 1252, as
// GDI's DrawText measures them one by one in the dialog font under Wine.
// The font has no kerning pairs that DrawText applies, so a text's width is
// the sum of its characters' advances (the Win32 backend's tests check this
// table against GDI).
constexpr std::array<unsigned char, 224> kAdvances = {
    4,  4, 5, 9, 7, 10, 9,  3,  4, 4,  6, 9, 4,  4,  4,  4,  // 0x20  !"#$%&'()*+,-./
    7,  7, 7, 7, 7, 7,  7,  7,  7, 7,  4, 4, 9,  9,  9,  6,  // 0x30 0123456789:;<=>?
    11, 8, 8, 8, 8, 7,  6,  9,  8, 3,  3, 7, 6,  9,  8,  9,  // 0x40 @ABCDEFGHIJKLMNO
    7,  9, 8, 7, 7, 8,  8,  11, 8, 7,  8, 4, 4,  4,  9,  6,  // 0x50 PQRSTUVWXYZ[\]^_
    6,  7, 7, 6, 7, 7,  4,  7,  7, 3,  3, 6, 3,  11, 7,  7,  // 0x60 `abcdefghijklmno
    7,  7, 5, 6, 4, 7,  7,  9,  7, 7,  6, 7, 4,  7,  9,  7,  // 0x70 pqrstuvwxyz{|}~
    7,  7, 4, 4, 6, 11, 6,  6,  6, 15, 7, 4, 12, 7,  8,  7,  // 0x80
    7,  4, 4, 6, 6, 6,  6,  11, 6, 11, 6, 4, 11, 7,  6,  7,  // 0x90
    4,  4, 7, 7, 7, 7,  4,  6,  6, 11, 5, 7, 9,  4,  11, 6,  // 0xA0
    6,  9, 4, 4, 6, 7,  7,  4,  6, 4,  5, 7, 11, 11, 11, 6,  // 0xB0
    8,  8, 8, 8, 8, 8,  11, 8,  7, 7,  7, 7, 3,  3,  3,  3,  // 0xC0
    9,  8, 9, 9, 9, 9,  9,  9,  9, 8,  8, 8, 8,  7,  7,  7,  // 0xD0
    7,  7, 7, 7, 7, 7,  11, 6,  7, 7,  7, 7, 3,  3,  3,  3,  // 0xE0
    7,  7, 7, 7, 7, 7,  7,  9,  7, 7,  7, 7, 7,  7,  7,  7,  // 0xF0
};

// Control characters other than line breaks and tabs show as a box.
constexpr int kControlAdvance = 7;

}  // namespace

int DialogFontMeasure::Advance(unsigned char c) {
  return c < 0x20 ? kControlAdvance : kAdvances[c - 0x20];
}

Size DialogFontMeasure::Measure(const std::string& text) const {
  int lines = 1;
  int widest = 0;
  int x = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (i + 1 < text.size()) ++lines;
      x = 0;
    } else if (c == '\t') {
      x = (x / kTabStop + 1) * kTabStop;
    } else {
      x += Advance(c);
    }
    widest = std::max(widest, x);
  }
  return {widest, lines * kLineHeight};
}

const TextMeasure& DialogFont() {
  static const DialogFontMeasure measure;
  return measure;
}

LayoutStyle DialogFontStyle() {
  LayoutStyle style;
  style.char_width = DialogFontMeasure::kAverageCharWidth;
  return style;
}

}  // namespace ui
