#include "station/station_view.h"

#include <algorithm>
#include <cstdio>

#include "text/report_text.h"

namespace benchora {
namespace {

std::string Padded(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

}  // namespace

const char* EndingWord(HandsetEnding ending) {
  switch (ending) {
    case HandsetEnding::kRunning:
      return "running";
    case HandsetEnding::kPassed:
      return "PASS";
    case HandsetEnding::kFailed:
      return "FAIL";
    case HandsetEnding::kTimedOut:
      return "TIMEOUT";
    case HandsetEnding::kStopped:
      return "STOPPED";
    case HandsetEnding::kNotStarted:
      return "NOT STARTED";
  }
  return "";
}

std::string ProgressLine(const HandsetStatus& status, size_t name_width, size_t link_width) {
  const FeedState& p = status.progress;
  std::string line =
      Padded(status.name, name_width) + "  " + Padded(status.link, link_width) + "  ";
  const std::string counts =
      "pass " + std::to_string(p.passed) + "  fail " + std::to_string(p.failed);
  if (status.ending != HandsetEnding::kRunning) {
    return line + Padded(EndingWord(status.ending), 11) + "  " + counts + "  " +
           Seconds(status.seconds);
  }
  if (p.total == 0 && p.action.empty()) return line + "starting";
  line += "step " + std::to_string(p.step) + "/" + std::to_string(p.total) + "  " + counts;
  // The action is the radio's text as much as the script's: made safe to print.
  if (!p.action.empty()) line += "  " + tooltext::ReportText(p.action);
  return line;
}

std::vector<std::string> ProgressLines(const std::vector<HandsetStatus>& handsets) {
  size_t name_width = 0;
  size_t link_width = 0;
  for (const HandsetStatus& h : handsets) {
    name_width = std::max(name_width, h.name.size());
    link_width = std::max(link_width, h.link.size());
  }
  std::vector<std::string> lines;
  for (const HandsetStatus& h : handsets) lines.push_back(ProgressLine(h, name_width, link_width));
  return lines;
}

std::string FinalTable(const std::vector<HandsetStatus>& handsets) {
  std::vector<std::vector<std::string>> rows = {
      {"handset", "verdict", "passed", "failed", "time", "report"}};
  for (const HandsetStatus& h : handsets) {
    rows.push_back({h.name, EndingWord(h.ending), std::to_string(h.progress.passed),
                    std::to_string(h.progress.failed), Seconds(h.seconds), h.report});
  }
  std::vector<size_t> widths(rows.front().size(), 0);
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      line += i + 1 < row.size() ? Padded(row[i], widths[i]) + "  " : row[i];
    }
    out += line + "\n";
  }
  return out;
}

}  // namespace benchora
