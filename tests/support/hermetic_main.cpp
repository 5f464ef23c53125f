// The main function of every test program. Before any test runs it gives the
// process a home, a settings folder and a program folder of its own under
// the system's temporary folder, so no test reads or writes the user's
// settings (~/.config/sonvio) or the build's bin folder, whatever the
// environment it was started from says. The program folder holds links to
// the built plug-in, transport stand-in and simulated handset, as an
// installed bench would have them beside the host. The transport is pointed
// at a port where nothing listens (port 1 on the loopback address), never at
// the plug-in's own 27018 where another program's server may be running: a
// test that wants a server starts its own on a free port and names it. Nor
// does the transport write the trace a user's TESSIC_TRACE asks for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

void Set(const char* variable, const fs::path& value) {
  ::setenv(variable, value.c_str(), 1);
}

fs::path MakeFolders() {
  const fs::path root = fs::temp_directory_path() / ("sonvio-test-" + std::to_string(::getpid()));
  std::error_code ignored;
  fs::remove_all(root, ignored);
  for (const char* sub : {"home/.config", "settings", "program"}) {
    fs::create_directories(root / sub);
  }
  for (const char* name : {"Sonvio.dll", "TESSIC.dll", "fmr-sim"}) {
    const fs::path built = fs::path(SONVIO_BIN_DIR) / name;
    if (fs::exists(built)) fs::create_symlink(built, root / "program" / name, ignored);
  }
  Set("HOME", root / "home");
  Set("XDG_CONFIG_HOME", root / "home/.config");
  Set("SONVIO_CONFIG_DIR", root / "settings");
  Set("SONVIO_PROGRAM_DIR", root / "program");
  ::setenv("TESSIC_AT_SERVER", "127.0.0.1:1", 1);
  for (const char* variable : {"TESSIC_TIMEOUT_MS", "TESSIC_TRACE", "SONVIO_CLOCK"})
    ::unsetenv(variable);
  return root;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleMock(&argc, argv);
  const fs::path root = MakeFolders();
  const int status = RUN_ALL_TESTS();
  std::error_code ignored;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root, ignored);
  return status;
}
