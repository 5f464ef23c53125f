// The transport stand-in over a serial AT port: TESSIC.dll, bound by name as
// the plug-in binds it, with TESSIC_AT_SERVER=serial:PATH against the
// simulated handset on a pseudo-terminal. Whole reply texts for each way the
// device talks (echo, line ends, pieces, unsolicited lines); the port held
// for one session alone and free again for any user once closed; the mode of
// the device while open and after; a device pulled half way through a reply;
// and the second-generation tour through benchora on the port.
#include <dlfcn.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fmr-sim/pty/pty_server.h"
#include "fmr-sim/pty/unique_fd.h"
#include "tessic_api.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Reply = std::pair<int32_t, std::string>;  // receive status and text
using fmrsim::pty::PtyServer;
using fmrsim::pty::PtyServerConfig;

// A read of several reply lines.
constexpr char kRead[] = "at@audapp:fmrx_get_static_config()";
constexpr char kReadReply[] =
    "{108000000,87500000,100000,0}\r\n0,0,0\r\n{1,0}\r\n{0,10,60},0\r\n{20,40,1}\r\n{12,3,1}"
    "\r\n3\r\n{80, 80}";
// A well-formed connection text; the override replaces its address.
constexpr char kConnection[] = "FMR/TCPIPc_127.0.0.1:1";

#define CALL(name) reinterpret_cast<decltype(&name)>(::dlsym(library_.get(), #name))

class Tessic {
 public:
  Tessic() : library_(::dlopen(SONVIO_BIN_DIR "/TESSIC.dll", RTLD_NOW | RTLD_LOCAL), ::dlclose) {
    if (!library_) throw std::runtime_error("cannot load TESSIC.dll");
  }
  int32_t Open(const std::string& target) const {
    ::setenv("TESSIC_AT_SERVER", target.c_str(), 1);
    return CALL(TESSIC_SessionOpen)(kConnection, "");
  }
  bool Close(int32_t session) const { return CALL(TESSIC_SessionClose)(session) != 0; }
  int32_t Channel(int32_t session) const { return CALL(TESSIC_DedChOpen)(session); }
  int32_t Send(int32_t channel, const std::string& text) const {
    return CALL(TESSIC_send)(channel, text.data(), static_cast<int32_t>(text.size()));
  }
  // Receives until a final status, for at most 5 s.
  Reply Await(int32_t channel) const {
    std::vector<char> buffer(0x10000);
    const auto end = Clock::now() + 5s;
    int32_t status = TESSIC_RECV_PENDING;
    while (status == TESSIC_RECV_PENDING && Clock::now() < end) {
      status = CALL(TESSIC_recv)(channel, buffer.data(), static_cast<int32_t>(buffer.size()));
    }
    return {status, status == TESSIC_RECV_PENDING ? "" : buffer.data()};
  }
  Reply Exchange(int32_t channel, const std::string& command) const {
    if (Send(channel, command) != 0) return {TESSIC_RECV_FAILED, "send failed"};
    return Await(channel);
  }

 private:
  std::unique_ptr<void, int (*)(void*)> library_;
};

std::unique_ptr<PtyServer> StartDevice(PtyServerConfig config) {
  std::string error;
  std::unique_ptr<PtyServer> server = PtyServer::Start(std::move(config), error);
  if (!server) ADD_FAILURE() << "no pseudo-terminal: " << error;
  return server;
}

std::string SerialTarget(const PtyServer& server, const std::string& speed = "") {
  return "serial:" + server.slave_path() + speed;
}

// The same exchanges, on one session each, for each way the device talks:
// the echo the session switches on, the line end, answers written in small
// pieces, and the unsolicited line between or inside answers.
TEST(SerialTessicTest, EachDeviceGivesTheWholeReplyTexts) {
  struct Case {
    const char* name;
    fmrsim::AtLinkOptions link;
    uint32_t split;
    std::vector<Reply> replies;  // of: AT, the read, an unknown command, the read
  };
  // The same replies whatever the device does: the reply lines joined by
  // CR LF, never with an unsolicited line in them.
  const std::vector<Reply> plain = {{TESSIC_RECV_COMPLETE, ""},
                                    {TESSIC_RECV_COMPLETE, kReadReply},
                                    {TESSIC_RECV_ERROR, ""},
                                    {TESSIC_RECV_COMPLETE, kReadReply}};
  // Made by a function rather than designated initializers: GCC 12 at -O2
  // takes the defaulted line end of such a table for uninitialized.
  const auto link = [](bool echo, const char* line_end, uint32_t unsolicited_every,
                       bool unsolicited_inside) {
    fmrsim::AtLinkOptions options;
    options.echo = echo;
    options.line_end = line_end;
    options.unsolicited_every = unsolicited_every;
    options.unsolicited_inside = unsolicited_inside;
    return options;
  };
  fmrsim::AtLinkOptions never_echoing = link(true, "\r\n", 0, false);
  never_echoing.never_echo = true;
  const Case cases[] = {
      {"echo on", link(true, "\r\n", 0, false), 0, plain},
      {"echo off at start", link(false, "\r\n", 0, false), 0, plain},
      {"never echoes", never_echoing, 0, plain},
      {"cr line ends", link(true, "\r", 0, false), 0, plain},
      {"writes of 3 bytes", link(true, "\r\n", 0, false), 3, plain},
      {"writes of 1 byte, cr", link(true, "\r", 0, false), 1, plain},
      {"unsolicited between", link(true, "\r\n", 1, false), 0, plain},
      {"unsolicited inside", link(true, "\r\n", 1, true), 0, plain},
  };
  const Tessic tessic;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyServerConfig config;
    config.link = c.link;
    config.split = c.split;
    const std::unique_ptr<PtyServer> device = StartDevice(std::move(config));
    ASSERT_TRUE(device);
    const int32_t session = tessic.Open(SerialTarget(*device));
    ASSERT_GT(session, 0);
    const int32_t channel = tessic.Channel(session);
    std::vector<Reply> got;
    for (const char* command : {"AT", kRead, "at@nothing:such()", kRead}) {
      got.push_back(tessic.Exchange(channel, command));
    }
    EXPECT_EQ(got, c.replies);
    EXPECT_TRUE(tessic.Close(session));
  }
}

// The port is this session's alone until it is closed, and the refusal says
// who holds it and what usually does.
TEST(SerialTessicTest, ASecondOpenIsRefusedNamingTheHolder) {
  const Tessic tessic;
  const std::unique_ptr<PtyServer> device = StartDevice({});
  ASSERT_TRUE(device);
  const std::string path = device->slave_path();
  const int32_t first = tessic.Open("serial:" + path);
  ASSERT_GT(first, 0);

  std::string comm;
  std::ifstream("/proc/self/comm") >> comm;
  testing::internal::CaptureStderr();
  const int32_t second = tessic.Open("serial:" + path);
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_LT(second, 0);
  EXPECT_EQ(told.substr(0, told.find(". ")), "TESSIC: serial port " + path +
                                                 " is busy: held by process " +
                                                 std::to_string(::getpid()) + " (" + comm + ")");
  EXPECT_NE(told.find("ModemManager"), std::string::npos) << told;
  EXPECT_NE(told.find("ENV{ID_MM_DEVICE_IGNORE}=\"1\""), std::string::npos) << told;

  // The first session goes on; once closed, the port is free again.
  EXPECT_EQ(tessic.Exchange(tessic.Channel(first), kRead), Reply(TESSIC_RECV_COMPLETE, kReadReply));
  EXPECT_TRUE(tessic.Close(first));
  const int32_t third = tessic.Open("serial:" + path);
  ASSERT_GT(third, 0);
  EXPECT_EQ(tessic.Exchange(tessic.Channel(third), "AT"), Reply(TESSIC_RECV_COMPLETE, ""));
  EXPECT_TRUE(tessic.Close(third));
}

// Closing gives the port back as it was found: the exclusive use is given
// up, not only the descriptor. Root may open a port whatever its flag says,
// so a child process opens, closes and opens it again as an ordinary user;
// on a pseudo-terminal the flag would outlive the close, the master being
// open all along. The child's exit status names the step that failed.
TEST(SerialTessicTest, AnOrdinaryUserOpensThePortAgainAfterClosingIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "becoming another user needs root";
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
  const std::unique_ptr<PtyServer> device = StartDevice({});
  ASSERT_TRUE(device);
  const std::string target = "serial:" + device->slave_path();
  ASSERT_EQ(::chmod(device->slave_path().c_str(), 0666), 0);
  const Tessic tessic;
  const uid_t uid = nobody->pw_uid;
  const gid_t gid = nobody->pw_gid;
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(1);
    const int32_t first = tessic.Open(target);
    if (first <= 0 || !tessic.Close(first)) ::_exit(2);
    const int32_t second = tessic.Open(target);
    ::_exit(second > 0 && tessic.Close(second) ? 0 : 3);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  const char* const steps[] = {"opened, closed, opened again", "could not become nobody",
                               "the first open or close failed", "the open after the close failed"};
  EXPECT_EQ(WIFEXITED(status) && WEXITSTATUS(status) < 4 ? steps[WEXITSTATUS(status)] : "died",
            std::string(steps[0]));
}

// A pseudo-terminal whose master the test holds, its slave raw.
struct RawPty {
  fmrsim::pty::UniqueFd master;
  std::string slave;
};

RawPty OpenRawPty() {
  RawPty pty{fmrsim::pty::UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY)), ""};
  char name[256] = {};
  if (!pty.master.valid() || ::grantpt(pty.master.get()) != 0 ||
      ::unlockpt(pty.master.get()) != 0 || ::ptsname_r(pty.master.get(), name, sizeof name) != 0)
    return {};
  const fmrsim::pty::UniqueFd slave(::open(name, O_RDWR | O_NOCTTY));
  termios mode{};
  if (!slave.valid() || ::tcgetattr(slave.get(), &mode) != 0) return {};
  ::cfmakeraw(&mode);
  if (::tcsetattr(slave.get(), TCSANOW, &mode) != 0) return {};
  pty.slave = name;
  return pty;
}

// Reads from `fd` until `end` came (at most 5 s).
std::string ReadUntil(int fd, const std::string& end) {
  std::string got;
  const auto give_up = Clock::now() + 5s;
  while (!got.ends_with(end) && Clock::now() < give_up) {
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, 50) <= 0) continue;
    char chunk[256];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) got.append(chunk, static_cast<size_t>(n));
  }
  return got;
}

// What the device sent for an earlier open and nobody read (half an
// unsolicited line, half a reply line, a whole reply) is stale for the next
// open: it never joins the first line of the new conversation or stands in
// for its answers. The test plays the handset on the master.
TEST(SerialTessicTest, WhatNobodyReadBeforeAnOpenNeverReachesIt) {
  const Tessic tessic;
  for (const std::string stale : {"+FMRX: RS", "half a li", "ERROR\r\nOK\r\n"}) {
    SCOPED_TRACE(stale);
    const RawPty pty = OpenRawPty();
    ASSERT_FALSE(pty.slave.empty());
    ASSERT_EQ(::write(pty.master.get(), stale.data(), stale.size()),
              static_cast<ssize_t>(stale.size()));
    const int32_t session = tessic.Open("serial:" + pty.slave);
    ASSERT_GT(session, 0);
    const int32_t channel = tessic.Channel(session);
    ASSERT_EQ(tessic.Send(channel, "PING"), 0);
    EXPECT_EQ(ReadUntil(pty.master.get(), "PING\r\n"), "ATE1\r\nPING\r\n");
    const std::string answer = "OK\r\nPING\r\npong\r\nOK\r\n";
    ASSERT_EQ(::write(pty.master.get(), answer.data(), answer.size()),
              static_cast<ssize_t>(answer.size()));
    EXPECT_EQ(tessic.Await(channel), Reply(TESSIC_RECV_COMPLETE, "pong"));
    EXPECT_TRUE(tessic.Close(session));
  }
}

TEST(SerialTessicTest, OpeningFailuresAreToldToTheUser) {
  const Tessic tessic;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tessic-serial-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string missing = (folder / "ttyACM9").string();
  const std::string plain_file = (folder / "file").string();
  std::ofstream(plain_file) << "x";
  const std::pair<std::string, std::string> cases[] = {
      {"serial:" + missing, "TESSIC: serial port " + missing + " not found"},
      {"serial:" + plain_file, "TESSIC: " + plain_file + " is not a serial port"},
      {"serial:" + missing + ",1200", "TESSIC: unsupported serial speed '1200'"},
  };
  for (const auto& [target, start] : cases) {
    testing::internal::CaptureStderr();
    EXPECT_LT(tessic.Open(target), 0) << target;
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(told.substr(0, start.size()), start) << told;
  }
  std::filesystem::remove_all(folder);
}

// While open the device is raw, 8N1, without flow control, at the speed
// asked for; closing the session gives it back the mode it had.
TEST(SerialTessicTest, RawAtTheSpeedWhileOpenAndTheOldModeAfter) {
  const Tessic tessic;
  const std::unique_ptr<PtyServer> device = StartDevice({});
  ASSERT_TRUE(device);
  const std::string path = device->slave_path();
  // A descriptor of the test's own to look at the mode through (and to set
  // a cooked one, as a fresh terminal has).
  const int watch = ::open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(watch, 0);
  termios cooked{};
  ASSERT_EQ(::tcgetattr(watch, &cooked), 0);
  cooked.c_lflag |= ICANON | ECHO | ISIG;
  cooked.c_iflag |= ICRNL | IXON;
  cooked.c_oflag |= OPOST | ONLCR;
  cooked.c_cflag |= CRTSCTS;
  ::cfsetispeed(&cooked, B9600);
  ::cfsetospeed(&cooked, B9600);
  ASSERT_EQ(::tcsetattr(watch, TCSANOW, &cooked), 0);
  ASSERT_EQ(::tcgetattr(watch, &cooked), 0);

  const std::pair<const char*, speed_t> speeds[] = {
      {"", B115200}, {",57600", B57600}, {",921600", B921600}};
  for (const auto& [suffix, speed] : speeds) {
    SCOPED_TRACE(suffix);
    const int32_t session = tessic.Open("serial:" + path + suffix);
    ASSERT_GT(session, 0);
    termios open{};
    ASSERT_EQ(::tcgetattr(watch, &open), 0);
    EXPECT_EQ(::cfgetospeed(&open), speed);
    EXPECT_EQ(::cfgetispeed(&open), speed);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(open.c_iflag & (ICRNL | INLCR | IGNCR | IXON | IXOFF), 0u);
    EXPECT_EQ(open.c_oflag & OPOST, 0u);
    EXPECT_EQ(open.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
    EXPECT_EQ(open.c_cc[VMIN], 0);
    EXPECT_EQ(open.c_cc[VTIME], 0);
    EXPECT_TRUE(tessic.Close(session));
    termios after{};
    ASSERT_EQ(::tcgetattr(watch, &after), 0);
    EXPECT_EQ(std::memcmp(&after, &cooked, sizeof after), 0);
  }
  ::close(watch);
}

// The device is pulled half way through a reply: the receive fails as on a
// dropped TCP connection, and both the old session and a new one work once
// the device is back.
TEST(SerialTessicTest, AHangUpMidReplyFailsAndTheNewDeviceServes) {
  const Tessic tessic;
  PtyServerConfig config;
  config.link.hangup_after = 3;  // "ATE1", "AT", then the read half answered
  std::atomic<int> closes = 0;
  config.log = [&](const std::string& line) {
    if (line == "reader closed the device") ++closes;
  };
  const std::unique_ptr<PtyServer> device = StartDevice(std::move(config));
  ASSERT_TRUE(device);
  const std::string first = device->slave_path();
  const int32_t session = tessic.Open("serial:" + first);
  ASSERT_GT(session, 0);
  const int32_t channel = tessic.Channel(session);
  EXPECT_EQ(tessic.Exchange(channel, "AT"), Reply(TESSIC_RECV_COMPLETE, ""));
  const auto sent = Clock::now();
  EXPECT_EQ(tessic.Exchange(channel, kRead), Reply(TESSIC_RECV_FAILED, ""));
  EXPECT_LT(Clock::now() - sent, 5s) << "the hang-up, not a timeout, ends the receive";
  for (int i = 0; i < 250 && device->devices() < 2; ++i) std::this_thread::sleep_for(20ms);
  ASSERT_EQ(device->devices(), 2u);
  // The kernel may give the new device the number the old one had: then the
  // session's next command opens the port again and is answered; on a new
  // path the old one is gone and the command cannot be sent.
  const std::string second = device->slave_path();
  if (second == first) {
    EXPECT_EQ(tessic.Exchange(channel, kRead), Reply(TESSIC_RECV_COMPLETE, kReadReply));
  } else {
    EXPECT_EQ(tessic.Send(channel, kRead), -1) << "the old path is gone";
  }
  EXPECT_TRUE(tessic.Close(session));
  // The simulated device starts a new conversation once it has seen the
  // reader go, as a handset's port is opened afresh.
  for (int i = 0; i < 250 && second == first && closes == 0; ++i) {
    std::this_thread::sleep_for(20ms);
  }

  const int32_t again = tessic.Open("serial:" + second);
  ASSERT_GT(again, 0);
  EXPECT_EQ(tessic.Exchange(tessic.Channel(again), kRead), Reply(TESSIC_RECV_COMPLETE, kReadReply));
  EXPECT_TRUE(tessic.Close(again));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string RunShell(const std::string& command, int& status) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, n);
  const int raw = ::pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return text;
}

// Everything after the first line (benchora's note naming the AT server),
// with the pixel positions left out as the tour test leaves them out.
std::string AfterFirstLine(const std::string& text) {
  static const std::regex bounds(" bounds=-?[0-9]+,-?[0-9]+,[0-9]+,[0-9]+");
  const size_t end = text.find('\n');
  return std::regex_replace(end == std::string::npos ? "" : text.substr(end + 1), bounds, "");
}

// The second-generation tour through benchora, the plug-in and TESSIC.dll
// on the serial port gives the transcript it gives over TCP: with the echo
// the session switches on, and on a device that also sends unsolicited
// lines inside and between replies in small pieces. The transport's trace
// has each of those lines, and only there.
TEST(SerialTessicTest, TheGen2TourOverTheSerialPortGivesTheTcpTranscript) {
  const std::string expected =
      AfterFirstLine(ReadFile(std::string(SOURCE_DIR) + "/tests/e2e/gen2_tour.expected"));
  struct Case {
    const char* name;
    fmrsim::AtLinkOptions link;
    uint32_t split;
  };
  const Case cases[] = {
      {"echo", {.echo = true}, 0},
      {"unsolicited inside, pieces", {.unsolicited_every = 2, .unsolicited_inside = true}, 5},
      {"unsolicited between, cr", {.line_end = "\r", .unsolicited_every = 3}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyServerConfig config;
    config.link = c.link;
    config.split = c.split;
    const std::unique_ptr<PtyServer> device = StartDevice(std::move(config));
    ASSERT_TRUE(device);
    const std::filesystem::path settings = std::filesystem::temp_directory_path() /
                                           ("sonvio-serial-tour-" + std::to_string(::getpid()));
    std::filesystem::remove_all(settings);
    std::filesystem::create_directories(settings);
    const std::string trace = (settings / "trace.txt").string();
    const std::string command = "cd \"" + std::string(SOURCE_DIR) + "\" && SONVIO_CONFIG_DIR=\"" +
                                settings.string() + "\" TESSIC_TRACE=\"" + trace +
                                "\" SONVIO_CLOCK=1796000000 \"" + BENCHORA_PATH +
                                "\" --chip gen2 --at-server " + SerialTarget(*device) +
                                " --strict --script tours/gen2.txt 2>&1";
    int status = -1;
    const std::string text = RunShell(command, status);
    const std::string traced = ReadFile(trace);
    std::filesystem::remove_all(settings);
    ASSERT_EQ(status, 0) << text;
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "benchora: AT server " + SerialTarget(*device) +
                  " (from --at-server; the embedded one is not started)");
    EXPECT_EQ(AfterFirstLine(text), expected);
    size_t unsolicited = 0;
    for (size_t at = 0; (at = traced.find("+FMRX", at)) != std::string::npos; ++at) {
      ++unsolicited;
      EXPECT_EQ(traced.compare(at - 14, 29, ": unsolicited +FMRX: RSSI 32\n"), 0);
    }
    // The device answered the echo switch and each command traced with a
    // reply, and put the line after every N-th answer; only the very last
    // one may come after the session closed.
    size_t answers = 1;
    for (size_t at = 0; (at = traced.find(": reply ", at)) != std::string::npos; ++at) ++answers;
    const size_t every = c.link.unsolicited_every;
    if (every == 0) {
      EXPECT_EQ(unsolicited, 0u);
    } else {
      EXPECT_GE(unsolicited, answers / every - 1) << traced;
      EXPECT_LE(unsolicited, answers / every) << traced;
    }
  }
}

}  // namespace
