#include "text/checked_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tooltext {

void CheckedOutput::FileCloser::operator()(std::FILE* file) const {
  if (owned) (void)std::fclose(file);
}

CheckedOutput CheckedOutput::StandardOutput() {
  return CheckedOutput(stdout, "standard output", false);
}

CheckedOutput CheckedOutput::StandardError() {
  return CheckedOutput(stderr, "standard error", false);
}

std::optional<CheckedOutput> CheckedOutput::OpenFile(const std::string& path, std::string& error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path + ": " + (errno != 0 ? std::strerror(errno) : "cannot open");
    return std::nullopt;
  }
  return CheckedOutput(file, path, true);
}

bool CheckedOutput::Fail(int code) {
  if (error_.empty()) error_ = name_ + ": " + (code != 0 ? std::strerror(code) : "write error");
  return false;
}

bool CheckedOutput::Write(std::string_view data) {
  if (failed()) return false;
  if (!file_) return Fail(EBADF);
  if (data.empty()) return true;
  errno = 0;
  if (std::fwrite(data.data(), 1, data.size(), file_.get()) != data.size()) return Fail(errno);
  return true;
}

bool CheckedOutput::Flush() {
  if (failed()) return false;
  if (!file_) return Fail(EBADF);
  errno = 0;
  if (std::fflush(file_.get()) != 0) return Fail(errno);
  return true;
}

bool CheckedOutput::Close() {
  if (!file_) return !failed();
  const bool flushed = Flush();
  errno = 0;
  const bool closed = std::fclose(file_.release()) == 0;
  if (!closed) return Fail(errno);
  return flushed;
}

bool SameFile(const std::string& output, const std::string& input) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(input, error) || error) return false;
  const bool same = std::filesystem::equivalent(output, input, error);
  return !error && same;
}

}  // namespace tooltext
