// A one-line JSON object built field by field. Strings are written as pure
// ASCII: control characters and bytes above 0x7E are escaped as \u00XX
// (RDS texts are 8-bit; each byte is shown as the code point of its value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fmrrds {

std::string JsonString(std::string_view text);

class JsonObject {
 public:
  JsonObject& String(std::string_view key, std::string_view value);
  JsonObject& Number(std::string_view key, int64_t value);
  JsonObject& Bool(std::string_view key, bool value);
  JsonObject& Null(std::string_view key);
  // `json` is already JSON text (a nested object, an array, a number).
  JsonObject& Raw(std::string_view key, std::string_view json);

  std::string Text() const { return "{" + body_ + "}"; }

 private:
  void Key(std::string_view key);

  std::string body_;
};

}  // namespace fmrrds
