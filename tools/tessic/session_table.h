// The sessions of the transport stand-in: each is one TCP connection to the
// handset's AT server with one dedicated channel on it. The table closes
// every session it still holds when it is destroyed, which happens when the
// library is unloaded.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "reply_framer.h"
#include "tcp_link.h"

namespace tessic {

// Environment variable that points every session at another server
// ("HOST:PORT"), replacing the address of the connection text.
constexpr char kServerOverrideVariable[] = "TESSIC_AT_SERVER";
// Environment variable with the receive timeout of new sessions in
// milliseconds.
constexpr char kTimeoutVariable[] = "TESSIC_TIMEOUT_MS";
// Receive timeout of a new session when the variable is not set: how long
// a reply may go without a byte arriving before the receive fails.
constexpr int32_t kDefaultTimeoutMs = 10000;

// Statuses of a receive call.
enum class ReceiveStatus { kComplete, kError, kPending, kFailed };

class SessionTable {
 public:
  SessionTable() = default;
  SessionTable(const SessionTable&) = delete;
  SessionTable& operator=(const SessionTable&) = delete;

  // The id of a new connected session, or -1.
  [[nodiscard]] int32_t Open(const std::string& connection);
  [[nodiscard]] bool Close(int32_t session);
  // The session's dedicated channel id, or -1.
  [[nodiscard]] int32_t OpenChannel(int32_t session);
  [[nodiscard]] bool CloseChannel(int32_t channel);
  // Sets how long a reply on the channel may go without a byte arriving.
  [[nodiscard]] bool SetTimeout(int32_t channel, int32_t ms);

  // Sends one command line after dropping whatever is left of the last
  // reply, received or still waiting on the connection; a session whose
  // connection was lost connects again first. False when the command could
  // not be sent.
  [[nodiscard]] bool Send(int32_t channel, const char* text, size_t length);
  // Waits a short slice for the reply to complete; pending when it has not
  // (even while bytes keep arriving), failed when the connection is lost or
  // nothing has arrived for the channel's timeout (the connection is then
  // closed, and the next send connects again). A reply text longer than
  // `capacity` - 1 bytes is cut to that length.
  // On a final status `reply` points at the reply's text, kept by the
  // session until its next receive.
  [[nodiscard]] ReceiveStatus Receive(int32_t channel, size_t capacity, const std::string*& reply);

  size_t size() const { return sessions_.size(); }

 private:
  using Clock = std::chrono::steady_clock;
  struct Session {
    std::string host;
    uint16_t port = 0;
    TcpLink link;
    ReplyFramer framer;
    int32_t channel = -1;
    std::chrono::milliseconds timeout{kDefaultTimeoutMs};
    Clock::time_point last_activity;  // the last send or received byte
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
};

// The one table of this loaded library.
SessionTable& Sessions();

}  // namespace tessic
