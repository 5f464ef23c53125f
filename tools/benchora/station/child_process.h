// A station's handset runs: benchora started again as a child process per
// handset, its standard output and error going to a file of its own.
// posix_spawn on Linux, CreateProcessW on Windows (child_process_posix.cpp,
// child_process_win32.cpp).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace benchora {

// A variable of the environment the next child gets; an empty value removes it.
void SetChildEnvironment(const std::string& name, const std::string& value);

class ChildProcess {
 public:
  // Starts `program` with `arguments` (argv[1]...), its output to the file
  // `output` (created anew). Nullptr with `error` set when it cannot start.
  [[nodiscard]] static std::unique_ptr<ChildProcess> Start(
      const std::string& program, const std::vector<std::string>& arguments,
      const std::string& output, std::string& error);
  virtual ~ChildProcess() = default;

  // The exit status once the child has ended (128 + the signal's number for
  // a POSIX child ended by one); nullopt while it runs.
  [[nodiscard]] virtual std::optional<int> Poll() = 0;
  // Asks the child to stop the way Ctrl+C would: it writes its reports first.
  virtual void Interrupt() = 0;
  // Ends the child at once.
  virtual void Kill() = 0;

 protected:
  ChildProcess() = default;
};

}  // namespace benchora
