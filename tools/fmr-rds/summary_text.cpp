#include "fmr-rds/summary_text.h"

#include <cstdio>

#include "fmr-rds/countries.h"
#include "fmr-rds/field_text.h"
#include "text/report_text.h"

namespace fmrrds {
namespace {

// Quoted: the quote and the backslash as \x22 and \x5C, and whatever a
// report cannot hold (control bytes, bytes the RDS table leaves undefined)
// as \xHH, so that each text reads back unambiguously.
std::string Quoted(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (const char c : text) {
    if (c == '"') {
      plain += "\\x22";
    } else if (c == '\\') {
      plain += "\\x5C";
    } else {
      plain += c;
    }
  }
  return "\"" + tooltext::ReportText(plain) + "\"";
}

std::string Line(const char* label, const std::string& value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), "%-10s", label);
  return std::string(buffer) + value + "\n";
}

std::string Flag(const std::optional<bool>& v) {
  return v ? (*v ? "1" : "0") : "-";
}

}  // namespace

std::string SummaryText(const StationSummary& s, const InputCounts& input, PtyTable table) {
  std::string out;
  std::string pi = s.pi ? PiText(*s.pi) : "-";
  if (s.pi_history.size() > 1) {
    pi += " (seen:";
    for (uint16_t p : s.pi_history) pi += " " + PiText(p);
    pi += ")";
  }
  out += Line("PI", pi);
  out += Line(
      "PTY",
      s.pty ? std::to_string(*s.pty) + " " + std::string(ProgrammeTypeName(table, *s.pty)) : "-");
  out += Line("TP/TA", "TP " + Flag(s.tp) + ", TA " + Flag(s.ta));
  std::string ms = s.ms ? std::string(ProgrammeText(*s.ms)) : "-";
  if (s.di[0]) ms += *s.di[0] ? ", stereo" : ", mono";
  out += Line("MS", ms);

  std::string ps = s.ps ? Quoted(*s.ps) : "-";
  if (s.ps_names.size() > 1) {
    ps += " (names:";
    for (const std::string& name : s.ps_names) ps += " " + Quoted(name);
    ps += ")";
  }
  if (!s.ps_progressive.empty()) ps += " (unconfirmed " + Quoted(s.ps_progressive) + ")";
  out += Line("PS", ps);
  std::string rt = s.rt ? Quoted(*s.rt) : "-";
  if (!s.rt_progressive.empty()) rt += " (unconfirmed " + Quoted(s.rt_progressive) + ")";
  out += Line("RT", rt);
  std::string tags;
  if (s.rt_plus) {
    for (size_t i = 0; i < 2; ++i) {
      const RtPlusTag& tag = s.rt_plus->tags[i];
      if (tag.content_type == 0) continue;
      tags += (tags.empty() ? "" : ", ") + std::string(ContentTypeName(tag.content_type)) + " " +
              Quoted(s.rt_plus_text[i]);
    }
    tags += s.rt_plus->item_running ? " (item running)" : " (item stopped)";
  }
  out += Line("RT+", tags.empty() ? "-" : tags);
  std::string ecc = "-";
  if (s.ecc) {
    char buffer[8];
    std::snprintf(buffer, sizeof(buffer), "%02X", static_cast<unsigned>(*s.ecc));
    const std::string_view country = s.pi ? CountryName(*s.ecc, *s.pi) : std::string_view{};
    ecc =
        std::string(buffer) + " " + (country.empty() ? "(country unknown)" : std::string(country));
  }
  out += Line("ECC", ecc);

  std::string af;
  for (uint32_t khz : s.af.vhf_khz()) af += (af.empty() ? "" : " ") + MhzText(khz);
  for (uint32_t khz : s.af.lf_mf_khz()) af += (af.empty() ? "" : " ") + std::to_string(khz) + "kHz";
  if (af.empty()) af = "-";
  if (s.af.count()) af += " (list of " + std::to_string(*s.af.count()) + ")";
  out += Line("AF", af);

  out += Line("CT", s.ct ? FormatIso8601(*s.ct) + " (" + FormatDate(*s.ct) + " " +
                               FormatUtc(*s.ct) + " UTC)"
                         : "-");

  std::string groups;
  for (const auto& [type, count] : s.group_counts)
    groups += (groups.empty() ? "" : ", ") + type.Name() + " " + std::to_string(count);
  if (groups.empty()) groups = "-";
  out += Line("Groups", groups);
  out += Line("Received", std::to_string(s.received) + " groups, " + std::to_string(s.skipped) +
                              " skipped (block B lost), " + std::to_string(s.partial) + " partial");
  auto percent = [](double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.1f%%", value);
    return std::string(buffer);
  };
  out += Line("BLER", percent(s.bler.OverallPercent()) + " overall (" +
                          std::to_string(s.bler.lost_blocks()) + " of " +
                          std::to_string(s.bler.blocks()) + " blocks lost), " +
                          percent(s.bler.RecentPercent()) + " over the last " +
                          std::to_string(s.bler.recent_groups()) + " groups");
  out += Line("Input", std::string(InputFormatName(input.format)) + ": " +
                           std::to_string(input.records) + " records, " +
                           std::to_string(input.malformed_lines) + " malformed lines, " +
                           std::to_string(input.passed_over_lines) + " lines passed over");
  return out;
}

}  // namespace fmrrds
