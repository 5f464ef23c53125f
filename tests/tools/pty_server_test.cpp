// The AT interface on a pseudo-terminal: a reader opens the slave in raw
// mode, writes command lines ending in CR and compares the whole byte
// stream it reads back.
#include "fmr-sim/pty/pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fmrsim::pty {
namespace {

using namespace std::chrono_literals;

constexpr const char* kChip = "at@ver:get_chip_ver(0)";

UniqueFd OpenRaw(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK));
  termios mode{};
  if (fd.valid() && ::tcgetattr(fd.get(), &mode) == 0) {
    ::cfmakeraw(&mode);
    (void)::tcsetattr(fd.get(), TCSANOW, &mode);
  }
  return fd;
}

void Send(const UniqueFd& fd, const std::string& text) {
  ASSERT_EQ(::write(fd.get(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

// Reads until `size` bytes came, the device went away or 5 s passed.
std::string ReadBytes(const UniqueFd& fd, size_t size) {
  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (got.size() < size && std::chrono::steady_clock::now() < deadline) {
    pollfd wait{fd.get(), POLLIN, 0};
    if (::poll(&wait, 1, 50) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

// Writes the command lines one after the other, each after the answer of the
// one before, and returns everything read.
std::string Converse(const UniqueFd& fd, const std::vector<std::string>& lines,
                     const std::vector<size_t>& sizes) {
  std::string all;
  for (size_t i = 0; i < lines.size(); ++i) {
    Send(fd, lines[i] + "\r");
    all += ReadBytes(fd, sizes[i]);
  }
  return all;
}

struct Device {
  std::unique_ptr<PtyServer> server;
  UniqueFd reader;
};

Device Start(PtyServerConfig config) {
  std::string error;
  Device device;
  device.server = PtyServer::Start(std::move(config), error);
  EXPECT_NE(device.server, nullptr) << error;
  if (device.server) device.reader = OpenRaw(device.server->slave_path());
  EXPECT_TRUE(device.reader.valid());
  return device;
}

TEST(PtyServer, WholeStreamsForEchoAndLineEnds) {
  struct Case {
    const char* name;
    AtLinkOptions link;
    std::vector<std::string> lines;
    std::string expected;
  };
  AtLinkOptions echo_off;
  AtLinkOptions echo_on{.echo = true};
  AtLinkOptions echo_on_cr{.echo = true, .line_end = "\r"};
  AtLinkOptions echo_off_cr{.echo = false, .line_end = "\r"};
  const std::vector<Case> cases = {
      {"echo off, ATE1 switches it on",
       echo_off,
       {"AT", "ATE1", kChip},
       "OK\r\nOK\r\nat@ver:get_chip_ver(0)\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n"},
      {"echo on from the start, ATE0 off",
       echo_on,
       {"AT", "ATE0", kChip},
       "AT\r\nOK\r\nATE0\r\nOK\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n"},
      {"cr line ends, echo on",
       echo_on_cr,
       {"AT", kChip, "at@audapp:fmrx_enable()"},
       "AT\rOK\rat@ver:get_chip_ver(0)\r+CHIPVER: DR947 rev 2\rOK\r"
       "at@audapp:fmrx_enable()\rOK\r"},
      {"cr line ends, echo off", echo_off_cr, {"AT", "ATE1", "AT"}, "OK\rOK\rAT\rOK\r"},
      {"never echoes, though ATE1 is acknowledged",
       {.echo = true, .never_echo = true},
       {"AT", "ATE1", kChip},
       "OK\r\nOK\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyServerConfig config;
    config.link = c.link;
    Device device = Start(std::move(config));
    ASSERT_TRUE(device.reader.valid());
    // Each line's share of the expected stream ends with its final line.
    std::vector<size_t> sizes;
    size_t from = 0;
    for (size_t i = 0; i < c.lines.size(); ++i) {
      size_t ok = c.expected.find("OK" + c.link.line_end, from);
      const size_t error = c.expected.find("ERROR" + c.link.line_end, from);
      const size_t end = std::min(ok == std::string::npos ? error : ok + 2,
                                  error == std::string::npos ? ok + 2 : error + 5) +
                         c.link.line_end.size();
      sizes.push_back(end - from);
      from = end;
    }
    EXPECT_EQ(Converse(device.reader, c.lines, sizes), c.expected);
  }
}

TEST(PtyServer, SplitWritesCarryTheSameBytes) {
  std::mutex mutex;
  std::vector<size_t> writes;
  PtyServerConfig config;
  config.split = 3;
  config.on_write = [&](size_t n) {
    const std::lock_guard lock(mutex);
    writes.push_back(n);
  };
  Device device = Start(std::move(config));
  const std::string expected = "at@ver:get_chip_ver(0)\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n";
  Send(device.reader, std::string(kChip) + "\r");
  EXPECT_EQ(ReadBytes(device.reader, expected.size()), expected);
  device.server.reset();  // its last write is counted
  // The echo (24 bytes) and the answer (27 bytes) are written separately.
  EXPECT_EQ(writes, std::vector<size_t>(17, 3));
}

TEST(PtyServer, UnsolicitedLinesGoWhereDocumented) {
  struct Case {
    bool inside;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {false, "AT\r\nOK\r\n" + std::string(kChip) +
                  "\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n+FMRX: RSSI 32\r\n"
                  "AT\r\nOK\r\n" +
                  std::string(kChip) + "\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n+FMRX: RSSI 32\r\n"},
      {true, "AT\r\nOK\r\n" + std::string(kChip) +
                 "\r\n+CHIPVER: DR947 rev 2\r\n+FMRX: RSSI 32\r\nOK\r\n"
                 "AT\r\nOK\r\n" +
                 std::string(kChip) + "\r\n+CHIPVER: DR947 rev 2\r\n+FMRX: RSSI 32\r\nOK\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inside ? "inside" : "between");
    PtyServerConfig config;
    config.link.unsolicited_every = 2;
    config.link.unsolicited_inside = c.inside;
    Device device = Start(std::move(config));
    const size_t chip = 24 + 23 + 4 + 16;
    EXPECT_EQ(Converse(device.reader, {"AT", kChip, "AT", kChip}, {8, chip, 8, chip}), c.expected);
  }
}

TEST(PtyServer, BaudRatePacesTheAnswer) {
  PtyServerConfig config;
  config.baud = 9600;
  Device device = Start(std::move(config));
  const std::string expected = "at@ver:get_chip_ver(0)\r\n+CHIPVER: DR947 rev 2\r\nOK\r\n";
  const std::string command = std::string(kChip) + "\r";
  const auto start = std::chrono::steady_clock::now();
  Send(device.reader, command);
  EXPECT_EQ(ReadBytes(device.reader, expected.size()), expected);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // The command's bytes arrive, then the answer's leave, each at the line's speed.
  EXPECT_GE(elapsed,
            std::chrono::microseconds((command.size() + expected.size()) * 10 * 1'000'000 / 9600));
}

TEST(PtyServer, ReopenedSlaveIsServedAfresh) {
  std::mutex mutex;
  int closes = 0;
  PtyServerConfig config;
  config.log = [&](const std::string& line) {
    const std::lock_guard lock(mutex);
    if (line == "reader closed the device") ++closes;
  };
  Device device = Start(std::move(config));
  EXPECT_EQ(Converse(device.reader, {"ATE0"}, {10}), "ATE0\r\nOK\r\n");
  // Closed with an answer left unread: the next reader neither gets it nor
  // inherits the echo switched off.
  Send(device.reader, std::string(kChip) + "\r");
  std::this_thread::sleep_for(100ms);
  device.reader.Close();
  for (int i = 0; i < 250; ++i) {
    {
      const std::lock_guard lock(mutex);
      if (closes > 0) break;
    }
    std::this_thread::sleep_for(20ms);
  }
  device.reader = OpenRaw(device.server->slave_path());
  ASSERT_TRUE(device.reader.valid());
  EXPECT_EQ(Converse(device.reader, {"AT"}, {8}), "AT\r\nOK\r\n");
  EXPECT_EQ(device.server->devices(), 1u);
}

TEST(PtyServer, HangUpHalfWayThenANewDevice) {
  std::mutex mutex;
  std::vector<std::string> announced;
  PtyServerConfig config;
  config.link.hangup_after = 2;
  config.announce = [&](const std::string& line) {
    const std::lock_guard lock(mutex);
    announced.push_back(line);
  };
  Device device = Start(std::move(config));
  const std::string first = device.server->slave_path();
  const std::string answer = "+CHIPVER: DR947 rev 2\r\nOK\r\n";
  const std::string expected =
      "AT\r\nOK\r\n" + std::string(kChip) + "\r\n" + answer.substr(0, answer.size() / 2);
  EXPECT_EQ(Converse(device.reader, {"AT", kChip}, {8, 1000}), expected);
  for (int i = 0; i < 100 && device.server->devices() < 2; ++i) std::this_thread::sleep_for(20ms);
  ASSERT_EQ(device.server->devices(), 2u);
  const std::string second = device.server->slave_path();
  {
    const std::lock_guard lock(mutex);
    EXPECT_EQ(announced,
              (std::vector<std::string>{"serving on " + first, "hung up after 2 command lines",
                                        "serving on " + second}));
  }
  device.reader = OpenRaw(second);
  EXPECT_EQ(Converse(device.reader, {"AT"}, {8}), "AT\r\nOK\r\n");
}

}  // namespace
}  // namespace fmrsim::pty
