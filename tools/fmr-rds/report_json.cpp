#include "fmr-rds/report_json.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

#include "fmr-rds/countries.h"
#include "fmr-rds/field_text.h"
#include "text/report_text.h"

namespace fmrrds {
namespace {

// Fields keep the order they are added in: readers of the JSON lines diff
// and grep them.
using Json = nlohmann::ordered_json;

// Every text goes out as a JSON string of valid UTF-8 without control
// characters: a byte that is neither shows as \xHH.
Json Text(std::string_view text) {
  return tooltext::ReportText(text);
}

// A percentage with one decimal: 12.5, 0.0
Json Percent(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.1f", value);
  // The nearest double to the printed value, which the JSON writer prints
  // back as it was (its shortest form, ".0" kept).
  return std::strtod(buffer, nullptr);
}

// 88100 kHz: 88.1; whole megahertz without decimals (100).
Json Mhz(uint32_t khz) {
  if (khz % 1000 == 0) return khz / 1000;
  return static_cast<double>(khz) / 1000.0;
}

template <typename Container>
Json MhzArray(const Container& khz) {
  Json out = Json::array();
  for (const uint32_t f : khz) out.push_back(Mhz(f));
  return out;
}

template <typename Container>
Json NumberArray(const Container& values) {
  Json out = Json::array();
  for (const auto v : values) out.push_back(v);
  return out;
}

Json ClockJson(const ClockTime& ct) {
  Json o = Json::object();
  o["mjd"] = ct.mjd;
  if (!ct.valid) {
    o["valid"] = false;
    o["hour"] = ct.hour;
    o["minute"] = ct.minute;
    return o;
  }
  o["date"] = Text(FormatDate(ct));
  o["utc"] = Text(FormatUtc(ct));
  o["offset"] = Text(FormatOffset(ct));
  o["local"] = Text(FormatLocal(ct));
  o["iso"] = Text(FormatIso8601(ct));
  return o;
}

std::string HexByte(uint8_t value) {
  char buffer[8];
  std::snprintf(buffer, sizeof(buffer), "%02X", static_cast<unsigned>(value));
  return buffer;
}

void AddEcc(Json& o, uint8_t ecc, const std::optional<uint16_t>& pi) {
  o["ecc"] = Text(HexByte(ecc));
  const std::string_view country = pi ? CountryName(ecc, *pi) : std::string_view{};
  o["country"] = country.empty() ? Json(nullptr) : Text(country);
}

Json RtPlusJson(const RtPlusGroup& g, const std::string (&texts)[2]) {
  Json tags = Json::array();
  for (size_t i = 0; i < 2; ++i) {
    if (g.tags[i].content_type == 0) continue;
    Json tag = Json::object();
    tag["content_type"] = g.tags[i].content_type;
    tag["name"] = Text(ContentTypeName(g.tags[i].content_type));
    tag["start"] = g.tags[i].start;
    tag["length"] = g.tags[i].length;
    tag["text"] = Text(texts[i]);
    tags.push_back(std::move(tag));
  }
  Json o = Json::object();
  o["item_toggle"] = g.item_toggle;
  o["item_running"] = g.item_running;
  o["tags"] = std::move(tags);
  return o;
}

void AddAf(Json& o, const AfPair& af) {
  o["af"] = MhzArray(af.vhf_khz);
  if (af.count) o["af_count"] = *af.count;
  if (!af.lf_mf_khz.empty()) o["af_lf_mf_khz"] = NumberArray(af.lf_mf_khz);
}

// One line: no spaces, no line ends; UTF-8 as it is.
std::string Line(const Json& o) {
  return o.dump(-1, ' ', false, Json::error_handler_t::strict);
}

}  // namespace

std::string_view InputFormatName(InputFormat format) {
  switch (format) {
    case InputFormat::kLog:
      return "log";
    case InputFormat::kHex:
      return "hex";
    case InputFormat::kGen2:
      return "gen2";
    default:
      return "unknown";
  }
}

std::string GroupJson(const GroupReport& r, PtyTable table) {
  Json o = Json::object();
  o["line"] = r.line;
  if (!r.skipped.empty()) {
    o["status"] = Text(StatusText(r.status));
    o["skipped"] = Text(r.skipped);
    o["bler_recent"] = Percent(r.bler_recent);
    return Line(o);
  }
  o["type"] = Text(r.type->Name());
  if (r.pi) o["pi"] = Text(PiText(*r.pi));
  if (r.pi_changed) o["pi_changed"] = true;
  o["tp"] = r.tp;
  o["pty"] = r.pty;
  o["pty_name"] = Text(ProgrammeTypeName(table, r.pty));
  if (r.ta) o["ta"] = *r.ta;
  if (r.ms) o["ms"] = Text(ProgrammeText(*r.ms));
  if (r.di) o["di"] = Json::object({{std::string(DiName(r.di->index)), r.di->value}});
  if (r.ps_segment) {
    o["ps_segment"] = *r.ps_segment;
    o["ps_chars"] = Text(r.ps_chars);
  }
  if (r.ps_changed) o["ps_changed"] = true;
  if (r.ps) o["ps"] = Text(*r.ps);
  if (r.ps_progressive) o["ps_progressive"] = Text(*r.ps_progressive);
  if (r.af) AddAf(o, *r.af);
  if (r.rt_flag) {
    o["rt_flag"] = Text(std::string(1, *r.rt_flag));
    o["rt_segment"] = *r.rt_segment;
    o["rt_chars"] = Text(r.rt_chars);
  }
  if (r.rt_cleared) o["rt_cleared"] = true;
  if (r.rt_changed) o["rt_changed"] = true;
  if (r.rt) o["rt"] = Text(*r.rt);
  if (r.rt_progressive) o["rt_progressive"] = Text(*r.rt_progressive);
  if (r.ecc) AddEcc(o, *r.ecc, r.pi);
  if (r.oda_application) {
    o["oda_application"] = Text(PiText(*r.oda_application));
    o["oda_group"] = Text(r.oda_group->Name());
  }
  if (r.ct) o["ct"] = ClockJson(*r.ct);
  if (r.rt_plus) o["rt_plus"] = RtPlusJson(*r.rt_plus, r.rt_plus_text);
  o["status"] = Text(StatusText(r.status));
  if (!r.lost.empty()) o["lost"] = Text(r.lost);
  o["bler_recent"] = Percent(r.bler_recent);
  return Line(o);
}

std::string SummaryJson(const StationSummary& s, const InputCounts& input, PtyTable table) {
  Json o = Json::object();
  o["pi"] = s.pi ? Text(PiText(*s.pi)) : Json(nullptr);
  Json history = Json::array();
  for (const uint16_t pi : s.pi_history) history.push_back(Text(PiText(pi)));
  o["pi_history"] = std::move(history);
  if (s.pty) {
    o["pty"] = *s.pty;
    o["pty_name"] = Text(ProgrammeTypeName(table, *s.pty));
  } else {
    o["pty"] = nullptr;
    o["pty_name"] = nullptr;
  }
  auto optional = [](const auto& v) { return v ? Json(*v) : Json(nullptr); };
  auto optional_text = [](const auto& v) { return v ? Text(*v) : Json(nullptr); };
  o["tp"] = optional(s.tp);
  o["ta"] = optional(s.ta);
  o["ms"] = s.ms ? Text(ProgrammeText(*s.ms)) : Json(nullptr);
  Json di = Json::object();
  for (uint8_t i = 0; i < 4; ++i) {
    if (s.di[i]) di[std::string(DiName(i))] = *s.di[i];
  }
  o["di"] = std::move(di);

  o["ps"] = optional_text(s.ps);
  Json names = Json::array();
  for (const std::string& name : s.ps_names) names.push_back(Text(name));
  o["ps_names"] = std::move(names);
  if (!s.ps_progressive.empty()) o["ps_progressive"] = Text(s.ps_progressive);
  o["rt"] = optional_text(s.rt);
  if (!s.rt_progressive.empty()) o["rt_progressive"] = Text(s.rt_progressive);
  o["rt_plus"] = s.rt_plus ? RtPlusJson(*s.rt_plus, s.rt_plus_text) : Json(nullptr);
  if (s.ecc) {
    AddEcc(o, *s.ecc, s.pi);
  } else {
    o["ecc"] = nullptr;
    o["country"] = nullptr;
  }

  o["af"] = MhzArray(s.af.vhf_khz());
  o["af_count"] = optional(s.af.count());
  if (!s.af.lf_mf_khz().empty()) o["af_lf_mf_khz"] = NumberArray(s.af.lf_mf_khz());
  o["ct"] = s.ct ? ClockJson(*s.ct) : Json(nullptr);

  Json groups = Json::object();
  for (const auto& [type, count] : s.group_counts) groups[type.Name()] = count;
  o["groups"] = std::move(groups);
  o["received"] = s.received;
  o["skipped"] = s.skipped;
  o["partial"] = s.partial;
  Json bler = Json::object();
  bler["overall"] = Percent(s.bler.OverallPercent());
  bler["recent"] = Percent(s.bler.RecentPercent());
  bler["window"] = s.bler.window();
  bler["blocks"] = s.bler.blocks();
  bler["lost_blocks"] = s.bler.lost_blocks();
  o["bler"] = std::move(bler);
  o["input_format"] = Text(InputFormatName(input.format));
  o["records"] = input.records;
  o["malformed_lines"] = input.malformed_lines;
  o["passed_over_lines"] = input.passed_over_lines;
  return Line(o);
}

}  // namespace fmrrds
