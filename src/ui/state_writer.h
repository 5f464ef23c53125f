// The text forms of automation replies: a control's state as blank-separated
// key=value pairs, and the escaping that keeps every control byte and every
// byte of broken UTF-8 of a text (handset text included) out of a reply.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ui {

// The text with every byte below 0x20 and 0x7F written as an escape: \n,
// \r, \t, else \xHH (two upper-case hexadecimal digits); so is every byte
// that is not part of a well-formed UTF-8 sequence, while well-formed
// sequences stay as they are. Backslashes and double quotes are escaped too
// when `quote_marks` is set.
std::string EscapeText(std::string_view text, bool quote_marks = false);

// Builds one `get` line: " key=value" for each call.
class StateWriter {
 public:
  // key="text", the text escaped.
  void Text(const char* key, std::string_view text);
  // key=number.
  void Number(const char* key, int64_t value);
  // key=1 or key=0.
  void Flag(const char* key, bool value) { Number(key, value ? 1 : 0); }
  // key=n1,n2,... (a rectangle: x,y,width,height).
  void Numbers(const char* key, std::initializer_list<int64_t> values);
  // key=word, written as it stands.
  void Word(const char* key, std::string_view word);

  const std::string& str() const { return out_; }

 private:
  void Key(const char* key);
  std::string out_;
};

}  // namespace ui
