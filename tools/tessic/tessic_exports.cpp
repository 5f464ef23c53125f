// The exported functions of TESSIC.dll.
#include <algorithm>
#include <cstring>
#include <string>

#include "session_table.h"
#include "tessic_api.h"

namespace {

constexpr char kDllVersion[] = "TESSIC stand-in 1.0";
constexpr char kConnTypes[] = "FMR/TCPIPc";

// Writes `text` zero-terminated into `buffer` (truncated to capacity - 1);
// the full length, or -1 without a buffer.
int32_t CopyOut(const std::string& text, char* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity <= 0) return -1;
  const size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int32_t>(text.size());
}

std::string& CurrentDir() {
  static std::string dir = ".";
  return dir;
}

}  // namespace

extern "C" {

int32_t TESSIC_SessionOpen(const char* connection, const char* options) {
  if (connection == nullptr) return -1;
  return tessic::Sessions().Open(connection, options != nullptr ? options : "");
}

uint8_t TESSIC_SessionClose(int32_t session) {
  return tessic::Sessions().Close(session) ? 1 : 0;
}

int32_t TESSIC_DedChOpen(int32_t session) {
  return tessic::Sessions().OpenChannel(session);
}

int32_t TESSIC_DedChClose(int32_t channel) {
  return tessic::Sessions().CloseChannel(channel) ? 0 : -1;
}

int32_t TESSIC_send(int32_t channel, const char* text, int32_t length) {
  if (length < 0) return -1;
  return tessic::Sessions().Send(channel, text, static_cast<size_t>(length)) ? 0 : -1;
}

int32_t TESSIC_recv(int32_t channel, char* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity <= 0) return TESSIC_RECV_FAILED;
  const std::string* reply = nullptr;
  switch (tessic::Sessions().Receive(channel, static_cast<size_t>(capacity), reply)) {
    case tessic::ReceiveStatus::kComplete:
      CopyOut(*reply, buffer, capacity);
      return TESSIC_RECV_COMPLETE;
    case tessic::ReceiveStatus::kError:
      CopyOut(*reply, buffer, capacity);
      return TESSIC_RECV_ERROR;
    case tessic::ReceiveStatus::kPending:
      return TESSIC_RECV_PENDING;
    case tessic::ReceiveStatus::kFailed:
      break;
  }
  return TESSIC_RECV_FAILED;
}

int32_t TESSIC_GetCurrentDir(char* buffer, int32_t capacity) {
  return CopyOut(CurrentDir(), buffer, capacity);
}

int32_t TESSIC_SetCurrentDir(const char* folder) {
  if (folder == nullptr) return -1;
  CurrentDir() = folder;
  return 0;
}

// The plug-in never calls these; a bench program may (see trace.h).
int32_t TESSIC_start_trace(const char* file) {
  if (file == nullptr) return -1;
  return tessic::Sessions().StartTrace(file) ? 0 : -1;
}
int32_t TESSIC_stop_trace(void) {
  tessic::Sessions().StopTrace();
  return 0;
}

int32_t TESSIC_set_event_sink(TESSIC_EventSink sink, void* context) {
  tessic::Sessions().SetEventSink(sink, context);
  return 0;
}

int32_t TESSIC_GetDllVersion(char* buffer, int32_t capacity) {
  return CopyOut(kDllVersion, buffer, capacity);
}

int32_t TESSIC_QueryConnTypes(char* buffer, int32_t capacity) {
  return CopyOut(kConnTypes, buffer, capacity);
}

// Connections are made per session; no port is held open beyond them.
int32_t TESSIC_QueryOpenPorts(char* buffer, int32_t capacity) {
  return CopyOut("", buffer, capacity);
}

int32_t TESSIC_QueryConnOptions(const char* /*conn_type*/, char* buffer, int32_t capacity) {
  return CopyOut("", buffer, capacity);
}

int32_t TESSIC_QueryOptionRange(const char* /*conn_type*/, const char* /*option*/, char* buffer,
                                int32_t capacity) {
  return CopyOut("", buffer, capacity);
}

int32_t TESSIC_SearchPluginDll(const char* /*folder*/, char* buffer, int32_t capacity) {
  return CopyOut("", buffer, capacity);
}

int32_t TESSIC_set_timeout(int32_t channel, int32_t timeout_ms) {
  return tessic::Sessions().SetTimeout(channel, timeout_ms) ? 0 : -1;
}

}  // extern "C"
