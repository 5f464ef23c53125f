// The sessions of the transport stand-in: each is one link to the handset's
// AT port (a TCP connection to its AT server, or on POSIX its serial device)
// with one dedicated channel on it. The table closes every session it still
// holds when it is destroyed, which happens when the library is unloaded.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "link.h"
#include "reply_framer.h"
#include "tcp_link.h"
#include "trace.h"

namespace tessic {

// Environment variable that points every session at another server
// ("HOST:PORT") or, on POSIX, at a serial device ("serial:PATH[,BAUD]", see
// serial_link.h), replacing the address of the connection text.
constexpr char kServerOverrideVariable[] = "TESSIC_AT_SERVER";
// Environment variable with the receive timeout of new sessions in
// milliseconds.
constexpr char kTimeoutVariable[] = "TESSIC_TIMEOUT_MS";
// Receive timeout of a new session when the variable is not set: how long
// after its command was sent a reply must be complete (however the bytes
// trickle in) before the receive fails.
constexpr int32_t kDefaultTimeoutMs = 10000;
// The session option that turns the handset's echo off (see Send).
constexpr char kEchoOffOption[] = "echo=off";

// Statuses of a receive call.
enum class ReceiveStatus { kComplete, kError, kPending, kFailed };

class SessionTable {
 public:
  SessionTable() = default;
  SessionTable(const SessionTable&) = delete;
  SessionTable& operator=(const SessionTable&) = delete;

  // The id of a new connected session, or -1 (with last_error() telling why,
  // also written to standard error for a serial link). `options` is empty,
  // or kEchoOffOption for a handset whose echo must stay off. The first call
  // starts the trace when TESSIC_TRACE names a file.
  [[nodiscard]] int32_t Open(const std::string& connection, const std::string& options = {});
  [[nodiscard]] bool Close(int32_t session);
  // The session's dedicated channel id, or -1.
  [[nodiscard]] int32_t OpenChannel(int32_t session);
  [[nodiscard]] bool CloseChannel(int32_t channel);
  // Sets how long after a send the reply on the channel must be complete.
  [[nodiscard]] bool SetTimeout(int32_t channel, int32_t ms);

  // Sends one command line (a text without line ends); a session whose
  // connection was lost connects again first. With echo (the default) a
  // new connection's first line is "ATE1", and the reply is the one after
  // the command's echo (see ReplyFramer): every byte before the echo is
  // dropped as it arrives, so an earlier command's reply can never be taken
  // for this one's. Without echo, what has arrived of earlier replies is
  // dropped before the send. A handset that refuses the echo switch, or
  // acknowledges it and then does not echo (told once in the log), is
  // framed without echo from its first reply on. False when the command
  // could not be sent.
  [[nodiscard]] bool Send(int32_t channel, const char* text, size_t length);
  // Waits a short slice for the reply to complete; pending when it has not,
  // failed when the connection is lost, when no command is waiting for its
  // reply, or when the channel's timeout has passed since the send, however
  // the bytes keep coming. An attempt that failed before the command's
  // echo was seen (always, without echo) closes the connection and the next
  // send connects again: so on one connection every command sent has had
  // its echo seen, and the next echo of a text is that of the line just sent.
  // A reply text longer than `capacity` - 1 bytes is cut to that length.
  // On a final status `reply` points at the reply's text, kept by the
  // session until its next receive.
  [[nodiscard]] ReceiveStatus Receive(int32_t channel, size_t capacity, const std::string*& reply);

  // The transport's trace (see trace.h).
  [[nodiscard]] bool StartTrace(const std::string& path) { return trace_.Start(path); }
  void StopTrace() { trace_.Stop(); }
  void SetEventSink(EventSink sink, void* context) { trace_.SetSink(sink, context); }

  size_t size() const { return sessions_.size(); }
  // Why the last open, or the last connecting again, failed.
  const std::string& last_error() const { return last_error_; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Session {
    int32_t id = 0;
    std::string target;  // what the link reaches, for messages
    std::unique_ptr<Link> link;
    ReplyFramer framer;
    int32_t channel = -1;
    std::chrono::milliseconds timeout{kDefaultTimeoutMs};
    bool echo = true;            // the handset echoes the command lines
    bool awaiting = false;       // a command was sent and its reply not yet had
    bool fresh = true;           // connected, and nothing sent on the connection yet
    Clock::time_point deadline;  // of the awaited reply
    // Kept from one command to the next, so a steady exchange allocates
    // nothing: the command line as sent and the last reply taken.
    std::string line;
    Reply reply;
  };
  Session* ForChannel(int32_t channel);

  NetworkScope network_;  // first in, last out: outlives every link
  std::unordered_map<int32_t, std::unique_ptr<Session>> sessions_;
  std::unordered_map<int32_t, Session*> channels_;
  std::vector<char> chunk_ = std::vector<char>(0x10000);
  int32_t next_session_ = 1;
  int32_t next_channel_ = 1;
  std::string last_error_;
  Trace trace_;
  bool trace_variable_read_ = false;
};

// The one table of this loaded library.
SessionTable& Sessions();

}  // namespace tessic
