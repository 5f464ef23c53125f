#include "report/report_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define BENCHORA_PID _getpid()
#else
#include <unistd.h>
#define BENCHORA_PID ::getpid()
#endif

namespace benchora {
namespace fs = std::filesystem;

ReportFile::~ReportFile() {
  if (!file_ || in_place_) return;
  file_.reset();
  std::error_code ignored;
  fs::remove(temp_, ignored);
}

void ReportFile::Fail(const std::string& what) {
  if (error_.empty()) error_ = "cannot write " + path_ + ": " + what;
}

bool ReportFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  in_place_ = fs::exists(status) && !fs::is_regular_file(status);
  const std::string opened =
      in_place_ ? path : path + "." + std::to_string(BENCHORA_PID) + ".benchora-part";
  errno = 0;
  file_.reset(std::fopen(opened.c_str(), "wb"));
  if (!file_) {
    error = "cannot write " + path + ": " +
            (errno != 0 ? std::strerror(errno) : std::string("cannot be opened"));
    return false;
  }
  temp_ = in_place_ ? std::string() : opened;
  return true;
}

bool ReportFile::Write(std::string_view text) {
  if (!file_ || !error_.empty()) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size() ||
      std::fflush(file_.get()) != 0) {
    Fail(errno != 0 ? std::strerror(errno) : "the write failed");
    return false;
  }
  return true;
}

bool ReportFile::Commit(std::string& error) {
  if (!file_) {
    error = error_.empty() ? "cannot write " + path_ + ": it was never opened" : error_;
    return false;
  }
  errno = 0;
  if (std::fclose(file_.release()) != 0) Fail(errno != 0 ? std::strerror(errno) : "close failed");
  if (!error_.empty()) {
    std::error_code ignored;
    if (!temp_.empty()) fs::remove(temp_, ignored);
    error = error_;
    return false;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    fs::rename(temp_, path_, ec);
    if (ec) {
      Fail(ec.message());
      std::error_code ignored;
      fs::remove(temp_, ignored);
      error = error_;
      return false;
    }
  }
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec) && !ec;
  const fs::path left = fs::weakly_canonical(a, ec);
  if (ec) return false;
  const fs::path right = fs::weakly_canonical(b, ec);
  return !ec && left == right;
}

}  // namespace benchora
