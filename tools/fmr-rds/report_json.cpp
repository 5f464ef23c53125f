#include "fmr-rds/report_json.h"

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
      .String("local", FormatLocal(ct));
  return o.Text();
}

void AddAf(JsonObject& o, const AfPair& af) {
  o.Raw("af", MhzArray(af.vhf_khz));
  if (af.count) o.Number("af_count", *af.count);
  if (!af.lf_mf_khz.empty()) o.Raw("af_lf_mf_khz", NumberArray(af.lf_mf_khz));
}

}  // namespace

std::string GroupJson(const GroupReport& r, PtyTable table) {
  JsonObject o;
  o.Number("line", static_cast<int64_t>(r.line));
  if (!r.skipped.empty()) {
    o.String("status", StatusText(r.status)).String("skipped", r.skipped);
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
  if (r.af) AddAf(o, *r.af);
  if (r.rt_flag) {
    o.String("rt_flag", std::string(1, *r.rt_flag))
        .Number("rt_segment", *r.rt_segment)
        .String("rt_chars", r.rt_chars);
  }
  if (r.rt_cleared) o.Bool("rt_cleared", true);
  if (r.rt_changed) o.Bool("rt_changed", true);
  if (r.rt) o.String("rt", *r.rt);
  if (r.ct) o.Raw("ct", ClockJson(*r.ct));
  o.String("status", StatusText(r.status));
  if (!r.lost.empty()) o.String("lost", r.lost);
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
  if (!s.ps_partial.empty()) o.String("ps_partial", s.ps_partial);
  text("rt", s.rt);
  if (!s.rt_partial.empty()) o.String("rt_partial", s.rt_partial);

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
      .Number("records", static_cast<int64_t>(input.records))
      .Number("malformed_lines", static_cast<int64_t>(input.malformed_lines));
  return o.Text();
}

}  // namespace fmrrds
