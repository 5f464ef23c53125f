#include "fmr-plot/plot_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>

namespace fmrplot {
namespace {

// The reason of the last failed call, or a plain one when the library left
// errno unset.
std::string Reason(int error) {
  return error != 0 ? std::strerror(error) : "write error";
}

int Failed(std::ostream& err, const std::string& what, int error) {
  err << "fmr-plot: cannot write " << what << ": " << Reason(error) << "\n";
  return 1;
}

}  // namespace

int WriteFile(const std::string& path, std::string_view text, std::ostream& err) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    err << "fmr-plot: cannot open " << path << " for writing: " << Reason(errno) << "\n";
    return 2;
  }
  errno = 0;
  const bool written =
      std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
  const int write_error = errno;
  errno = 0;
  const bool closed = std::fclose(file) == 0;
  if (!written) return Failed(err, path, write_error);
  if (!closed) return Failed(err, path, errno);
  return 0;
}

int WriteStandardOutput(std::string_view text, std::ostream& out, std::ostream& err) {
  errno = 0;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out) return Failed(err, "standard output", errno);
  return 0;
}

int CloseStandardOutput(std::ostream& err) {
  errno = 0;
  if (std::fclose(stdout) != 0) return Failed(err, "standard output", errno);
  return 0;
}

bool SameFile(const std::string& input, const std::string& output) {
  std::error_code error;
  if (!std::filesystem::exists(input, error) || !std::filesystem::exists(output, error)) {
    return false;
  }
  return std::filesystem::equivalent(input, output, error) && !error;
}

}  // namespace fmrplot
