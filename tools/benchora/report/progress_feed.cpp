#include "report/progress_feed.h"

#include <charconv>

namespace benchora {
namespace {

constexpr const char* kKinds[] = {"check", "sample", "problem", "skipped"};

std::optional<uint64_t> Number(const std::string& text) {
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<RecordKind> KindOf(const std::string& text) {
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    if (text == kKinds[i]) return static_cast<RecordKind>(i);
  }
  return std::nullopt;
}

bool ApplyRecord(const std::vector<std::string>& f, FeedState& state) {
  if (f.size() != 12 || (f[9] != "0" && f[9] != "1")) return false;
  const std::optional<RecordKind> kind = KindOf(f[1]);
  const std::optional<uint64_t> time = Number(f[2]);
  if (!kind || !time) return false;
  Record r{*kind, *time, f[3], f[4], f[5], f[6], f[7], f[8], f[9] == "1", f[10], f[11]};
  if (r.kind == RecordKind::kCheck && r.pass) ++state.passed;
  if ((r.kind == RecordKind::kCheck && !r.pass) || r.kind == RecordKind::kProblem) ++state.failed;
  state.records.push_back(std::move(r));
  return true;
}

bool ApplyAbout(const std::vector<std::string>& f, FeedState& state) {
  if (f.size() % 2 != 1) return false;
  RunIdentity identity;
  for (size_t i = 1; i < f.size(); i += 2) {
    const std::string& name = f[i];
    const std::string& value = f[i + 1];
    if (name == "timestamp") {
      identity.timestamp = value;
    } else if (name == "hostname") {
      identity.hostname = value;
    } else if (name == "chip") {
      identity.chip = value;
    } else if (name == "link") {
      identity.link = value;
    } else if (name == "plugin") {
      identity.plugin = value;
    } else if (name == "plugin_version") {
      identity.plugin_version = value;
    } else if (name == "handset") {
      identity.handset = value;
    } else if (name == "benchora_version") {
      identity.benchora_version = value;
    } else if (name == "dut") {
      identity.dut = value;
    } else if (name == "script") {
      identity.scripts.emplace_back(value, "");
    } else if (name == "script_sha256" && !identity.scripts.empty()) {
      identity.scripts.back().second = value;
    } else {
      return false;
    }
  }
  state.identity = std::move(identity);
  return true;
}

}  // namespace

std::string FeedLine(const std::vector<std::string>& fields) {
  std::string out;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += '\t';
    for (const char c : fields[i]) {
      switch (c) {
        case '\\':
          out += "\\\\";
          break;
        case '\t':
          out += "\\t";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\n':
          out += "\\n";
          break;
        default:
          out += c;
      }
    }
  }
  return out + '\n';
}

std::optional<std::vector<std::string>> FeedFields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c != '\\') {
      fields.back() += c;
    } else if (++i >= line.size()) {
      return std::nullopt;
    } else if (line[i] == '\\') {
      fields.back() += '\\';
    } else if (line[i] == 't') {
      fields.back() += '\t';
    } else if (line[i] == 'r') {
      fields.back() += '\r';
    } else if (line[i] == 'n') {
      fields.back() += '\n';
    } else {
      return std::nullopt;
    }
  }
  return fields;
}

bool ApplyFeedLine(std::string_view line, FeedState& state) {
  const std::optional<std::vector<std::string>> fields = FeedFields(line);
  if (!fields) return false;
  const std::vector<std::string>& f = *fields;
  if (f[0] == "step" && f.size() == 4) {
    const std::optional<uint64_t> index = Number(f[1]);
    const std::optional<uint64_t> total = Number(f[2]);
    if (!index || !total) return false;
    state.step = static_cast<size_t>(*index);
    state.total = static_cast<size_t>(*total);
    state.action = f[3];
    return true;
  }
  if (f[0] == "record") return ApplyRecord(f, state);
  if (f[0] == "about") return ApplyAbout(f, state);
  return false;
}

std::unique_ptr<ProgressFeed> ProgressFeed::Open(const std::string& path) {
  auto feed = std::make_unique<ProgressFeed>();
  feed->file_.reset(std::fopen(path.c_str(), "wb"));
  if (!feed->file_) return nullptr;
  return feed;
}

void ProgressFeed::Write(const std::vector<std::string>& fields) {
  const std::string line = FeedLine(fields);
  const std::lock_guard lock(mutex_);
  static_cast<void>(std::fwrite(line.data(), 1, line.size(), file_.get()));
  static_cast<void>(std::fflush(file_.get()));
}

void ProgressFeed::Step(size_t index, size_t total, const std::string& text) {
  Write({"step", std::to_string(index), std::to_string(total), text});
}

void ProgressFeed::Add(const Record& r) {
  Write({"record", kKinds[static_cast<size_t>(r.kind)], std::to_string(r.time_ms), r.origin, r.name,
         r.value, r.unit, r.low, r.high, r.pass ? "1" : "0", r.message, r.test});
}

void ProgressFeed::About(const RunIdentity& identity) {
  std::vector<std::string> fields = {"about"};
  const auto add = [&fields](const std::string& name, const std::string& value) {
    if (value.empty()) return;
    fields.push_back(name);
    fields.push_back(value);
  };
  add("timestamp", identity.timestamp);
  add("hostname", identity.hostname);
  for (const auto& [name, value] : identity.Properties()) {
    // Properties number the second script's names; the feed repeats "script".
    if (name.starts_with("script")) continue;
    add(name, value);
  }
  for (const auto& [path, sha] : identity.scripts) {
    fields.push_back("script");
    fields.push_back(path);
    fields.push_back("script_sha256");
    fields.push_back(sha);
  }
  Write(fields);
}

}  // namespace benchora
