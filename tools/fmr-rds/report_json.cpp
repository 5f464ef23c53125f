#include "fmr-rds/report_json.h"

#include <cstdio>

#include "fmr-rds/countries.h"
#include "fmr-rds/field_text.h"
#include "fmr-rds/json_object.h"

namespace fmrrds {
namespace {

template <typename Container>
std::string MhzArray(const Container& khz) {
  std::string out = "[";
  for (uint32_t f : khz) {
    if (out.size() > 1) out += ',';
    out += MhzText(f);
  }
  return out + "]";
}

template <typename Container>
std::string NumberArray(const Container& values) {
  std::string out = "[";
  for (auto v : values) {
    if (out.size() > 1) out += ',';
    out += std::to_string(v);
  }
  return out + "]";
}

std::string ClockJson(const ClockTime& ct) {
  JsonObject o;
  o.Number("mjd", ct.mjd);
  if (!ct.valid) {
    o.Bool("valid", false).Number("hour", ct.hour).Number("minute", ct.minute);
    return o.Text();
  }
  o.String("date", FormatDate(ct))
      .String("utc", FormatUtc(ct))
      .String("offset", FormatOffset(ct))
      .String("local", FormatLocal(ct))
      .String("iso", FormatIso8601(ct));
  return o.Text();
}

// A percentage with one decimal: 12.5
std::string Percent(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.1f", value);
  return buffer;
}

std::string HexByte(uint8_t value) {
  char buffer[8];
  std::snprintf(buffer, sizeof(buffer), "%02X", static_cast<unsigned>(value));
  return buffer;
}

void AddEcc(JsonObject& o, uint8_t ecc, const std::optional<uint16_t>& pi) {
  o.String("ecc", HexByte(ecc));
  const std::string_view country = pi ? CountryName(ecc, *pi) : std::string_view{};
  if (country.empty()) {
    o.Null("country");
  } else {
    o.String("country", country);
  }
}

std::string RtPlusJson(const RtPlusGroup& g, const std::string (&texts)[2]) {
  std::string tags = "[";
  for (size_t i = 0; i < 2; ++i) {
    if (g.tags[i].content_type == 0) continue;
    if (tags.size() > 1) tags += ',';
    tags += JsonObject()
                .Number("content_type", g.tags[i].content_type)
                .String("name", ContentTypeName(g.tags[i].content_type))
                .Number("start", g.tags[i].start)
                .Number("length", g.tags[i].length)
                .String("text", texts[i])
                .Text();
  }
  return JsonObject()
      .Bool("item_toggle", g.item_toggle)
      .Bool("item_running", g.item_running)
      .Raw("tags", tags + "]")
      .Text();
}

void AddAf(JsonObject& o, const AfPair& af) {
  o.Raw("af", MhzArray(af.vhf_khz));
  if (af.count) o.Number("af_count", *af.count);
  if (!af.lf_mf_khz.empty()) o.Raw("af_lf_mf_khz", NumberArray(af.lf_mf_khz));
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
  JsonObject o;
  o.Number("line", static_cast<int64_t>(r.line));
  if (!r.skipped.empty()) {
    o.String("status", StatusText(r.status)).String("skipped", r.skipped);
    o.Raw("bler_recent", Percent(r.bler_recent));
    return o.Text();
  }
  o.String("type", r.type->Name());
  if (r.pi) o.String("pi", PiText(*r.pi));
  if (r.pi_changed) o.Bool("pi_changed", true);
  o.Bool("tp", r.tp).Number("pty", r.pty).String("pty_name", ProgrammeTypeName(table, r.pty));
  if (r.ta) o.Bool("ta", *r.ta);
  if (r.ms) o.String("ms", ProgrammeText(*r.ms));
  if (r.di) o.Raw("di", JsonObject().Bool(DiName(r.di->index), r.di->value).Text());
  if (r.ps_segment) o.Number("ps_segment", *r.ps_segment).String("ps_chars", r.ps_chars);
  if (r.ps_changed) o.Bool("ps_changed", true);
  if (r.ps) o.String("ps", *r.ps);
  if (r.ps_progressive) o.String("ps_progressive", *r.ps_progressive);
  if (r.af) AddAf(o, *r.af);
  if (r.rt_flag) {
    o.String("rt_flag", std::string(1, *r.rt_flag))
        .Number("rt_segment", *r.rt_segment)
        .String("rt_chars", r.rt_chars);
  }
  if (r.rt_cleared) o.Bool("rt_cleared", true);
  if (r.rt_changed) o.Bool("rt_changed", true);
  if (r.rt) o.String("rt", *r.rt);
  if (r.rt_progressive) o.String("rt_progressive", *r.rt_progressive);
  if (r.ecc) AddEcc(o, *r.ecc, r.pi);
  if (r.oda_application) {
    o.String("oda_application", PiText(*r.oda_application))
        .String("oda_group", r.oda_group->Name());
  }
  if (r.ct) o.Raw("ct", ClockJson(*r.ct));
  if (r.rt_plus) o.Raw("rt_plus", RtPlusJson(*r.rt_plus, r.rt_plus_text));
  o.String("status", StatusText(r.status));
  if (!r.lost.empty()) o.String("lost", r.lost);
  o.Raw("bler_recent", Percent(r.bler_recent));
  return o.Text();
}

std::string SummaryJson(const StationSummary& s, const InputCounts& input, PtyTable table) {
  JsonObject o;
  if (s.pi) {
    o.String("pi", PiText(*s.pi));
  } else {
    o.Null("pi");
  }
  std::string history = "[";
  for (uint16_t pi : s.pi_history) {
    if (history.size() > 1) history += ',';
    history += JsonString(PiText(pi));
  }
  o.Raw("pi_history", history + "]");
  if (s.pty) {
    o.Number("pty", *s.pty).String("pty_name", ProgrammeTypeName(table, *s.pty));
  } else {
    o.Null("pty").Null("pty_name");
  }
  auto flag = [&](std::string_view key, const std::optional<bool>& v) {
    if (v) {
      o.Bool(key, *v);
    } else {
      o.Null(key);
    }
  };
  flag("tp", s.tp);
  flag("ta", s.ta);
  if (s.ms) {
    o.String("ms", ProgrammeText(*s.ms));
  } else {
    o.Null("ms");
  }
  JsonObject di;
  for (uint8_t i = 0; i < 4; ++i) {
    if (s.di[i]) di.Bool(DiName(i), *s.di[i]);
  }
  o.Raw("di", di.Text());

  auto text = [&](std::string_view key, const std::optional<std::string>& v) {
    if (v) {
      o.String(key, *v);
    } else {
      o.Null(key);
    }
  };
  text("ps", s.ps);
  std::string names = "[";
  for (const std::string& name : s.ps_names) {
    if (names.size() > 1) names += ',';
    names += JsonString(name);
  }
  o.Raw("ps_names", names + "]");
  if (!s.ps_progressive.empty()) o.String("ps_progressive", s.ps_progressive);
  text("rt", s.rt);
  if (!s.rt_progressive.empty()) o.String("rt_progressive", s.rt_progressive);
  if (s.rt_plus) {
    o.Raw("rt_plus", RtPlusJson(*s.rt_plus, s.rt_plus_text));
  } else {
    o.Null("rt_plus");
  }
  if (s.ecc) {
    AddEcc(o, *s.ecc, s.pi);
  } else {
    o.Null("ecc").Null("country");
  }

  o.Raw("af", MhzArray(s.af.vhf_khz()));
  if (s.af.count()) {
    o.Number("af_count", *s.af.count());
  } else {
    o.Null("af_count");
  }
  if (!s.af.lf_mf_khz().empty()) o.Raw("af_lf_mf_khz", NumberArray(s.af.lf_mf_khz()));
  if (s.ct) {
    o.Raw("ct", ClockJson(*s.ct));
  } else {
    o.Null("ct");
  }

  JsonObject groups;
  for (const auto& [type, count] : s.group_counts) groups.Number(type.Name(), count);
  o.Raw("groups", groups.Text())
      .Number("received", s.received)
      .Number("skipped", s.skipped)
      .Number("partial", s.partial)
      .Raw("bler", JsonObject()
                       .Raw("overall", Percent(s.bler.OverallPercent()))
                       .Raw("recent", Percent(s.bler.RecentPercent()))
                       .Number("window", static_cast<int64_t>(s.bler.window()))
                       .Number("blocks", static_cast<int64_t>(s.bler.blocks()))
                       .Number("lost_blocks", static_cast<int64_t>(s.bler.lost_blocks()))
                       .Text())
      .String("input_format", InputFormatName(input.format))
      .Number("records", static_cast<int64_t>(input.records))
      .Number("malformed_lines", static_cast<int64_t>(input.malformed_lines))
      .Number("passed_over_lines", static_cast<int64_t>(input.passed_over_lines));
  return o.Text();
}

}  // namespace fmrrds
