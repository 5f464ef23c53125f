// One session of the transport library TESSIC.dll: opens a session and a
// dedicated channel on the fixed connection text, exchanges one AT command
// text for one reply text at a time, and closes the session. Every step is
// written to the host log; the library binding itself is process-wide.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/host_link.h"
#include "gen2/t_result.h"

namespace MANAGED_IF {

class TransportWrapper {
 public:
  // Capacity handed to every receive call.
  static constexpr int32_t kReceiveCapacity = 0x10000;

  // A new wrapper has no session (both ids -1). The context's host takes
  // the log lines; its services show the message boxes and the hourglass
  // cursor.
  explicit TransportWrapper(const common::ModuleContext& context);
  // Closes the session; when that succeeds the library is unloaded too.
  virtual ~TransportWrapper();
  TransportWrapper(const TransportWrapper&) = delete;
  TransportWrapper& operator=(const TransportWrapper&) = delete;

  // Binds TESSIC.dll at `path` (the process-wide binding).
  bool Load(const std::string& path);
  static void Unload();

  // Loads TESSIC.dll from the program folder, then opens the session and
  // its dedicated channel. Failures are reported and leave the ids at -1
  // (or the channel id negative); there is no retry.
  void Open();
  // Sends `command` and waits for its complete reply.
  T_Result Exchange(const std::string& command);
  // Closes the session; false (and nothing logged) when none is open.
  bool Close();

  // Lets go of the session without closing it: the ids become -1, so the
  // destructor closes nothing and the library stays loaded. The transport
  // library releases the session when it is itself released.
  void Abandon();

  // Takes over another wrapper's ids (used to build a command set from a
  // new, unopened wrapper).
  void CopyIds(const TransportWrapper& other);

  int32_t session_id() const { return session_id_; }
  int32_t channel_id() const { return channel_id_; }
  const common::ModuleContext& context() const { return context_; }

 private:
  void Log(const char* text, common::LogFlag flag) const { context_.host.Log(text, flag); }
  void Log(const std::string& text, common::LogFlag flag) const { context_.host.Log(text, flag); }

  common::ModuleContext context_;
  int32_t session_id_ = -1;
  int32_t channel_id_ = -1;
};

// "FMR/TCPIPc_127.0.0.1:27018": the transport connection to the handset.
std::string TransportConnectionText();

}  // namespace MANAGED_IF
