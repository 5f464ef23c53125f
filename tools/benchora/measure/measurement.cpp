#include "measure/measurement.h"

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

struct RdsReading {
  const fmrrds::StationSummary& station;
  const RdsTuning& tuning;
  uint64_t now_ms;
};

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

struct RdsField {
  std::string_view name;
  KindOfValue kind;
  std::string_view what;  // for "no ... in the 12 groups since the tune"
  std::optional<std::string> (*read)(const RdsReading&);
};

// Each value a check can read; a new one is a line here.
constexpr RdsField kRdsFields[] = {
    {"pi",
     {ValueKind::kCode, 4},
     "PI",
     [](const RdsReading& r) -> std::optional<std::string> {
       if (!r.station.pi) return std::nullopt;
       return Hex(*r.station.pi, 4);
     }},
    {"pty",
     {ValueKind::kNumber, 0},
     "programme type",
     [](const RdsReading& r) -> std::optional<std::string> {
       if (!r.station.pty) return std::nullopt;
       return std::to_string(*r.station.pty);
     }},
    {"ps",
     {ValueKind::kText, 0},
     "confirmed PS name",
     [](const RdsReading& r) { return r.station.ps; }},
    {"rt",
     {ValueKind::kText, 0},
     "confirmed radio text",
     [](const RdsReading& r) { return r.station.rt; }},
    {"ecc",
     {ValueKind::kCode, 2},
     "extended country code",
     [](const RdsReading& r) -> std::optional<std::string> {
       if (!r.station.ecc) return std::nullopt;
       return Hex(*r.station.ecc, 2);
     }},
    {"groups",
     {ValueKind::kNumber, 0},
     "group",
     [](const RdsReading& r) -> std::optional<std::string> {
       return std::to_string(r.tuning.groups);
     }},
    {"bler",
     {ValueKind::kNumber, 0},
     "block",
     [](const RdsReading& r) -> std::optional<std::string> {
       if (r.tuning.bler.blocks() == 0) return std::nullopt;
       char text[32];
       std::snprintf(text, sizeof text, "%.1f", r.tuning.bler.OverallPercent());
       return text;
     }},
    {"age",
     {ValueKind::kNumber, 0},
     "group",
     [](const RdsReading& r) -> std::optional<std::string> {
       if (!r.tuning.last_group_ms) return std::nullopt;
       const uint64_t last = *r.tuning.last_group_ms;
       return std::to_string(r.now_ms > last ? r.now_ms - last : 0);
     }},
};

const RdsField* FindRdsField(std::string_view name) {
  for (const RdsField& field : kRdsFields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

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

std::optional<KindOfValue> LookUpName(std::string_view name, std::string& error) {
  const std::optional<std::string_view> field = RdsFieldName(name);
  if (!field) return KindOfValue{};
  if (const RdsField* known = FindRdsField(*field)) return known->kind;
  error = "no value named " + std::string(name) + " (the RDS values: " + RdsFieldList() + ")";
  return std::nullopt;
}

std::optional<std::string> RdsValue(const RdsWatch& watch, std::string_view name,
                                    std::string& why) {
  const RdsField* field = FindRdsField(name);
  if (field == nullptr) {
    why = "no value named rds." + std::string(name);
    return std::nullopt;
  }
  const RdsTuning& tuning = watch.tuning();
  const fmrrds::StationSummary& station = watch.Station();
  std::optional<std::string> value = field->read({station, tuning, watch.Now()});
  if (value) return value;
  const std::string since =
      "since the " + tuning.event + " at " + std::to_string(tuning.since_ms) + " ms";
  if (tuning.groups == 0) {
    why = "nothing received " + since;
  } else {
    why = "no " + std::string(field->what) + " in the " + std::to_string(tuning.groups) +
          (tuning.groups == 1 ? " group " : " groups ") + since;
  }
  return std::nullopt;
}

std::string RdsFieldList() {
  std::string out;
  for (const RdsField& field : kRdsFields) {
    if (!out.empty()) out += ", ";
    out += field.name;
  }
  return out;
}

}  // namespace benchora
