// Runs a shell command line for the end-to-end tests and collects what it
// prints (standard output; the command line redirects standard error).
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace e2e {

struct ShellRun {
  int status = -1;  // the exit status, -1 when it did not exit normally
  std::string text;
};

inline ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> chunk{};
  size_t n = 0;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.text.append(chunk.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace e2e
