#include "text/report_text.h"

#include <cstdint>

#include "text/utf8_unit.h"

namespace tooltext {
namespace {

// Code points a report may hold as they are: printable, allowed in XML 1.0,
// no noncharacters U+FFFE and U+FFFF, no C1 controls.
bool Storable(uint32_t code_point) {
  if (code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F)) return false;
  if (code_point >= 0xD800 && code_point <= 0xDFFF) return false;
  return code_point != 0xFFFE && code_point != 0xFFFF && code_point <= kLastCodePoint;
}

}  // namespace

std::string ReportText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const Utf8Unit unit = DecodeUnit(text, at);
    if (Storable(unit.value)) {
      out.append(text.substr(at, unit.length));
    } else {
      for (size_t i = 0; i < unit.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
      }
    }
    at += unit.length;
  }
  return out;
}

bool IsReportText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const Utf8Unit unit = DecodeUnit(text, at);
    if (!Storable(unit.value)) return false;
    at += unit.length;
  }
  return true;
}

std::string XmlText(std::string_view text) {
  std::string out;
  for (const char c : ReportText(text)) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tooltext
