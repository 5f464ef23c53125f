#include "fmr-plot/svg_text.h"

#include <cstdio>

#include "text/report_text.h"

namespace fmrplot {
namespace {

bool Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string Num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.1f", v);
  std::string text = buffer;
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  return text == "-0" ? "0" : text;
}

std::string ValueText(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.10g", v == 0 ? 0.0 : v);
  return buffer;
}

std::string Escaped(const std::string& text) {
  return tooltext::XmlText(text);
}

double TextWidth(const std::string& text) {
  double characters = 0;
  for (const char c : text) characters += Continuation(c) ? 0 : 1;
  return characters * kCharWidthPx;
}

std::string Fitted(const std::string& text, double width_px) {
  if (TextWidth(text) <= width_px) return text;
  const double room = width_px / kCharWidthPx - 3;
  std::string out;
  double characters = 0;
  for (const char c : text) {
    if (!Continuation(c) && ++characters > room) break;
    out += c;
  }
  return out + "...";
}

}  // namespace fmrplot
