// Checked outputs: what a full device and a pipe without a reader report,
// through the output itself and through an ostream on it; and which paths
// name the same file. (Files written whole, and outputs that cannot be
// opened: output_failure_test, through fmr-rds.)
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "support/test_folder.h"
#include "text/checked_output.h"
#include "text/checked_stream.h"

namespace {

namespace fs = std::filesystem;

// The write end of a pipe whose read end is closed, as a path to open, with
// SIGPIPE ignored (as the tools do) while it lives.
class ReaderlessPipe {
 public:
  ReaderlessPipe() {
    int fds[2] = {-1, -1};
    EXPECT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    write_end_ = fds[1];
    earlier_ = ::signal(SIGPIPE, SIG_IGN);
  }
  ~ReaderlessPipe() {
    ::close(write_end_);
    ::signal(SIGPIPE, earlier_);
  }
  ReaderlessPipe(const ReaderlessPipe&) = delete;
  ReaderlessPipe& operator=(const ReaderlessPipe&) = delete;
  std::string path() const { return "/dev/fd/" + std::to_string(write_end_); }

 private:
  int write_end_ = -1;
  void (*earlier_)(int) = SIG_DFL;
};

// A full device and a pipe nobody reads: the failure shows at the latest
// when the output is closed, names the output and the system's reason, and
// stays; nothing is written after it.
TEST(CheckedOutput, AFullDeviceAndAPipeWithoutReaderFailWithTheirReason) {
  ReaderlessPipe pipe;
  struct Case {
    std::string path, reason;
  };
  std::vector<Case> cases = {{pipe.path(), "Broken pipe"}};
  if (fs::exists("/dev/full")) cases.push_back({"/dev/full", "No space left on device"});
  for (const Case& c : cases) {
    std::string error;
    auto output = tooltext::CheckedOutput::OpenFile(c.path, error);
    ASSERT_TRUE(output) << error;
    (void)output->Write("PS \"ROCK 95 \"\n");
    EXPECT_FALSE(output->Close()) << c.path;
    EXPECT_EQ(output->error(), c.path + ": " + c.reason);
    EXPECT_FALSE(output->Write("more"));
    EXPECT_FALSE(output->Flush());
    EXPECT_EQ(output->error(), c.path + ": " + c.reason);

    // Through an ostream: the stream goes bad once the buffer is handed
    // over, so a writer loop stops there.
    auto streamed = tooltext::CheckedOutput::OpenFile(c.path, error);
    ASSERT_TRUE(streamed) << error;
    tooltext::CheckedStreamBuf buffer(*streamed);
    std::ostream out(&buffer);
    out << std::string(100000, 'x');
    EXPECT_TRUE(out.bad()) << c.path;
    EXPECT_EQ(streamed->error(), c.path + ": " + c.reason);
    EXPECT_FALSE(streamed->Close());
  }
}

TEST(CheckedOutput, SameFileByAnyPathButOnlyWhenBothExist) {
  testing_files::TestFolder folder;
  const std::string input = (folder.path() / "station.txt").string();
  std::ofstream(input) << "C201 0408 2020 2020\n";
  std::ofstream((folder.path() / "other.txt").string()) << "C201 0408 2020 2020\n";
  fs::create_directories((folder.path() / "sub").string());
  fs::create_symlink(input, (folder.path() / "link.txt").string());
  fs::create_hard_link(input, (folder.path() / "hard.txt").string());
  const struct {
    std::string output;
    bool same;
  } kCases[] = {
      {input, true},
      {(folder.path() / "sub/../station.txt").string(), true},
      {(folder.path() / "link.txt").string(), true},
      {(folder.path() / "hard.txt").string(), true},
      {(folder.path() / "other.txt").string(), false},  // the same bytes, another file
      {(folder.path() / "new.txt").string(), false},    // not there yet
      {(folder.path() / "sub").string(), false},
  };
  for (const auto& c : kCases) EXPECT_EQ(tooltext::SameFile(c.output, input), c.same) << c.output;
  EXPECT_FALSE(tooltext::SameFile(input, (folder.path() / "missing.txt").string()));
  // Writing a device does not destroy it: /dev/null in and out is fine.
  EXPECT_FALSE(tooltext::SameFile("/dev/null", "/dev/null"));
}

}  // namespace
