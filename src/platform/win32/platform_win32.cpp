// Win32 implementations of the platform services.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/platform.h"

#include "platform/clock_text.h"

namespace platform {

DynamicLibrary DynamicLibrary::Open(const std::string& path) {
  DynamicLibrary lib;
  // A missing dependency must not pop up a system dialog on the bench PC.
  DWORD old_mode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_mode);
  lib.handle_ = ::LoadLibraryA(path.c_str());
  const DWORD error = ::GetLastError();
  ::SetThreadErrorMode(old_mode, nullptr);
  ::SetLastError(error);
  return lib;
}

DynamicLibrary DynamicLibrary::Open(const std::string& path, std::string& error) {
  DynamicLibrary lib = Open(path);
  if (!lib.IsLoaded()) error = LastSystemErrorText();
  return lib;
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  const FARPROC address = ::GetProcAddress(static_cast<HMODULE>(handle_), name);
  return reinterpret_cast<void*>(address);
}

void DynamicLibrary::Reset() {
  if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

namespace {

class Win32VersionResource final : public VersionResource {
 public:
  explicit Win32VersionResource(std::vector<unsigned char> data) : data_(std::move(data)) {}

  bool Translation(uint16_t& language, uint16_t& code_page) const override {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) ||
        value == nullptr || length < 4)
      return false;
    // One entry: language then code page, each a little-endian 16-bit word.
    const auto* bytes = static_cast<const unsigned char*>(value);
    language = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    code_page = static_cast<uint16_t>(bytes[2] | (bytes[3] << 8));
    return true;
  }

  std::optional<std::string> Query(const std::string& sub_block) const override {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data_.data(), sub_block.c_str(), &value, &length) || value == nullptr)
      return std::nullopt;
    // String values count their terminating zero; stop at the first zero anyway.
    const char* text = static_cast<const char*>(value);
    size_t n = 0;
    while (n < length && text[n] != '\0') ++n;
    return std::string(text, n);
  }

 private:
  std::vector<unsigned char> data_;
};

std::string WithDelimiter(std::string folder) {
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return folder;
}

}  // namespace

std::unique_ptr<VersionResource> LoadVersionResource(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return nullptr;
  std::vector<unsigned char> data(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return nullptr;
  return std::make_unique<Win32VersionResource>(std::move(data));
}

std::string ProgramPath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
  }
}

char PathDelimiter() {
  return '\\';
}

std::string ProgramFolder() {
  if (const char* dir = std::getenv("SONVIO_PROGRAM_DIR"); dir != nullptr && *dir != '\0')
    return WithDelimiter(dir);
  const std::string path = ProgramPath();
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

std::string SettingsFolder() {
  char buffer[MAX_PATH] = {};
  const UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "C:\\Windows\\";
  return WithDelimiter(std::string(buffer, n));
}

std::optional<std::string> ReadRegularFile(const std::string& path, size_t most_bytes) {
  // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS; a pipe or a
  // device does, and is turned away by its type before anything is read.
  const std::unique_ptr<void, decltype(&::CloseHandle)> file(
      ::CreateFileA(path.c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr),
      &::CloseHandle);
  if (file.get() == INVALID_HANDLE_VALUE || ::GetFileType(file.get()) != FILE_TYPE_DISK)
    return std::nullopt;
  std::string text;
  char buffer[4096];
  while (text.size() < most_bytes) {
    const DWORD wanted = static_cast<DWORD>(std::min(sizeof(buffer), most_bytes - text.size()));
    DWORD n = 0;
    if (!::ReadFile(file.get(), buffer, wanted, &n, nullptr)) return std::nullopt;
    if (n == 0) break;
    text.append(buffer, n);
  }
  return text;
}

void SleepMs(uint32_t ms) {
  ::Sleep(ms);
}

std::string LocalTimeText() {
  if (const std::optional<int64_t> fixed = FixedClock()) return AsctimeText(UtcFromEpoch(*fixed));
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return AsctimeText(
      CalendarTime{t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond});
}

std::string LastSystemErrorText() {
  const DWORD code = ::GetLastError();
  char buffer[512] = {};
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof(buffer), nullptr);
  while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' ')) --n;
  if (n == 0) return "System error " + std::to_string(code);
  return std::string(buffer, n);
}

}  // namespace platform
