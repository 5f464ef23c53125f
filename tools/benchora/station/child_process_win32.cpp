#include <windows.h>

#include "platform/platform.h"
#include "station/child_process.h"

namespace benchora {
namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// One argument quoted the way the C runtime splits a command line.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

struct Handle {
  explicit Handle(HANDLE h = nullptr) : handle(h) {}
  ~Handle() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE handle;
};

class Win32Child final : public ChildProcess {
 public:
  Win32Child(HANDLE process, DWORD id) : process_(process), id_(id) {}
  ~Win32Child() override {
    if (!status_) {
      Kill();
      ::WaitForSingleObject(process_.handle, 5000);
    }
  }

  std::optional<int> Poll() override {
    if (status_) return status_;
    if (::WaitForSingleObject(process_.handle, 0) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 1;
    ::GetExitCodeProcess(process_.handle, &code);
    status_ = static_cast<int>(code);
    return status_;
  }
  // The child is a process group of its own: Ctrl+Break reaches it alone.
  void Interrupt() override {
    if (!status_) ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, id_);
  }
  void Kill() override {
    if (!status_) ::TerminateProcess(process_.handle, 1);
  }

 private:
  Handle process_;
  DWORD id_;
  std::optional<int> status_;
};

}  // namespace

void SetChildEnvironment(const std::string& name, const std::string& value) {
  ::SetEnvironmentVariableW(Wide(name).c_str(), value.empty() ? nullptr : Wide(value).c_str());
  // The C runtime keeps a copy that getenv reads (the plug-in's own lookups).
  ::_putenv_s(name.c_str(), value.c_str());
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  const std::string& output, std::string& error) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const Handle out(::CreateFileW(Wide(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (out.handle == INVALID_HANDLE_VALUE) {
    error = "cannot write " + output + ": " + platform::LastSystemErrorText();
    return nullptr;
  }
  const Handle in(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::wstring command = Quoted(Wide(program));
  for (const std::string& argument : arguments) command += L" " + Quoted(Wide(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.handle;
  startup.hStdOutput = out.handle;
  startup.hStdError = out.handle;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(Wide(program).c_str(), command.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process)) {
    error = "cannot start " + program + ": " + platform::LastSystemErrorText();
    return nullptr;
  }
  ::CloseHandle(process.hThread);
  return std::make_unique<Win32Child>(process.hProcess, process.dwProcessId);
}

}  // namespace benchora
