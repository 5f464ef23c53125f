// The sessions of the transport stand-in: each is one TCP connection to the
// handset's AT server with one dedicated channel on it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "reply_framer.h"
#include "tcp_link.h"

namespace tessic {

// Environment variable that points every session at another server
// ("HOST:PORT"), replacing the address of the connection text.
constexpr char kServerOverrideVariable[] = "TESSIC_AT_SERVER";

// Statuses of a receive call.
enum class ReceiveStatus { kComplete, kError, kPending, kFailed };

class SessionTable {
 public:
  // The id of a new connected session, or -1.
  int32_t Open(const std::string& connection);
  bool Close(int32_t session);
  // The session's dedicated channel id, or -1.
  int32_t OpenChannel(int32_t session);
  bool CloseChannel(int32_t channel);
  bool SetReceiveSlice(int32_t channel, int32_t ms);

  // Sends one command line; a session whose connection was lost connects
  // again first. False when the command could not be sent.
  bool Send(int32_t channel, const char* text, size_t length);
  // Waits up to the channel's receive slice for the reply to complete.
  ReceiveStatus Receive(int32_t channel, std::string& reply);

 private:
  struct Session {
    std::string host;
    uint16_t port = 0;
    TcpLink link;
    ReplyFramer framer;
    int32_t channel = -1;
    int receive_slice_ms = 0;
  };
  Session* ForChannel(int32_t channel);

  std::map<int32_t, std::unique_ptr<Session>> sessions_;
  int32_t next_session_ = 1;
  int32_t next_channel_ = 1;
};

// The one table of this loaded library.
SessionTable& Sessions();

}  // namespace tessic
