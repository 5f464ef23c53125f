#include "station/station_run.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/platform.h"
#include "report/csv_report.h"
#include "report/junit_report.h"
#include "report/report_file.h"
#include "report/run_guard.h"
#include "station/child_process.h"
#include "station/station_view.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace benchora {
namespace fs = std::filesystem;
namespace {

using Clock = std::chrono::steady_clock;

// How long a handset's run may outlive its own --timeout (it writes its
// reports then), and a stopped one its stop, before it is killed.
constexpr auto kGrace = std::chrono::seconds(10);
constexpr auto kPollInterval = std::chrono::milliseconds(100);

bool IsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdout)) != 0;
#else
  return isatty(fileno(stdout)) != 0;
#endif
}

std::string DefaultFolder() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[32];
  const size_t n = std::strftime(text, sizeof text, "station-%Y%m%d-%H%M%S", &local);
  return std::string(text, n);
}

// Reads what a handset's run appended to its progress file since the last call.
class FeedFollower {
 public:
  explicit FeedFollower(std::string path) : path_(std::move(path)) {}
  // True when something new was read.
  bool Follow(FeedState& state) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    in.seekg(static_cast<std::streamoff>(offset_));
    std::string chunk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    offset_ += chunk.size();
    pending_ += chunk;
    bool changed = false;
    size_t end = 0;
    while ((end = pending_.find('\n')) != std::string::npos) {
      changed = ApplyFeedLine(std::string_view(pending_).substr(0, end), state) || changed;
      pending_.erase(0, end + 1);
    }
    return changed;
  }

 private:
  std::string path_;
  size_t offset_ = 0;
  std::string pending_;  // a line not yet complete
};

struct Handset {
  StationHandset entry;  // its line of the station file
  HandsetStatus status;
  std::string folder;
  std::unique_ptr<ChildProcess> child;
  std::unique_ptr<FeedFollower> feed;
  Clock::time_point started;
  std::optional<Clock::time_point> kill_at;  // once stopped, or past its timeout
  std::string why;                           // what the station itself says went wrong with it
};

// The progress, shown in place on a terminal and line by line elsewhere.
class ProgressDisplay {
 public:
  explicit ProgressDisplay(bool terminal) : terminal_(terminal) {}
  void Show(const std::vector<Handset>& handsets) {
    std::vector<HandsetStatus> statuses;
    for (const Handset& h : handsets) statuses.push_back(h.status);
    const std::vector<std::string> lines = ProgressLines(statuses);
    if (terminal_) {
      std::string out;
      if (drawn_ > 0) out += "\033[" + std::to_string(drawn_) + "A";
      for (const std::string& line : lines) out += "\r\033[2K" + line + "\n";
      drawn_ = lines.size();
      std::fputs(out.c_str(), stdout);
    } else {
      shown_.resize(lines.size());
      for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == shown_[i]) continue;
        shown_[i] = lines[i];
        std::fputs((lines[i] + "\n").c_str(), stdout);
      }
    }
    std::fflush(stdout);
  }

 private:
  bool terminal_;
  size_t drawn_ = 0;
  std::vector<std::string> shown_;
};

// A library of the program folder in a handset's folder: a hard link where
// the file system allows it, else a symbolic link (not on Windows, where it
// takes a privilege), else a copy. A library missing here shows in the
// handset's run, which names what it could not load.
void ProvideLibrary(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::remove(to, ec);
  fs::create_hard_link(from, to, ec);
#ifndef _WIN32
  if (ec) fs::create_symlink(fs::absolute(from, ec), to, ec);
#endif
  if (ec) fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
}

// The handset's run as a record of its own, for the reports.
Record StationProblem(const Handset& h, const std::string& why) {
  Record r;
  r.kind = RecordKind::kProblem;
  r.origin = h.status.progress.action.empty() ? "benchora" : h.status.progress.action;
  r.name = "station";
  r.pass = false;
  r.message = why;
  r.test = "run of " + h.entry.name;
  // The origin names the step; a script's step keeps its file:line.
  const size_t colon = r.origin.find(": ");
  if (colon != std::string::npos) r.origin = r.origin.substr(0, colon);
  return r;
}

// A run that failed once its time was up timed out: its own limit started
// after the station's, so it never ends before the station's deadline.
HandsetEnding EndingOf(int status, bool stopping, bool past_deadline) {
  if (status == 0) return HandsetEnding::kPassed;
  if (stopping) return HandsetEnding::kStopped;
  if (past_deadline) return HandsetEnding::kTimedOut;
  return HandsetEnding::kFailed;
}

}  // namespace

std::vector<std::string> HandsetArguments(const Options& options, const StationHandset& handset,
                                          const std::string& plugin, const std::string& folder) {
  const auto in = [&folder](const char* name) { return (fs::path(folder) / name).string(); };
  std::vector<std::string> args = {"--chip", handset.chip == Chip::kGen2 ? "gen2" : "gen1",
                                   "--plugin", plugin};
  if (handset.link != "sim") {
    args.push_back("--at-server");
    args.push_back(handset.link);
  }
  for (const std::string& rule : handset.faults) {
    args.push_back("--fault");
    args.push_back(rule);
  }
  for (const auto& [option, value] : options.command_sources) {
    args.push_back(option);
    args.push_back(value);
  }
  if (options.rds) args.push_back("--rds");
  if (options.strict) args.push_back("--strict");
  if (options.timeout_s > 0) {
    args.push_back("--timeout");
    args.push_back(std::to_string(options.timeout_s));
  }
  const std::vector<std::string> own = {"--dut",          handset.name,      "--report",
                                        in("report.xml"), "--csv",           in("report.csv"),
                                        "--progress-to",  in("progress.tsv")};
  args.insert(args.end(), own.begin(), own.end());
  return args;
}

int RunStation(const Options& options) {
  std::string error;
  const auto fail = [](const std::string& why) {
    std::fprintf(stderr, "benchora: %s\n", why.c_str());
    return 2;
  };
  const std::optional<std::vector<StationHandset>> entries =
      ReadStationFile(options.station, error);
  if (!entries) return fail(error);

  std::error_code ec;
  // The platform's own separators throughout (the table shows the paths).
  const fs::path out =
      fs::absolute(options.out.empty() ? DefaultFolder() : options.out, ec).make_preferred();
  // The station's reports are made now, so that one that cannot be written
  // stops the station before anything starts.
  ReportFile junit;
  ReportFile csv;
  if ((!options.report.empty() && !junit.Open(options.report, error)) ||
      (!options.csv.empty() && !csv.Open(options.csv, error))) {
    return fail(error);
  }
  const std::string program_folder = platform::ProgramFolder();
  const std::string plugin =
      fs::absolute(options.plugin.empty() ? program_folder + "Sonvio.dll" : options.plugin, ec)
          .string();
  const std::string transport = program_folder + "TESSIC.dll";

  std::vector<Handset> handsets(entries->size());
  for (size_t i = 0; i < entries->size(); ++i) {
    Handset& h = handsets[i];
    h.entry = (*entries)[i];
    h.folder = (out / h.entry.name).string();
    h.status.name = h.entry.name;
    h.status.link = h.entry.link;
    h.status.report = (out / h.entry.name / "report.xml").string();
    fs::create_directories(h.folder, ec);
    if (ec) return fail("cannot make the folder " + h.folder + ": " + ec.message());
    // The panel reads its version off Sonvio.dll in its program folder, and
    // the second generation loads the transport from there.
    ProvideLibrary(plugin, fs::path(h.folder) / "Sonvio.dll");
    if (h.entry.chip == Chip::kGen2) ProvideLibrary(transport, fs::path(h.folder) / "TESSIC.dll");
  }

  // Ctrl+C and SIGTERM stop every handset; the station still reports.
  std::mutex stop_mutex;
  std::optional<RunEnding> stop;
  const auto guard = RunGuard::Start(0, [&stop_mutex, &stop](const RunEnding& ending) {
    const std::lock_guard lock(stop_mutex);
    stop = ending;
  });

  // Every run is benchora's own handset: no AT server of the environment.
  SetChildEnvironment("TESSIC_AT_SERVER", "");
  const std::string self = platform::ProgramPath();
  for (Handset& h : handsets) {
    SetChildEnvironment("SONVIO_PROGRAM_DIR", h.folder);
    SetChildEnvironment("SONVIO_CONFIG_DIR", h.folder);
    h.feed = std::make_unique<FeedFollower>((fs::path(h.folder) / "progress.tsv").string());
    std::error_code ignored;
    fs::remove(fs::path(h.folder) / "progress.tsv", ignored);
    h.started = Clock::now();
    h.child = ChildProcess::Start(self, HandsetArguments(options, h.entry, plugin, h.folder),
                                  (fs::path(h.folder) / "transcript.txt").string(), error);
    if (!h.child) {
      h.status.ending = HandsetEnding::kNotStarted;
      h.why = error;
    }
  }

  ProgressDisplay display(IsTerminal());
  bool stopping = false;
  RunEnding stopped_by;
  for (;;) {
    bool running = false;
    const Clock::time_point now = Clock::now();
    {
      const std::lock_guard lock(stop_mutex);
      if (stop && !stopping) {
        stopping = true;
        stopped_by = *stop;
        for (Handset& h : handsets) {
          if (h.child && h.status.ending == HandsetEnding::kRunning) {
            h.child->Interrupt();
            h.kill_at = now + kGrace;
          }
        }
      }
    }
    for (Handset& h : handsets) {
      if (h.status.ending != HandsetEnding::kRunning) continue;
      h.feed->Follow(h.status.progress);
      h.status.seconds = std::chrono::duration<double>(now - h.started).count();
      const Clock::time_point deadline = h.started + std::chrono::seconds(options.timeout_s);
      const bool past_deadline = options.timeout_s > 0 && now >= deadline;
      if (const std::optional<int> status = h.child->Poll()) {
        h.feed->Follow(h.status.progress);
        h.status.ending = EndingOf(*status, stopping, past_deadline);
        continue;
      }
      running = true;
      if (past_deadline && !h.kill_at) h.kill_at = deadline + kGrace;
      if (h.kill_at && now >= *h.kill_at) {
        // It outlived its own timeout (or its stop): it wrote nothing more.
        h.child->Kill();
        h.why = stopping ? "stopped by " + stopped_by.cause
                         : "timed out after " + std::to_string(options.timeout_s) +
                               " s and killed, at " +
                               (h.status.progress.action.empty() ? std::string("its start")
                                                                 : h.status.progress.action);
      }
    }
    display.Show(handsets);
    if (!running) break;
    platform::SleepMs(static_cast<uint32_t>(kPollInterval.count()));
  }

  // The reports: each handset's records as its run told them, and what the
  // station itself saw go wrong (a run that could not start, or was killed).
  std::vector<HandsetReport> reports;
  bool all_passed = true;
  for (Handset& h : handsets) {
    HandsetReport report{h.entry.name, h.status.progress.identity, h.status.progress.records};
    if (report.identity.dut.empty()) report.identity.dut = h.entry.name;
    if (report.identity.chip.empty())
      report.identity.chip = h.entry.chip == Chip::kGen2 ? "gen2" : "gen1";
    if (!h.why.empty()) {
      report.records.push_back(StationProblem(h, h.why));
      ++h.status.progress.failed;
    }
    all_passed = all_passed && h.status.ending == HandsetEnding::kPassed;
    reports.push_back(std::move(report));
  }
  std::string problems;
  if (junit.is_open()) {
    static_cast<void>(junit.Write(JunitStationXml(reports)));
    if (std::string why; !junit.Commit(why)) problems += why + "\n";
  }
  if (csv.is_open()) {
    static_cast<void>(csv.Write(CsvStation(options.station, reports)));
    if (std::string why; !csv.Commit(why)) problems += why + "\n";
  }
  std::vector<HandsetStatus> statuses;
  for (const Handset& h : handsets) statuses.push_back(h.status);
  std::printf("\n%s", FinalTable(statuses).c_str());
  for (const Handset& h : handsets) {
    if (!h.why.empty()) std::printf("%s: %s\n", h.entry.name.c_str(), h.why.c_str());
    // A handset that failed before any check passed (its link did not open,
    // say): benchora's notes and hints from its transcript.
    if (h.status.ending == HandsetEnding::kPassed || h.status.progress.passed > 0) continue;
    std::ifstream transcript(fs::path(h.folder) / "transcript.txt");
    for (std::string line; std::getline(transcript, line);) {
      if (line.starts_with("benchora: "))
        std::printf("%s: %s\n", h.entry.name.c_str(), line.substr(10).c_str());
    }
  }
  std::fflush(stdout);
  if (!problems.empty()) std::fprintf(stderr, "benchora: %s", problems.c_str());
  if (stopping) return stopped_by.exit_code;
  return all_passed && problems.empty() ? 0 : 1;
}

}  // namespace benchora
