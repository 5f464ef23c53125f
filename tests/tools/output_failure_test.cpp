// fmr-rds and fmr-sim when an output cannot be written: every output of
// each (standard output, standard error, fmr-rds's --output file) to a full
// device and to a pipe whose reader is gone, outputs that cannot be opened
// or are the input; each run's exit status and the line that says why;
// fmr-rds's inputs that cannot be read. And a peer that goes away never
// ends the simulator.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "fmr-sim/net/socket_io.h"
#include "support/test_folder.h"

namespace {

using childtest::ChildProcess;
using childtest::Finished;
using childtest::Sink;

const std::string kRds = FMR_RDS_PATH;
const std::string kSim = FMR_SIM_PATH;
const std::string kStation = std::string(RDS_TOOLS_DATA_DIR) + "/station.txt";

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += (text.empty() ? "" : " ") + arg;
  return text;
}

bool HaveDevFull() {
  return std::filesystem::exists("/dev/full");
}

std::string SinkName(Sink sink) {
  switch (sink) {
    case Sink::kRead:
      return "read";
    case Sink::kFull:
      return "/dev/full";
    default:
      return "no reader";
  }
}

struct RdsRun {
  std::vector<std::string> args;
  Sink out = Sink::kRead;
  Sink err = Sink::kRead;
  std::optional<Sink> fd3;
  int status;
  std::string err_text;  // what standard error holds, whole ("" when it is not read)
};

// Each output of fmr-rds failing in both ways. station.txt has one
// malformed line, so standard error is written to as well.
TEST(OutputFailure, FmrRdsEveryOutputFullAndWithoutReader) {
  if (!HaveDevFull()) GTEST_SKIP() << "no /dev/full";
  const std::string problem =
      "fmr-rds: " + kStation + ":4: not a record header, block line or status line\n";
  const RdsRun kRuns[] = {
      {{kStation},
       Sink::kFull,
       Sink::kRead,
       {},
       1,
       problem + "fmr-rds: standard output: No space left on device\n"},
      {{kStation},
       Sink::kNoReader,
       Sink::kRead,
       {},
       1,
       problem + "fmr-rds: standard output: Broken pipe\n"},
      {{"--summary", "--json", kStation},
       Sink::kFull,
       Sink::kRead,
       {},
       1,
       problem + "fmr-rds: standard output: No space left on device\n"},
      {{"--summary", kStation},
       Sink::kNoReader,
       Sink::kRead,
       {},
       1,
       problem + "fmr-rds: standard output: Broken pipe\n"},
      {{"--help"},
       Sink::kFull,
       Sink::kRead,
       {},
       1,
       "fmr-rds: standard output: No space left on device\n"},
      {{"--help"}, Sink::kNoReader, Sink::kRead, {}, 1, "fmr-rds: standard output: Broken pipe\n"},
      {{"-o", "/dev/full", kStation},
       Sink::kRead,
       Sink::kRead,
       {},
       1,
       problem + "fmr-rds: /dev/full: No space left on device\n"},
      {{"--output", "/dev/fd/3", kStation},
       Sink::kRead,
       Sink::kRead,
       Sink::kNoReader,
       1,
       problem + "fmr-rds: /dev/fd/3: Broken pipe\n"},
      // Standard error failing: there is nowhere left to say so.
      {{kStation}, Sink::kRead, Sink::kFull, {}, 1, ""},
      {{kStation}, Sink::kRead, Sink::kNoReader, {}, 1, ""},
  };
  for (const RdsRun& run : kRuns) {
    std::vector<std::string> argv = {kRds};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    ChildProcess child(argv, run.out, run.err, run.fd3);
    const Finished finished = child.Finish();
    const std::string what = Joined(run.args) + ": out " + SinkName(run.out) + ", err " +
                             SinkName(run.err) + (run.fd3 ? ", fd 3 " + SinkName(*run.fd3) : "");
    EXPECT_EQ(finished.status, run.status) << what;
    EXPECT_EQ(finished.err, run.err_text) << what;
  }
  // With standard error failing, the decoded groups still come out whole.
  ChildProcess child({kRds, kStation}, Sink::kRead, Sink::kFull);
  const Finished finished = child.Finish();
  EXPECT_EQ(finished.out,
            testing_files::ReadFile(std::string(RDS_TOOLS_DATA_DIR) + "/station.groups.jsonl"));
}

// Inputs that cannot be read to their end, as a file and as standard
// input: a folder, a device whose reads fail, a file that is not there.
// Each is said with the system's reason and exits 2, with no summary of
// what was never read.
TEST(OutputFailure, FmrRdsInputsThatCannotBeRead) {
  testing_files::TestFolder folder;
  const std::string dir = folder.path().string();
  const std::string missing = (folder.path() / "absent.txt").string();
  const struct {
    std::vector<std::string> args;
    std::string stdin_file;
    std::string err;
  } kRuns[] = {
      {{"--summary", dir}, "", "fmr-rds: cannot read " + dir + ": Is a directory\n"},
      {{"--summary"}, dir, "fmr-rds: cannot read <stdin>: Is a directory\n"},
      {{"--summary", "-"}, dir, "fmr-rds: cannot read <stdin>: Is a directory\n"},
      {{"--summary", missing},
       "",
       "fmr-rds: cannot read " + missing + ": No such file or directory\n"},
      {{"--summary", "/proc/self/mem"},
       "",
       "fmr-rds: cannot read /proc/self/mem: Input/output error\n"},
  };
  for (const auto& run : kRuns) {
    if (run.args.back() == "/proc/self/mem" && !std::filesystem::exists("/proc/self/mem")) continue;
    std::vector<std::string> argv = {kRds};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    ChildProcess child(argv, Sink::kRead, Sink::kRead, std::nullopt, run.stdin_file);
    const Finished finished = child.Finish();
    EXPECT_EQ(finished.status, 2) << Joined(run.args) << " < " << run.stdin_file;
    EXPECT_EQ(finished.err, run.err) << Joined(run.args) << " < " << run.stdin_file;
    EXPECT_EQ(finished.out, "") << Joined(run.args) << " < " << run.stdin_file;
  }
}

// Outputs that cannot be opened, or would overwrite the input by any name,
// are refused before anything is written (exit 2); a file output that works
// holds what standard output would.
TEST(OutputFailure, FmrRdsOutputsThatCannotBeOpenedOrAreTheInput) {
  testing_files::TestFolder folder;
  const std::filesystem::path& dir = folder.path();
  const std::string input = (dir / "station.txt").string();
  std::filesystem::copy_file(kStation, input);
  std::filesystem::create_symlink(input, dir / "link.txt");
  const std::string original = testing_files::ReadFile(input);
  const struct {
    std::vector<std::string> args;
    std::string stdin_file;
    std::string err_end;
  } kRuns[] = {
      {{"-o", input, input}, "", "fmr-rds: " + input + " is the input; not writing over it\n"},
      {{"-o", (dir / "link.txt").string(), input},
       "",
       "fmr-rds: " + (dir / "link.txt").string() + " is the input; not writing over it\n"},
      {{"--output", input}, input, "fmr-rds: " + input + " is the input; not writing over it\n"},
      {{"-o", (dir / "no/out.json").string(), input},
       "",
       "fmr-rds: cannot write " + (dir / "no/out.json").string() + ": No such file or directory\n"},
      {{"-o", "", input}, "", "fmr-rds: -o needs a file name\n"},
  };
  for (const auto& run : kRuns) {
    std::vector<std::string> argv = {kRds};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    ChildProcess child(argv, Sink::kRead, Sink::kRead, std::nullopt, run.stdin_file);
    const Finished finished = child.Finish();
    EXPECT_EQ(finished.status, 2) << Joined(run.args);
    EXPECT_EQ(finished.out, "") << Joined(run.args);
    EXPECT_EQ(finished.err, run.err_end) << Joined(run.args);
  }
  EXPECT_EQ(testing_files::ReadFile(input), original);

  const std::string out_file = (dir / "groups.jsonl").string();
  ChildProcess child({kRds, "--output", out_file, input}, Sink::kRead, Sink::kRead);
  const Finished finished = child.Finish();
  EXPECT_EQ(finished.status, 0);
  EXPECT_EQ(finished.out, "");
  EXPECT_EQ(testing_files::ReadFile(out_file),
            testing_files::ReadFile(std::string(RDS_TOOLS_DATA_DIR) + "/station.groups.jsonl"));
}

// fmr-sim's announcements on standard output and its --verbose log on
// standard error, each full and without reader: it stops by itself, says
// why on the other output and exits 1.
TEST(OutputFailure, FmrSimEveryOutputFullAndWithoutReader) {
  if (!HaveDevFull()) GTEST_SKIP() << "no /dev/full";
  struct Run {
    std::vector<std::string> args;
    Sink out, err;
    std::string err_text;
  };
  const Run kRuns[] = {
      {{"--port", "0"},
       Sink::kFull,
       Sink::kRead,
       "fmr-sim: standard output: No space left on device\n"},
      {{"--port", "0"}, Sink::kNoReader, Sink::kRead, "fmr-sim: standard output: Broken pipe\n"},
      {{"--pty"}, Sink::kFull, Sink::kRead, "fmr-sim: standard output: No space left on device\n"},
      {{"--pty"}, Sink::kNoReader, Sink::kRead, "fmr-sim: standard output: Broken pipe\n"},
      {{"--help"}, Sink::kFull, Sink::kRead, "fmr-sim: standard output: No space left on device\n"},
      {{"--help"}, Sink::kNoReader, Sink::kRead, "fmr-sim: standard output: Broken pipe\n"},
  };
  for (const Run& run : kRuns) {
    std::vector<std::string> argv = {kSim};
    argv.insert(argv.end(), run.args.begin(), run.args.end());
    ChildProcess child(argv, run.out, run.err);
    const Finished finished = child.Finish();
    EXPECT_EQ(finished.status, 1) << Joined(run.args) << ": out " << SinkName(run.out);
    EXPECT_EQ(finished.err, run.err_text) << Joined(run.args) << ": out " << SinkName(run.out);
  }

  // The log fails at the first connection.
  for (const Sink err : {Sink::kFull, Sink::kNoReader}) {
    ChildProcess child({kSim, "--port", "0", "--verbose"}, Sink::kRead, err);
    const std::string listening = child.ReadOutLine();
    const size_t colon = listening.rfind(':');
    ASSERT_NE(colon, std::string::npos) << listening;
    const auto port = static_cast<uint16_t>(std::stoi(listening.substr(colon + 1)));
    fmrsim::net::SocketLibrary library;
    std::string error;
    const fmrsim::net::Socket socket = fmrsim::net::ConnectTcp("127.0.0.1", port, error);
    ASSERT_TRUE(socket.valid()) << error;
    (void)fmrsim::net::SendAll(socket, "at@audapp:fmrx_enable()\r\n");
    const Finished finished = child.Finish();
    EXPECT_EQ(finished.status, 1) << SinkName(err);
    EXPECT_EQ(finished.out, err == Sink::kFull
                                ? "fmr-sim: standard error: No space left on device\n"
                                : "fmr-sim: standard error: Broken pipe\n");
  }
}

// Clients that hang up with answers still coming: the simulator serves the
// next one and stops only when asked, with exit status 0.
TEST(OutputFailure, FmrSimOutlivesPeersThatGoAway) {
  ChildProcess child({kSim, "--port", "0"}, Sink::kRead, Sink::kRead);
  const std::string listening = child.ReadOutLine();
  const size_t colon = listening.rfind(':');
  ASSERT_NE(colon, std::string::npos) << listening;
  const auto port = static_cast<uint16_t>(std::stoi(listening.substr(colon + 1)));
  fmrsim::net::SocketLibrary library;
  std::string commands;
  for (int i = 0; i < 2000; ++i) commands += "at@audapp:fmrx_get_dynamic_data()\r\n";
  for (int round = 0; round < 3; ++round) {
    std::string error;
    fmrsim::net::Socket socket = fmrsim::net::ConnectTcp("127.0.0.1", port, error);
    ASSERT_TRUE(socket.valid()) << error;
    (void)fmrsim::net::SendAll(socket, commands);
    socket.Close();  // unread answers: the simulator's sends fail
  }
  std::string error;
  const fmrsim::net::Socket last = fmrsim::net::ConnectTcp("127.0.0.1", port, error);
  ASSERT_TRUE(last.valid()) << error;
  ASSERT_TRUE(fmrsim::net::SendAll(last, "at@audapp:fmrx_enable()\r\n"));
  bool ready = false;
  bool unused = false;
  ASSERT_TRUE(fmrsim::net::WaitReadable(last, fmrsim::net::Socket{}, 20000, ready, unused));
  char reply[256];
  EXPECT_GT(fmrsim::net::Receive(last, reply, sizeof reply), 0);
  child.Signal(SIGTERM);
  const Finished finished = child.Finish();
  EXPECT_EQ(finished.status, 0);
  EXPECT_EQ(finished.out, "fmr-sim: stopped by signal 15\n");
}

}  // namespace
