// tessic-soak: long runs of the second-generation link against the
// simulated handset in this process (loopback, a free port) with a random
// mix of its faults, counting replies taken for another command.
//
//  transport  exchanges through TESSIC.dll directly; each command's reply is
//             known from a reference interpreter (commands without side
//             effects: RSSI measured at a frequency, LNA table, version,
//             power on), so any reply that is not its own command's counts
//             as wrong;
//  panel      clicks through the second-generation panel: a station set, or
//             "Read All" whose band limits must read as the handset has
//             them; a click without a fault of its own that logs "Error",
//             or a read-out that differs, counts as wrong.
//
// Prints exchanges, wrong replies, hangs (an attempt longer than the
// deadline plus 250 ms), the longest attempt, and the RSS and open
// descriptors at start and end.
#include <dirent.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fmr-sim/gen2/at_commands.h"
#include "fmr-sim/gen2/at_server.h"
#include "fmr-sim/gen2/fault_plan.h"
#include "gen2/transport_wrapper.h"
#include "gen2_panel/frm_drusk_gui.h"
#include "tessic_api.h"
#include "ui/application.h"
#include "ui/automation.h"
#include "ui/headless/headless_services.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kTimeoutMs = 200;
constexpr auto kHangMargin = milliseconds(250);

// Faults each picked with the same chance; each applies to one command.
constexpr const char* kFaults[] = {"late",  "trickle=2", "duplicate", "partial",
                                   "stray", "garbage",   "delay=300", "delay=20",
                                   "drop",  "error",     "malformed", "oversize=3000"};

long RssKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

int OpenDescriptors() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (const dirent* entry = ::readdir(dir)) count += entry->d_name[0] != '.';
    ::closedir(dir);
    --count;  // the directory's own
  }
  return count;
}

struct Figures {
  long exchanges = 0, faulted = 0, failed = 0, wrong = 0, hangs = 0;
  Clock::duration longest{};
  long rss_start = 0, rss_end = 0;
  int fds_start = 0, fds_end = 0;
  void Print(const char* name) const {
    std::printf(
        "%s: %ld exchanges (%ld with a fault, %ld failed), %ld wrong replies, %ld hangs beyond "
        "the deadline, longest %.1f ms; RSS %ld -> %ld KiB, descriptors %d -> %d\n",
        name, exchanges, faulted, failed, wrong, hangs,
        std::chrono::duration<double, std::milli>(longest).count(), rss_start, rss_end, fds_start,
        fds_end);
  }
};

std::unique_ptr<fmrsim::AtServer> StartHandset() {
  fmrsim::AtServerConfig config;
  config.port = 0;
  std::string error;
  auto server = fmrsim::AtServer::Start(std::move(config), error);
  if (!server) {
    std::fprintf(stderr, "tessic-soak: %s\n", error.c_str());
    return nullptr;
  }
  const std::string address = "127.0.0.1:" + std::to_string(server->port());
  ::setenv("TESSIC_AT_SERVER", address.c_str(), 1);
  return server;
}

void AddFault(fmrsim::AtServer& server, const char* fault) {
  std::string error;
  server.faults().Add(*fmrsim::ParseFaultRule(std::string(fault) + ",count=1", error));
}

// The text of a reply as TESSIC_recv hands it out.
std::string ReplyText(const fmrsim::AtReply& reply) {
  std::string text;
  for (const std::string& line : reply.lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

bool RunTransport(long count, Clock::time_point end, double fault_share, std::mt19937& random,
                  Figures& f) {
  const auto server = StartHandset();
  if (!server) return false;
  void* library = ::dlopen(SONVIO_BIN_DIR "/TESSIC.dll", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return false;
#define CALL(name) reinterpret_cast<decltype(&name)>(::dlsym(library, #name))
  const int32_t channel =
      CALL(TESSIC_DedChOpen)(CALL(TESSIC_SessionOpen)("FMR/TCPIPc_127.0.0.1:27018", ""));
  if (channel < 0 || CALL(TESSIC_set_timeout)(channel, kTimeoutMs) != 0) return false;
  const auto send = CALL(TESSIC_send);
  const auto recv = CALL(TESSIC_recv);

  // The commands and their replies, from an interpreter of its own.
  fmrsim::RadioModel radio;
  fmrsim::AtCommands reference(radio);
  struct Command {
    std::string line, text;  // and the text of its reply
    bool ok = true;          // its reply ends with "OK"
  };
  std::vector<Command> commands;
  for (uint32_t hz = 87500000; hz <= 108000000; hz += 50000) {
    const std::string line = "at@audapp:fmrx_measure_rssi(" + std::to_string(hz) + ",1)";
    const fmrsim::AtReply reply = reference.Execute(line);
    commands.push_back({line, ReplyText(reply), reply.ok});
  }
  for (const char* line :
       {"at@audapp:fmrx_get_lna_cfg()", "at@audapp:fmr_get_version()", "at@audapp:fmrx_enable()"}) {
    const fmrsim::AtReply reply = reference.Execute(line);
    commands.push_back({line, ReplyText(reply), reply.ok});
  }
  std::vector<char> buffer(0x10000);
  std::uniform_real_distribution<double> chance(0, 1);
  f.rss_start = RssKiB();
  f.fds_start = OpenDescriptors();
  for (long i = 0; i < count && (i % 256 != 0 || Clock::now() < end); ++i) {
    // Mostly the same few commands, so identical ones often follow each other.
    const auto& [line, expected, ok] =
        commands[chance(random) < 0.5 ? commands.size() - 1 - random() % 3
                                      : random() % commands.size()];
    const char* fault = nullptr;
    if (chance(random) < fault_share) {
      fault = kFaults[random() % std::size(kFaults)];
      AddFault(*server, fault);
      ++f.faulted;
    }
    const auto start = Clock::now();
    int32_t status = TESSIC_RECV_FAILED;
    if (send(channel, line.data(), static_cast<int32_t>(line.size())) == 0) {
      do {
        status = recv(channel, buffer.data(), static_cast<int32_t>(buffer.size()));
      } while (status == TESSIC_RECV_PENDING);
    }
    const auto took = Clock::now() - start;
    ++f.exchanges;
    f.longest = std::max(f.longest, took);
    if (took > milliseconds(kTimeoutMs) + kHangMargin) ++f.hangs;
    if (status == TESSIC_RECV_FAILED) {
      ++f.failed;
      continue;
    }
    const std::string text(buffer.data());
    // The faults that change the answer itself: its own answer, changed.
    bool own = status == (ok ? TESSIC_RECV_COMPLETE : TESSIC_RECV_ERROR) && text == expected;
    if (fault != nullptr && std::strcmp(fault, "error") == 0) own = status == TESSIC_RECV_ERROR;
    if (fault != nullptr && std::strcmp(fault, "malformed") == 0) {
      own = text.size() >= expected.size() && text.find('?') != std::string::npos;
    }
    if (fault != nullptr && std::strncmp(fault, "oversize", 8) == 0) own = text.size() >= 2900;
    if (!own) {
      ++f.wrong;
      std::fprintf(stderr, "wrong reply to %s (%s): %.80s\n", line.c_str(),
                   fault ? fault : "no fault", text.c_str());
    }
  }
  f.rss_end = RssKiB();
  f.fds_end = OpenDescriptors();
  ::dlclose(library);
#undef CALL
  return true;
}

// Records whether a click logged "Error".
class Host : public common::HostLink {
 public:
  bool Send(common::HostChannel, uint16_t, uint16_t, const void*, uint16_t& reply_length,
            void*) override {
    reply_length = 0;
    return false;
  }
  std::optional<std::string_view> LastError() override { return "No errors"; }
  void Log(const char* text, common::LogFlag flag) override {
    errors += flag == common::LogFlag::kFailure && std::strcmp(text, "Error") == 0;
  }
  long errors = 0;
};

bool RunPanel(long count, Clock::time_point end, double fault_share, std::mt19937& random,
              Figures& f) {
  const auto server = StartHandset();
  if (!server) return false;
  const std::string timeout = std::to_string(kTimeoutMs);
  ::setenv("TESSIC_TIMEOUT_MS", timeout.c_str(), 1);
  ui::HeadlessServices services;
  ui::Application app(services);
  Host host;
  gen2_panel::Tfrm_DruskGUI panel(app, common::ModuleContext{host, services});
  panel.Show();
  for (const char* command :
       {"select cb_audiooutput Headset", "click btn_onoff", "click btn_readall"}) {
    ui::RunAutomation(panel, command);
  }
  const std::string max = ui::RunAutomation(panel, "get le_maxfreq");
  const std::string min = ui::RunAutomation(panel, "get le_minfreq");
  if (host.errors != 0) return false;
  std::uniform_real_distribution<double> chance(0, 1);
  f.rss_start = RssKiB();
  f.fds_start = OpenDescriptors();
  for (long i = 0; i < count && (i % 64 != 0 || Clock::now() < end); ++i) {
    const bool read = chance(random) < 0.3;
    if (!read) {
      const uint32_t hz = 87500000 + 100000 * static_cast<uint32_t>(random() % 206);
      ui::RunAutomation(panel, "type le_frequency " + std::to_string(hz));
    }
    const bool faulted = chance(random) < fault_share;
    if (faulted) {
      AddFault(*server, kFaults[random() % std::size(kFaults)]);
      ++f.faulted;
    }
    const long errors_before = host.errors;
    const auto start = Clock::now();
    ui::RunAutomation(panel, read ? "click btn_readall" : "click btn_set_station");
    const auto took = Clock::now() - start;
    ++f.exchanges;
    f.longest = std::max(f.longest, took);
    // Three attempts at most, each within the deadline.
    if (took > 3 * (milliseconds(kTimeoutMs) + kHangMargin)) ++f.hangs;
    const bool error = host.errors != errors_before;
    f.failed += error;
    const bool readouts = !read || (ui::RunAutomation(panel, "get le_maxfreq") == max &&
                                    ui::RunAutomation(panel, "get le_minfreq") == min);
    if ((error && !faulted) || !readouts) {
      ++f.wrong;
      std::fprintf(stderr, "wrong outcome of click %ld (%s)\n", i, faulted ? "faulted" : "clean");
    }
  }
  f.rss_end = RssKiB();
  f.fds_end = OpenDescriptors();
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tessic-soak transport|panel [--count N] [--seconds S] [--faults SHARE] "
               "[--seed N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string mode = argv[1];
  long count = 100000;
  double seconds = 30;
  double fault_share = 0.02;
  unsigned seed = 1;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--count") {
      count = std::strtol(argv[i + 1], nullptr, 10);
    } else if (option == "--seconds") {
      seconds = std::strtod(argv[i + 1], nullptr);
    } else if (option == "--faults") {
      fault_share = std::strtod(argv[i + 1], nullptr);
    } else if (option == "--seed") {
      seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    } else {
      return Usage();
    }
  }
  std::mt19937 random(seed);
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(seconds));
  Figures figures;
  bool ran = false;
  if (mode == "transport") {
    ran = RunTransport(count, end, fault_share, random, figures);
  } else if (mode == "panel") {
    ran = RunPanel(count, end, fault_share, random, figures);
    MANAGED_IF::TransportWrapper::Unload();
  } else {
    return Usage();
  }
  if (!ran) {
    std::fprintf(stderr, "tessic-soak: the %s run could not start\n", mode.c_str());
    return 1;
  }
  figures.Print(mode.c_str());
  return figures.wrong == 0 && figures.hangs == 0 ? 0 : 1;
}
