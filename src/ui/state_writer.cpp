#include "ui/state_writer.h"

namespace ui {

std::string EscapeText(std::string_view text, bool quote_marks) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
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
