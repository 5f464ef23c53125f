// Initialization files: the text the profile functions write and read, and
// a writer that never loses a key, never leaves half a file and never
// replaces a file it could not read.
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <functional>
#include <set>
#include <tuple>

#include "platform/platform.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_files::ReadFile;
using testing_files::ScopedEnv;
using testing_files::WriteFile;

// Starts `body` in a child process, which exits with its return value.
pid_t Fork(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  return child;
}

// The exit code of a child process, -1 when it did not exit normally.
int ExitCode(pid_t child) {
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Makes the calling (child) process an ordinary user, so file permissions
// apply to it: root gives up its rights for those of "nobody".
bool BecomeOrdinaryUser() {
  if (::geteuid() != 0) return true;
  constexpr uid_t kNobody = 65534;
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
    return false;
  ::prctl(PR_SET_DUMPABLE, 1);  // keeps /proc/self readable for the sanitizers
  return true;
}

class IniFileTest : public ::testing::Test {
 protected:
  testing_files::TestFolder folder;
  const fs::path dir = folder.path();
  const fs::path file = dir / "Sonvio.ini";

  std::set<std::string> FolderEntries(const fs::path& in = {}) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(in.empty() ? dir : in))
      names.insert(entry.path().filename().string());
    return names;
  }
};

TEST_F(IniFileTest, WritesEditTheTextAsTheProfileFunctionsDo) {
  const std::string bom = "\xEF\xBB\xBF";
  // What it shows, the text before (none: no file), writes (section, key, value), the text after.
  using Writes = std::vector<std::array<const char*, 3>>;
  const std::tuple<const char*, std::optional<std::string>, Writes, std::string> cases[] = {
      // clang-format off
      {"new file: sections in order of first write, keys replaced in place in the file's spelling",
       std::nullopt, {{"FM Radio Parameters", "LEVolume", "10"}, {"Register_Address", "0", "0x0012"},
                      {"FM Radio Parameters", "CBMute", "1"}, {"fm radio parameters", "levolume", "12"}},
       "[FM Radio Parameters]\r\nLEVolume=12\r\nCBMute=1\r\n[Register_Address]\r\n0=0x0012\r\n"},
      {"a new key goes after the section's last line that is not blank",
       "[A]\r\nk=1\r\n; note\r\n\r\n[B]\r\nx=2\r\n", {{"A", "n", "3"}},
       "[A]\r\nk=1\r\n; note\r\nn=3\r\n\r\n[B]\r\nx=2\r\n"},
      {"a new section goes at the end, after a last line without line end",
       "[A]\r\nk=1", {{"B", "x", "2"}, {"A", "y", "3"}}, "[A]\r\nk=1\r\ny=3\r\n[B]\r\nx=2\r\n"},
      {"a byte-order mark stays in front; the first line's end is every line's",
       bom + "[A]\nk=1\r\n", {{"A", "k", "2"}, {"A", "n", "3"}}, bom + "[A]\nk=2\nn=3\n"},
      {"indented section lines are sections too", "  [A]\r\nk=1\r\n\t[B] \r\nx=2\r\n",
       {{"A", "k", "2"}, {"b", "y", "3"}}, "  [A]\r\nk=2\r\n\t[B] \r\nx=2\r\ny=3\r\n"},
      {"keys match without case and blanks; names, keys and values are written trimmed",
       "[Sec]\r\n  Key One = old value \r\nother=1\r\n",
       {{" SEC ", "key one", "  new  value "}, {" New ", " k ", " a b "}},
       "[Sec]\r\nKey One=new  value\r\nother=1\r\n[New]\r\nk=a b\r\n"},
      {"the first section and key of a name take the write; comments are no keys",
       "[A]\r\n;n=0\r\nk=1\r\nk=2\r\nbare\r\n[B]\r\n[a]\r\nk=3\r\n",
       {{"A", "k", "9"}, {"A", "n", "5"}, {"A", "bare", "6"}},
       "[A]\r\n;n=0\r\nk=9\r\nk=2\r\nbare=6\r\nn=5\r\n[B]\r\n[a]\r\nk=3\r\n"},
      {"lines ending in a lone CR; an empty section at the end",
       "[A]\rk=1\r[B]", {{"B", "x", "2"}}, "[A]\rk=1\r[B]\rx=2\r"},
      {"the same value again leaves the file untouched", "[A]\nk=1\n", {{"a", "K", "1"}}, "[A]\nk=1\n"},
      {"the settings folder does not exist yet", std::nullopt, {{"A", "k", "1"}}, "[A]\r\nk=1\r\n"},
      // clang-format on
  };
  for (const auto& [what, before, writes, after] : cases) {
    for (const bool one_commit : {true, false}) {
      SCOPED_TRACE(std::string(what) + (one_commit ? " (one commit)" : " (key by key)"));
      fs::remove_all(dir);
      if (before) {
        fs::create_directories(dir);
        WriteFile(file, *before);
      }
      platform::IniFile ini(file.string());
      for (const auto& [section, key, value] : writes) {
        if (one_commit)
          ini.Write(section, key, value);
        else
          EXPECT_TRUE(platform::IniWriteString(file.string(), section, key, value));
      }
      EXPECT_TRUE(ini.Commit());
      EXPECT_EQ(ReadFile(file), after);
    }
  }
}

TEST(Folders, SettingsAndProgramFoldersFollowTheEnvironment) {
  const char* none = nullptr;
  const std::array<const char*, 4> cases[] = {
      // SONVIO_CONFIG_DIR, XDG_CONFIG_HOME, HOME: the settings folder
      // clang-format off
      {"/etc/bench", "/x", "/h", "/etc/bench/"}, {"/etc/bench/", "/x", "/h", "/etc/bench/"},
      {"", "/x", "/h", "/x/sonvio/"}, {none, "/x/", "/h", "/x/sonvio/"},
      {none, none, "/h/", "/h/.config/sonvio/"}, {none, none, none, "./.config/sonvio/"},
      // clang-format on
  };
  for (const auto& [config_dir, xdg, home, folder] : cases) {
    const ScopedEnv config("SONVIO_CONFIG_DIR", config_dir), x("XDG_CONFIG_HOME", xdg),
        h("HOME", home);
    EXPECT_EQ(platform::SettingsFolder(), folder);
    EXPECT_EQ(platform::IniResolvePath("Sonvio.ini"), std::string(folder) + "Sonvio.ini");
  }
  ScopedEnv program("SONVIO_PROGRAM_DIR", "/opt/bench");
  EXPECT_EQ(platform::ProgramFolder(), "/opt/bench/");
  program.Put(nullptr);
  EXPECT_EQ(platform::ProgramFolder(),
            fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
}

// Reads see the file as the first read found it, then as each commit left
// it; writes wait for the commit. A bare name lives in the settings folder.
TEST_F(IniFileTest, ReadsSeeTheFirstReadOrTheLastCommitTrimmedAndUnquoted) {
  const ScopedEnv config("SONVIO_CONFIG_DIR", (dir / "settings").c_str());
  platform::IniFile ini("Sonvio.ini");
  // Reads of k and o, "-" for none.
  const auto reads = [&] {
    return ini.Read("A", "k").value_or("-") + ini.Read("a", "O").value_or("-");
  };
  EXPECT_TRUE(ini.Commit()) << "nothing to write";
  EXPECT_FALSE(fs::exists(dir / "settings"));
  ini.Write("A", "k", "1");
  EXPECT_EQ(reads(), "--");
  ASSERT_TRUE(ini.Commit());
  EXPECT_EQ(ini.Read("a", "K"), "1");
  EXPECT_EQ(ReadFile(dir / "settings" / "Sonvio.ini"), "[A]\r\nk=1\r\n");
  // Another writer meanwhile: unseen until this one commits, and kept then.
  ASSERT_TRUE(platform::IniWriteString((dir / "settings" / "Sonvio.ini").string(), "A", "o", "2"));
  ini.Write("A", "k", "3");
  EXPECT_EQ(reads(), "1-");
  ASSERT_TRUE(ini.Commit());
  EXPECT_EQ(reads(), "32");
  EXPECT_EQ(platform::IniReadString("Sonvio.ini", "A", "k", "d") +
                platform::IniReadString("Sonvio.ini", "A", "missing", "d"),
            "3d");

  // Names and values are trimmed and unquoted; the first section and key of a name count.
  WriteFile(file,
            "\xEF\xBB\xBF[Top]\r\n; note=not a key\r\ntop=1\r\n[ Spaced ]\r\n"
            "  Key One  =  value with blanks  \r\nquoted=\"  kept  \"\r\nbare\r\n"
            "dup=first\r\ndup=second\r\n[spaced]\r\nlater=hidden\r\n \t[Unix]\nunix=2");
  const std::optional<std::string> missing;
  const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
      // clang-format off
      {"Top", "; note", missing}, {"top", "TOP", "1"} /* behind the byte-order mark */,
      {" SPACED ", " Key One ", "value with blanks"}, {"Spaced", "quoted", "  kept  "},
      {"Spaced", "bare", missing}, {"Spaced", "dup", "first"}, {"Spaced", "later", missing},
      {"Unix", "unix", "2"},
      // clang-format on
  };
  const platform::IniFile text(file.string());
  for (const auto& [section, key, value] : cases)
    EXPECT_EQ(text.Read(section, key), value) << section << "/" << key;
}

TEST_F(IniFileTest, TwoProcessesWritingAtOnceLoseNoKey) {
  constexpr int kWrites = 60;
  auto writer = [this](char name) {
    return Fork([this, name] {
      for (int i = 0; i < kWrites; ++i) {
        const std::string value = std::to_string(i);
        if (!platform::IniWriteString(file.string(), "Shared", name + value, value)) return 1;
      }
      return 0;
    });
  };
  const pid_t a = writer('a'), b = writer('b');
  EXPECT_EQ(ExitCode(a), 0);
  EXPECT_EQ(ExitCode(b), 0);
  const platform::IniFile ini(file.string());
  for (const char* name : {"a", "b"}) {
    for (int i = 0; i < kWrites; ++i)
      EXPECT_EQ(ini.Read("shared", name + std::to_string(i)), std::to_string(i)) << name << i;
  }
}

// A write that cannot be done leaves the file as it was and no temporary:
// a file or folder the writer may not change, a disk limit reached while
// writing, and anything that is no regular file or too large to read, which
// also reads as empty (never read without limit, never waiting for a FIFO's
// writer). Root ignores permission bits, so the writes run in a child process
// that has given up root's rights; the folder and a regular file are handed
// to that user, so for root and for an ordinary user alike the owner's bits
// apply.
TEST_F(IniFileTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
  const std::string small = "[A]\r\nk=1\r\n";
  const auto regular = [&] { WriteFile(file, small); };
  constexpr fs::perms kReadWrite = fs::perms::owner_read | fs::perms::owner_write;
  constexpr fs::perms kAll = fs::perms::owner_all;
  const std::optional<std::string> empty;
  const struct {
    const char* what;
    std::function<void()> make;
    fs::perms file_mode, folder_mode;
    std::optional<std::string> read;  // what the file reads as
    int error;                        // why the write failed
  } cases[] = {
      {"unreadable file", regular, fs::perms::owner_write, kAll, empty, EACCES},
      {"read-only file", regular, fs::perms::owner_read, kAll, "1", EACCES},
      {"read-only folder", regular, kReadWrite, fs::perms::owner_read | fs::perms::owner_exec, "1",
       EACCES},
      {"disk limit reached while writing", regular, kReadWrite, kAll, "1", EFBIG},
      {"FIFO", [&] { ::mkfifo(file.c_str(), 0666); }, kReadWrite, kAll, empty, EINVAL},
      {"link to /dev/zero", [&] { fs::create_symlink("/dev/zero", file); }, kReadWrite, kAll, empty,
       EINVAL},
      {"folder", [&] { fs::create_directory(file); }, kReadWrite, kAll, empty, EINVAL},
      {"file beyond the size limit",
       [&] {
         regular();
         fs::resize_file(file, platform::kIniFileMostBytes + 1);  // sparse
       },
       kReadWrite, kAll, empty, EFBIG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string& name : FolderEntries()) fs::remove_all(dir / name);
    c.make();
    const fs::file_type type = fs::symlink_status(file).type();
    const bool is_regular = type == fs::file_type::regular;
    const std::string before = is_regular ? ReadFile(file) : "";
    if (::geteuid() == 0) {
      EXPECT_EQ(::chown(dir.c_str(), 65534, 65534), 0);
      EXPECT_TRUE(!is_regular || ::chown(file.c_str(), 65534, 65534) == 0);
    }
    if (is_regular) fs::permissions(file, c.file_mode);
    fs::permissions(dir, c.folder_mode);
    const int outcome = ExitCode(Fork([&] {
      ::alarm(30);  // a read that waits for a FIFO's writer fails the case
      const rlimit limit{4096, 4096};
      if (!BecomeOrdinaryUser() || ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR ||
          (c.error == EFBIG && is_regular && ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
        return 4;
      platform::IniFile ini(file.string());
      if (ini.Read("A", "k") != c.read) return 1;
      ini.Write("A", "big", std::string(10000, 'x'));
      if (ini.Commit()) return 2;
      return errno == c.error ? 0 : 3;
    }));
    fs::permissions(dir, kAll);
    if (is_regular) fs::permissions(file, kReadWrite);
    EXPECT_EQ(outcome, 0) << "1: read wrong, 2: the write succeeded, 3: failed for another reason";
    EXPECT_EQ(fs::symlink_status(file).type(), type);
    EXPECT_TRUE(!is_regular || ReadFile(file) == before);
    for (const std::string& name : FolderEntries())
      EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
  }
  EXPECT_FALSE(fs::exists("/dev/zero.lock"));

  // What a writer killed between creating and renaming its temporary leaves.
  for (const std::string& name : FolderEntries()) fs::remove_all(dir / name);
  WriteFile(dir / "Sonvio.ini.tmp-4242-0", "[A]\r\nk=");
  WriteFile(dir / "Other.ini.tmp-4242-0", "not ours");
  ASSERT_TRUE(platform::IniWriteString(file.string(), "A", "k", "2"));
  EXPECT_EQ(FolderEntries(),
            (std::set<std::string>{"Sonvio.ini", "Sonvio.ini.lock", "Other.ini.tmp-4242-0"}));
}

// A link stays a link: the write goes to its target, which keeps its line
// ends, and the lock file lies beside the link, never beside the target.
TEST_F(IniFileTest, KeepsPermissionBitsAndWritesThroughSymbolicLinks) {
  constexpr fs::perms kMode =
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  WriteFile(file, "[A]\r\nk=1\r\n");
  fs::permissions(file, kMode);
  ASSERT_TRUE(platform::IniWriteString(file.string(), "A", "k", "2"));
  EXPECT_EQ(fs::status(file).permissions(), kMode);

  fs::create_directories(dir / "real");
  WriteFile(dir / "real" / "target.ini", "[S]\nold=1\n");
  fs::create_symlink("real/target.ini", dir / "relative.ini");
  fs::create_symlink(dir / "relative.ini", dir / "chain.ini");
  fs::create_symlink("real/dangling.ini", dir / "dangling.ini");
  for (const char* link : {"relative.ini", "chain.ini", "dangling.ini"}) {
    ASSERT_TRUE(platform::IniWriteString((dir / link).string(), "S", link, "v")) << link;
    EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_TRUE(fs::exists(dir / (std::string(link) + ".lock"))) << link;
  }
  EXPECT_EQ(ReadFile(dir / "real" / "target.ini"), "[S]\nold=1\nrelative.ini=v\nchain.ini=v\n");
  EXPECT_EQ(ReadFile(dir / "real" / "dangling.ini"), "[S]\r\ndangling.ini=v\r\n");
  EXPECT_EQ(FolderEntries(dir / "real"), (std::set<std::string>{"target.ini", "dangling.ini"}));
}

}  // namespace
