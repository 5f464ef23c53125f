// fmr-plot's output, run as its own process: every write and the close are
// checked, on a file and on standard output; a full device and a pipe
// whose reader went away fail with status 1 and the system's reason; an
// output that cannot be opened, or that is the input, is refused with
// status 2 and leaves the input alone.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kCsv =
    "# chip: gen1\n"
    "time_ms,name,value,unit,low,high,verdict,origin,dut\n"
    "1000,LERSSI,30,dBuV,,,,s.txt:5,\n2000,LERSSI,31,dBuV,,,,s.txt:5,\n";

// Where the program's standard output goes.
enum class Sink { kNull, kFull, kClosedPipe, kPipe };

struct Outcome {
  int status = -1;  // the exit status; -1 when it ended by a signal
  std::string out, err;
};

// Runs fmr-plot with `args`, its standard output on `sink`, its standard
// error in a file of `folder`.
Outcome RunPlot(const testing_files::TestFolder& folder, const std::vector<std::string>& args,
                Sink sink) {
  int pipe_ends[2] = {-1, -1};
  int out_fd = -1;
  if (sink == Sink::kClosedPipe || sink == Sink::kPipe) {
    EXPECT_EQ(::pipe(pipe_ends), 0);
    out_fd = pipe_ends[1];
    if (sink == Sink::kClosedPipe) ::close(pipe_ends[0]);
  } else {
    out_fd = ::open(sink == Sink::kFull ? "/dev/full" : "/dev/null", O_WRONLY);
  }
  const std::string err_path = (folder.path() / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_fd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (sink == Sink::kPipe) posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<std::string> words = {FMR_PLOT_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, FMR_PLOT_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out_fd);
  Outcome outcome;
  if (sink == Sink::kPipe) {
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0)
      outcome.out.append(buffer, static_cast<size_t>(n));
    ::close(pipe_ends[0]);
  }
  EXPECT_EQ(spawned, 0);
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, 0), pid);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.err = folder.Read("stderr.txt");
  return outcome;
}

TEST(PlotOutputTest, FailedWritesAndRefusedOutputs) {
  const testing_files::TestFolder folder;
  folder.Write("in.csv", kCsv);
  const std::string in = (folder.path() / "in.csv").string();
  fs::create_hard_link(folder.path() / "in.csv", folder.path() / "hard.csv");
  fs::create_symlink(folder.path() / "in.csv", folder.path() / "soft.csv");
  const std::string missing = (folder.path() / "no/such/out.svg").string();
  const bool have_full = fs::exists("/dev/full");

  struct Case {
    std::vector<std::string> args;
    Sink sink;
    int status;
    std::string err;
    bool needs_full;
  };
  const Case cases[] = {
      {{in, "-o", "/dev/full"},
       Sink::kNull,
       1,
       "fmr-plot: cannot write /dev/full: No space left on device\n",
       true},
      {{in},
       Sink::kFull,
       1,
       "fmr-plot: cannot write standard output: No space left on device\n",
       true},
      {{"--help"},
       Sink::kFull,
       1,
       "fmr-plot: cannot write standard output: No space left on device\n",
       true},
      {{in}, Sink::kClosedPipe, 1, "fmr-plot: cannot write standard output: Broken pipe\n", false},
      {{in, "-o", "-"},
       Sink::kClosedPipe,
       1,
       "fmr-plot: cannot write standard output: Broken pipe\n",
       false},
      {{in, "-o", missing},
       Sink::kNull,
       2,
       "fmr-plot: cannot open " + missing + " for writing: No such file or directory\n",
       false},
      {{in, "-o", in},
       Sink::kNull,
       2,
       "fmr-plot: the output " + in + " is the input; nothing written\n",
       false},
      {{(folder.path() / "hard.csv").string(), "--output", (folder.path() / "soft.csv").string()},
       Sink::kNull,
       2,
       "fmr-plot: the output " + (folder.path() / "soft.csv").string() +
           " is the input; nothing written\n",
       false},
      // A refused log opens no output at all.
      {{(folder.path() / "absent.csv").string(), "-o", "/dev/full"},
       Sink::kNull,
       2,
       "fmr-plot: cannot open " + (folder.path() / "absent.csv").string() + "\n",
       false},
  };
  for (const Case& c : cases) {
    if (c.needs_full && !have_full) continue;
    const Outcome outcome = RunPlot(folder, c.args, c.sink);
    EXPECT_EQ(outcome.status, c.status) << c.args.back();
    EXPECT_EQ(outcome.err, c.err);
  }
  EXPECT_EQ(folder.Read("in.csv"), kCsv);

  // Written whole: to a file and through a pipe alike.
  const std::string out = (folder.path() / "out.svg").string();
  const Outcome to_file = RunPlot(folder, {in, "-o", out}, Sink::kNull);
  const Outcome to_pipe = RunPlot(folder, {in}, Sink::kPipe);
  EXPECT_EQ(to_file.status, 0);
  EXPECT_EQ(to_pipe.status, 0);
  EXPECT_EQ(to_file.err + to_pipe.err, "");
  EXPECT_TRUE(to_pipe.out.ends_with("</svg>\n"));
  EXPECT_EQ(folder.Read("out.svg"), to_pipe.out);
}

}  // namespace
