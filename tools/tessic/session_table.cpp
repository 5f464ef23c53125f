#include "session_table.h"

#include <cstdlib>

namespace tessic {
namespace {

constexpr int kConnectTimeoutMs = 2000;
// Long enough that a caller polling for a slow reply uses next to no CPU,
// short enough that it stays responsive.
constexpr int kDefaultReceiveSliceMs = 30;
constexpr char kLineEnd[] = "\r\n";

}  // namespace

SessionTable& Sessions() {
  static SessionTable table;
  return table;
}

int32_t SessionTable::Open(const std::string& connection) {
  auto session = std::make_unique<Session>();
  if (!ParseConnectionText(connection, session->host, session->port)) return -1;
  if (const char* server = std::getenv(kServerOverrideVariable); server != nullptr && *server) {
    if (!ParseConnectionText(std::string("FMR/TCPIPc_") + server, session->host, session->port))
      return -1;
  }
  if (!session->link.Connect(session->host, session->port, kConnectTimeoutMs)) return -1;
  session->receive_slice_ms = kDefaultReceiveSliceMs;
  const int32_t id = next_session_++;
  sessions_[id] = std::move(session);
  return id;
}

bool SessionTable::Close(int32_t session) {
  return sessions_.erase(session) > 0;
}

int32_t SessionTable::OpenChannel(int32_t session) {
  auto it = sessions_.find(session);
  if (it == sessions_.end()) return -1;
  if (it->second->channel < 0) it->second->channel = next_channel_++;
  return it->second->channel;
}

bool SessionTable::CloseChannel(int32_t channel) {
  Session* session = ForChannel(channel);
  if (session == nullptr) return false;
  session->channel = -1;
  return true;
}

bool SessionTable::SetReceiveSlice(int32_t channel, int32_t ms) {
  Session* session = ForChannel(channel);
  if (session == nullptr || ms < 1 || ms > 1000) return false;
  session->receive_slice_ms = ms;
  return true;
}

SessionTable::Session* SessionTable::ForChannel(int32_t channel) {
  if (channel < 0) return nullptr;
  for (auto& [id, session] : sessions_) {
    if (session->channel == channel) return session.get();
  }
  return nullptr;
}

bool SessionTable::Send(int32_t channel, const char* text, size_t length) {
  Session* session = ForChannel(channel);
  if (session == nullptr || text == nullptr) return false;
  // One command is in flight at a time: whatever is left of an abandoned
  // exchange is dropped.
  session->framer.Clear();
  if (!session->link.connected() &&
      !session->link.Connect(session->host, session->port, kConnectTimeoutMs))
    return false;
  std::string line(text, length);
  line += kLineEnd;
  return session->link.SendAll(line.data(), line.size());
}

ReceiveStatus SessionTable::Receive(int32_t channel, std::string& reply) {
  Session* session = ForChannel(channel);
  if (session == nullptr) return ReceiveStatus::kFailed;
  int wait_ms = session->receive_slice_ms;
  for (;;) {
    if (std::optional<Reply> complete = session->framer.Take()) {
      reply = std::move(complete->text);
      return complete->error ? ReceiveStatus::kError : ReceiveStatus::kComplete;
    }
    char chunk[0x4000];
    size_t received = 0;
    switch (session->link.Read(chunk, sizeof(chunk), wait_ms, received)) {
      case TcpLink::ReadResult::kData:
        session->framer.Append(chunk, received);
        wait_ms = 0;  // take whatever else has arrived, then answer
        break;
      case TcpLink::ReadResult::kNothing:
        return ReceiveStatus::kPending;
      case TcpLink::ReadResult::kClosed:
        session->framer.Clear();
        return ReceiveStatus::kFailed;
    }
  }
}

}  // namespace tessic
