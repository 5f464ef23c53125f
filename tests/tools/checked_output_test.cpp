// Checked outputs: what a file, a full device and a pipe without a reader
// report, through the output itself and through an ostream on it; and which
// paths name the same file.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "text/checked_output.h"
#include "text/checked_stream.h"

namespace {

namespace fs = std::filesystem;

// A folder of the test's own, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() /
            ("checked-output-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

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

TEST(CheckedOutput, AFileIsWrittenWholeAndClosed) {
  TempFolder folder;
  const std::string path = folder / "out.json";
  std::string error;
  auto output = tooltext::CheckedOutput::OpenFile(path, error);
  ASSERT_TRUE(output) << error;
  EXPECT_EQ(output->name(), path);
  EXPECT_TRUE(output->Write("{\"ps\":"));
  EXPECT_TRUE(output->Write(""));
  EXPECT_TRUE(
      output->Write("\"R\xC3\xA4"
                    "DIO\"}\n"));
  EXPECT_TRUE(output->Close());
  EXPECT_FALSE(output->failed());
  EXPECT_EQ(ReadFile(path),
            "{\"ps\":\"R\xC3\xA4"
            "DIO\"}\n");
  // Closed is closed: a later write is a failure, not a crash.
  EXPECT_FALSE(output->Write("x"));
  EXPECT_EQ(output->error(), path + ": Bad file descriptor");

  const std::string missing = folder / "no/such/folder/out.json";
  EXPECT_FALSE(tooltext::CheckedOutput::OpenFile(missing, error));
  EXPECT_EQ(error, "cannot write " + missing + ": No such file or directory");
}

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

TEST(CheckedOutput, AnOstreamOnAFileGetsEveryByte) {
  TempFolder folder;
  std::string error;
  auto output = tooltext::CheckedOutput::OpenFile(folder / "groups.jsonl", error);
  ASSERT_TRUE(output) << error;
  tooltext::CheckedStreamBuf buffer(*output);
  std::ostream out(&buffer);
  out << "{\"line\":" << 1 << "}" << '\n' << std::string(70000, 'y') << std::flush;
  EXPECT_TRUE(out.good());
  EXPECT_TRUE(output->Close());
  EXPECT_EQ(ReadFile(folder / "groups.jsonl"), "{\"line\":1}\n" + std::string(70000, 'y'));
}

TEST(CheckedOutput, SameFileByAnyPathButOnlyWhenBothExist) {
  TempFolder folder;
  const std::string input = folder / "station.txt";
  std::ofstream(input) << "C201 0408 2020 2020\n";
  std::ofstream(folder / "other.txt") << "C201 0408 2020 2020\n";
  fs::create_directories(folder / "sub");
  fs::create_symlink(input, folder / "link.txt");
  fs::create_hard_link(input, folder / "hard.txt");
  const struct {
    std::string output;
    bool same;
  } kCases[] = {
      {input, true},
      {folder / "sub/../station.txt", true},
      {folder / "link.txt", true},
      {folder / "hard.txt", true},
      {folder / "other.txt", false},  // the same bytes, another file
      {folder / "new.txt", false},    // not there yet
      {folder / "sub", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(tooltext::SameFile(c.output, input), c.same) << c.output;
  EXPECT_FALSE(tooltext::SameFile(input, folder / "missing.txt"));
}

}  // namespace
