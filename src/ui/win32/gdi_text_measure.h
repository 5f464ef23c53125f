// Text extents in a font, measured with GDI: what the dialog font's table
// (ui/dialog_font.h) is checked against.
#pragma once

#include <windows.h>

#include "ui/layout.h"

namespace ui {

class GdiTextMeasure final : public TextMeasure {
 public:
  explicit GdiTextMeasure(HFONT font);
  ~GdiTextMeasure() override;
  GdiTextMeasure(const GdiTextMeasure&) = delete;
  GdiTextMeasure& operator=(const GdiTextMeasure&) = delete;

  Size Measure(const std::string& text) const override;
  // The font's average character width.
  int AverageCharWidth() const;

 private:
  HDC dc_;
  HGDIOBJ old_font_;
};

}  // namespace ui
