#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "station/child_process.h"

extern char** environ;

namespace benchora {
namespace {

class PosixChild final : public ChildProcess {
 public:
  explicit PosixChild(pid_t pid) : pid_(pid) {}
  PosixChild(const PosixChild&) = delete;
  PosixChild& operator=(const PosixChild&) = delete;
  // A child still running when its station ends is not left behind.
  ~PosixChild() override {
    if (!status_) {
      Kill();
      int status = 0;
      static_cast<void>(::waitpid(pid_, &status, 0));
    }
  }

  std::optional<int> Poll() override {
    if (status_) return status_;
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    if (ended != pid_) return std::nullopt;
    if (WIFEXITED(status)) {
      status_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
      status_ = 128 + WTERMSIG(status);
    } else {
      return std::nullopt;
    }
    return status_;
  }
  void Interrupt() override {
    if (!status_) static_cast<void>(::kill(pid_, SIGTERM));
  }
  void Kill() override {
    if (!status_) static_cast<void>(::kill(pid_, SIGKILL));
  }

 private:
  pid_t pid_;
  std::optional<int> status_;
};

// posix_spawn's attributes and file actions, destroyed however Start ends.
struct SpawnSetup {
  SpawnSetup() {
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
  posix_spawnattr_t attributes{};
  posix_spawn_file_actions_t actions{};
};

}  // namespace

void SetChildEnvironment(const std::string& name, const std::string& value) {
  if (value.empty()) {
    ::unsetenv(name.c_str());
  } else {
    ::setenv(name.c_str(), value.c_str(), 1);
  }
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  const std::string& output, std::string& error) {
  SpawnSetup setup;
  // The station may block the stop signals for its watcher thread: the
  // child starts with none blocked, and broken pipes as the default.
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
  posix_spawnattr_setflags(&setup.attributes,
                           static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&setup.actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&setup.actions, 1, 2);

  std::vector<std::string> all = {program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int result =
      ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
  if (result != 0) {
    error = "cannot start " + program + ": " + std::strerror(result);
    return nullptr;
  }
  return std::make_unique<PosixChild>(pid);
}

}  // namespace benchora
