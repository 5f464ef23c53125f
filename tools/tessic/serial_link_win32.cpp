// The serial link on Windows: a COM port opened through the device namespace
// (\\.\COMn, so that COM10 and above open too) with no sharing, set to raw
// 8N1 at the given speed through its DCB, read with comm timeouts that wait
// at most as long as the caller asks.
//
// Under Wine, a COM port mapped to a pseudo-terminal takes every call used
// here (GetCommState and SetCommState with DTR and RTS in the DCB,
// SetCommTimeouts, PurgeComm, ClearCommError); only the modem-line calls,
// EscapeCommFunction and GetCommModemStatus, fail with ERROR_NOT_SUPPORTED,
// and the link needs neither.
#include <windows.h>

#include <array>
#include <string>

#include "serial_link.h"

namespace tessic {
namespace {

// A write that the device does not take within this time has failed: with
// no flow control only a device that is gone stops taking bytes.
constexpr DWORD kWriteTimeoutMs = 5000;
// The quiet time after which a read returns what it has: at 9600 baud a
// byte takes about 1 ms, so a reply is seldom split, and a split one is
// joined by the reply framer anyway.
constexpr DWORD kReadIntervalMs = 2;

// Owns the handle of an open port.
class PortHandle {
 public:
  explicit PortHandle(HANDLE handle) : handle_(handle) {}
  ~PortHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  PortHandle(const PortHandle&) = delete;
  PortHandle& operator=(const PortHandle&) = delete;
  [[nodiscard]] bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  [[nodiscard]] HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::wstring Widen(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// The system's text for an error code, with the code.
std::string SystemMessage(DWORD code) {
  std::array<char, 512> text{};
  DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       text.data(), static_cast<DWORD>(text.size()), nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == '.' || text[length - 1] == ' ')) {
    --length;
  }
  const std::string what = length > 0 ? std::string(text.data(), length) : "system error";
  return what + " (error " + std::to_string(code) + ")";
}

// A read returns at once with what has arrived; with nothing there it waits
// up to `wait_ms` for the first byte and returns once the line has been
// quiet for kReadIntervalMs after it (or, for 0, does not wait at all).
// The documented MAXDWORD, MAXDWORD, constant combination would say the
// same, but Wine keeps such a read waiting for the whole constant however
// early the bytes come, and an interval does the same on both.
COMMTIMEOUTS Timeouts(int wait_ms) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = wait_ms > 0 ? kReadIntervalMs : MAXDWORD;
  timeouts.ReadTotalTimeoutConstant = wait_ms > 0 ? static_cast<DWORD>(wait_ms) : 0;
  timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
  return timeouts;
}

// Raw 8N1 at `baud`: binary, no parity check, no flow control of either
// kind, DTR and RTS raised (a modem-style port may ignore commands until
// DTR is up), no character replaced or dropped, errors not aborting I/O.
DCB RawState(DCB state, uint32_t baud) {
  state.DCBlength = sizeof state;
  state.BaudRate = baud;
  state.ByteSize = 8;
  state.Parity = NOPARITY;
  state.StopBits = ONESTOPBIT;
  state.fBinary = TRUE;
  state.fParity = FALSE;
  state.fOutxCtsFlow = FALSE;
  state.fOutxDsrFlow = FALSE;
  state.fDtrControl = DTR_CONTROL_ENABLE;
  state.fDsrSensitivity = FALSE;
  state.fTXContinueOnXoff = TRUE;
  state.fOutX = FALSE;
  state.fInX = FALSE;
  state.fErrorChar = FALSE;
  state.fNull = FALSE;
  state.fRtsControl = RTS_CONTROL_ENABLE;
  state.fAbortOnError = FALSE;
  return state;
}

}  // namespace

struct SerialLink::OpenPort {
  explicit OpenPort(HANDLE opened) : handle(opened) {}
  PortHandle handle;
  DCB saved_state{};              // restored at close
  COMMTIMEOUTS saved_timeouts{};  // restored at close
  int wait_ms = -1;               // the read wait the timeouts are set for
};

SerialLink::SerialLink(SerialTarget target) : target_(std::move(target)) {}

SerialLink::~SerialLink() {
  Close();
}

bool SerialLink::connected() const {
  return port_ != nullptr;
}

void SerialLink::Close() {
  if (!port_) return;
  // Fails harmlessly on a device that is gone.
  (void)::SetCommState(port_->handle.get(), &port_->saved_state);
  (void)::SetCommTimeouts(port_->handle.get(), &port_->saved_timeouts);
  port_.reset();
}

bool SerialLink::Open(int /*timeout_ms*/, std::string& error) {
  Close();
  const std::string& name = target_.name;
  // Share mode 0: no other open of the port, by any program, while this one
  // holds it. (Wine does not refuse a second open of the device it maps a
  // COM port to; Windows does.)
  auto port = std::make_unique<OpenPort>(::CreateFileW(Widen(target_.path).c_str(),
                                                       GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                       OPEN_EXISTING, 0, nullptr));
  if (!port->handle.valid()) {
    const DWORD e = ::GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) {
      error = "serial port " + name +
              " not found (is the handset plugged in? Device Manager lists its COM number "
              "under Ports)";
    } else if (e == ERROR_ACCESS_DENIED || e == ERROR_SHARING_VIOLATION) {
      error = "serial port " + name +
              " is busy: port in use by another program (close that program, then try again)";
    } else {
      error = "cannot open serial port " + name + ": " + SystemMessage(e);
    }
    return false;
  }
  const HANDLE handle = port->handle.get();
  port->saved_state.DCBlength = sizeof port->saved_state;
  if (::GetFileType(handle) != FILE_TYPE_CHAR || !::GetCommState(handle, &port->saved_state) ||
      !::GetCommTimeouts(handle, &port->saved_timeouts)) {
    error = name + " is not a serial port";
    return false;
  }
  DCB raw = RawState(port->saved_state, target_.baud);
  if (!::SetCommState(handle, &raw)) {
    error = "cannot set serial port " + name + " to raw mode at " + std::to_string(target_.baud) +
            " baud: " + SystemMessage(::GetLastError());
    return false;
  }
  COMMTIMEOUTS timeouts = Timeouts(0);
  if (!::SetCommTimeouts(handle, &timeouts)) {
    error =
        "cannot set the timeouts of serial port " + name + ": " + SystemMessage(::GetLastError());
    return false;
  }
  port->wait_ms = 0;
  // What arrived before this open is stale.
  (void)::PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
  port_ = std::move(port);
  return true;
}

bool SerialLink::SendAll(const char* data, size_t size) {
  while (size > 0 && port_) {
    const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(port_->handle.get(), data, chunk, &written, nullptr) || written == 0) {
      Close();  // the device is gone, or has stopped taking bytes
      break;
    }
    data += written;
    size -= written;
  }
  return port_ != nullptr;
}

// A device unplugged, or a port whose driver went away, fails every call on
// the handle (ERROR_OPERATION_ABORTED, ERROR_BAD_COMMAND, ERROR_GEN_FAILURE,
// ERROR_ACCESS_DENIED, ...): any failure closes the link, so the session
// fails as on a dropped connection and a later open finds the port anew.
// Wine on a pseudo-terminal whose other end closed reads nothing without an
// error, but its ClearCommError then fails (ERROR_NOT_READY), so a read that
// found nothing asks it; on a real port it is the cheap status query that
// also fails once the device is gone.
Link::ReadResult SerialLink::Read(char* out, size_t capacity, int wait_ms, size_t& received) {
  received = 0;
  if (!port_) return ReadResult::kClosed;
  const HANDLE handle = port_->handle.get();
  if (wait_ms < 0) wait_ms = 0;
  if (wait_ms != port_->wait_ms) {
    COMMTIMEOUTS timeouts = Timeouts(wait_ms);
    if (!::SetCommTimeouts(handle, &timeouts)) {
      Close();
      return ReadResult::kClosed;
    }
    port_->wait_ms = wait_ms;
  }
  const DWORD want = capacity > MAXDWORD ? MAXDWORD : static_cast<DWORD>(capacity);
  DWORD got = 0;
  if (!::ReadFile(handle, out, want, &got, nullptr)) {
    Close();
    return ReadResult::kClosed;
  }
  if (got == 0) {  // the wait ended with nothing: is the device still there?
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(handle, &errors, &status)) {
      Close();
      return ReadResult::kClosed;
    }
    return ReadResult::kNothing;
  }
  received = got;
  return ReadResult::kData;
}

}  // namespace tessic
