#include "measurement.h"

#include <algorithm>
#include <cstdio>

namespace benchora {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The quoted text at `at` (just past its opening quote), escapes undone;
// `at` ends past the closing quote.
std::string Unquoted(std::string_view reply, size_t& at) {
  std::string out;
  while (at < reply.size() && reply[at] != '"') {
    char c = reply[at++];
    if (c == '\\' && at < reply.size()) {
      const char e = reply[at++];
      if (e == 'n') {
        c = '\n';
      } else if (e == 'r') {
        c = '\r';
      } else if (e == 't') {
        c = '\t';
      } else if (e == 'x' && at + 1 < reply.size() && HexDigit(reply[at]) >= 0 &&
                 HexDigit(reply[at + 1]) >= 0) {
        c = static_cast<char>(HexDigit(reply[at]) * 16 + HexDigit(reply[at + 1]));
        at += 2;
      } else {
        c = e;
      }
    }
    out += c;
  }
  ++at;
  return out;
}

struct RdsFieldReader {
  std::string_view name;
  std::optional<std::string> (*read)(const fmrrds::StationSummary&);
};

// Each field a check can read; a new one is a line here.
constexpr RdsFieldReader kRdsFields[] = {
    {"pi",
     [](const fmrrds::StationSummary& s) -> std::optional<std::string> {
       if (!s.pi) return std::nullopt;
       char text[8];
       std::snprintf(text, sizeof text, "%04X", *s.pi);
       return text;
     }},
    {"pty",
     [](const fmrrds::StationSummary& s) -> std::optional<std::string> {
       if (!s.pty) return std::nullopt;
       return std::to_string(*s.pty);
     }},
    {"ps", [](const fmrrds::StationSummary& s) { return s.ps; }},
    {"rt", [](const fmrrds::StationSummary& s) { return s.rt; }},
};

}  // namespace

std::optional<std::string> StateValue(std::string_view reply, std::string_view key) {
  size_t at = 0;
  while (at < reply.size()) {
    while (at < reply.size() && reply[at] == ' ') ++at;
    const size_t equals = reply.find('=', at);
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view this_key = reply.substr(at, equals - at);
    at = equals + 1;
    std::string value;
    if (at < reply.size() && reply[at] == '"') {
      ++at;
      value = Unquoted(reply, at);
    } else {
      const size_t end = std::min(reply.find(' ', at), reply.size());
      value = reply.substr(at, end - at);
      at = end;
    }
    if (this_key == key) return value;
  }
  return std::nullopt;
}

std::optional<std::string> MainValue(std::string_view reply) {
  for (const std::string_view key : {"text", "checked", "position", "index", "caption"}) {
    if (std::optional<std::string> value = StateValue(reply, key)) return value;
  }
  return std::nullopt;
}

std::optional<std::string_view> RdsFieldName(std::string_view name) {
  if (!name.starts_with("rds.")) return std::nullopt;
  return name.substr(4);
}

std::optional<std::string> RdsField(const fmrrds::StationSummary& station, std::string_view field,
                                    bool& known) {
  for (const RdsFieldReader& reader : kRdsFields) {
    if (reader.name == field) {
      known = true;
      return reader.read(station);
    }
  }
  known = false;
  return std::nullopt;
}

std::string RdsFieldList() {
  std::string out;
  for (const RdsFieldReader& reader : kRdsFields) {
    if (!out.empty()) out += ", ";
    out += reader.name;
  }
  return out;
}

}  // namespace benchora
