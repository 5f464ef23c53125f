// POSIX implementations of the platform services.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/platform.h"

#include "platform/clock_text.h"

namespace platform {

DynamicLibrary DynamicLibrary::Open(const std::string& path) {
  DynamicLibrary lib;
  lib.handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  return lib;
}

DynamicLibrary DynamicLibrary::Open(const std::string& path, std::string& error) {
  ::dlerror();  // forget an earlier failure's text
  DynamicLibrary lib = Open(path);
  if (!lib.IsLoaded()) {
    const char* text = ::dlerror();
    error = text != nullptr ? text : "cannot load " + path;
  }
  return lib;
}

void* DynamicLibrary::Symbol(const char* name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

void DynamicLibrary::Reset() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
}

std::string ProgramPath() {
  char buffer[4096];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

char PathDelimiter() {
  return '/';
}

namespace {
std::string WithDelimiter(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}
}  // namespace

std::string ProgramFolder() {
  if (const char* dir = std::getenv("SONVIO_PROGRAM_DIR"); dir != nullptr && *dir != '\0')
    return WithDelimiter(dir);
  std::string path = ProgramPath();
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string SettingsFolder() {
  if (const char* dir = std::getenv("SONVIO_CONFIG_DIR"); dir != nullptr && *dir != '\0')
    return WithDelimiter(dir);
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
    return WithDelimiter(xdg) + "sonvio/";
  const char* home = std::getenv("HOME");
  return WithDelimiter(home != nullptr ? home : ".") + ".config/sonvio/";
}

void SleepMs(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string LocalTimeText() {
  if (const std::optional<int64_t> fixed = FixedClock()) return AsctimeText(UtcFromEpoch(*fixed));
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return AsctimeText(CalendarTime{1900 + local.tm_year, local.tm_mon + 1, local.tm_mday,
                                  local.tm_wday, local.tm_hour, local.tm_min, local.tm_sec});
}

std::string LastSystemErrorText() {
  char buffer[256] = {};
  int code = errno;
  // GNU strerror_r may return a static text instead of filling the buffer.
  const char* text = ::strerror_r(code, buffer, sizeof(buffer));
  return text != nullptr ? text : buffer;
}

}  // namespace platform
