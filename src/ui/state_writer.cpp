#include "ui/state_writer.h"

namespace ui {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` that
// begins with a byte of 0x80 or above; 0 when there is none there (a lone
// continuation byte, a sequence cut short, an overlong form, a surrogate,
// a code point above U+10FFFF, a byte that never occurs in UTF-8).
size_t Utf8SequenceLength(std::string_view text) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(0);
  size_t length = 0;
  unsigned char low = 0x80;  // the range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // below: overlong
    if (lead == 0xED) high = 0x9F;  // above: surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // below: overlong
    if (lead == 0xF4) high = 0x8F;  // above: beyond U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || at(1) < low || at(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (at(i) < 0x80 || at(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string EscapeText(std::string_view text, bool quote_marks) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (const size_t length = byte >= 0x80 ? Utf8SequenceLength(text.substr(i)) : 0;
               length > 0) {
      out += text.substr(i, length);  // well-formed UTF-8 stands as it is
      i += length - 1;
    } else if (byte < 0x20 || byte >= 0x7F) {
      // A control byte, or a byte of broken UTF-8: each escaped on its own.
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else if (quote_marks && (c == '"' || c == '\\')) {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

void StateWriter::Key(const char* key) {
  if (!out_.empty()) out_ += ' ';
  out_ += key;
  out_ += '=';
}

void StateWriter::Text(const char* key, std::string_view text) {
  Key(key);
  out_ += '"';
  out_ += EscapeText(text, true);
  out_ += '"';
}

void StateWriter::Number(const char* key, int64_t value) {
  Key(key);
  out_ += std::to_string(value);
}

void StateWriter::Numbers(const char* key, std::initializer_list<int64_t> values) {
  Key(key);
  const char* separator = "";
  for (const int64_t value : values) {
    out_ += separator;
    out_ += std::to_string(value);
    separator = ",";
  }
}

void StateWriter::Word(const char* key, std::string_view word) {
  Key(key);
  out_ += word;
}

}  // namespace ui
