#include "ui/win32/gdi_text_measure.h"

namespace ui {

GdiTextMeasure::GdiTextMeasure(HFONT font)
    : dc_(::CreateCompatibleDC(nullptr)), old_font_(::SelectObject(dc_, font)) {}

GdiTextMeasure::~GdiTextMeasure() {
  ::SelectObject(dc_, old_font_);
  ::DeleteDC(dc_);
}

Size GdiTextMeasure::Measure(const std::string& text) const {
  RECT rect{0, 0, 0, 0};
  const std::string shown = text.empty() ? std::string(" ") : text;
  ::DrawTextA(dc_, shown.c_str(), static_cast<int>(shown.size()), &rect,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  return {text.empty() ? 0 : static_cast<int>(rect.right - rect.left),
          static_cast<int>(rect.bottom - rect.top)};
}

int GdiTextMeasure::AverageCharWidth() const {
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc_, &metrics);
  return metrics.tmAveCharWidth > 0 ? static_cast<int>(metrics.tmAveCharWidth) : 7;
}

}  // namespace ui
