#include "session_table.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "serial_link.h"

namespace tessic {
namespace {

using std::chrono::milliseconds;

constexpr int kConnectTimeoutMs = 2000;
// How long one receive call waits: long enough that a caller polling for a
// slow reply uses next to no CPU, short enough that it stays responsive.
constexpr milliseconds kReceiveSlice{30};
// The most time a send spends dropping what is left of an earlier reply.
constexpr int kDrainLimitMs = 30;
constexpr char kLineEnd[] = "\r\n";
// Switches the handset's echo on; sent first on every new connection.
constexpr char kEchoOn[] = "ATE1\r\n";

// The timeout for new sessions: the environment's, or the default.
milliseconds InitialTimeout() {
  const char* text = std::getenv(kTimeoutVariable);
  if (text != nullptr && *text != '\0') {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end == '\0' && value > 0 && value <= INT32_MAX) return milliseconds(value);
  }
  return milliseconds(kDefaultTimeoutMs);
}

// Whole milliseconds to wait, rounded up so that a wait never ends early.
int CeilMs(std::chrono::steady_clock::duration d) {
  return static_cast<int>(std::chrono::ceil<milliseconds>(d).count());
}

// The link a session's connection text, or TESSIC_AT_SERVER, names; null
// with `error` set when it names none. The connection text must be well
// formed even when the environment names another target.
std::unique_ptr<Link> MakeLink(const std::string& connection, std::string& error) {
  std::string host;
  uint16_t port = 0;
  if (!ParseConnectionText(connection, host, port)) {
    error = "not a connection text: " + connection;
    return nullptr;
  }
  if (const char* server = std::getenv(kServerOverrideVariable); server != nullptr && *server) {
    SerialTarget serial;
    switch (ReadSerialText(server, kNativeNaming, serial, error)) {
      case SerialText::kTarget:
        return std::make_unique<SerialLink>(std::move(serial));
      case SerialText::kRefused:
        return nullptr;
      case SerialText::kOther:
        break;
    }
    if (!ParseConnectionText(std::string("FMR/TCPIPc_") + server, host, port)) {
      error = std::string("not an address: ") + server;
      return nullptr;
    }
  }
  return std::make_unique<TcpLink>(std::move(host), port);
}

}  // namespace

SessionTable& Sessions() {
  static SessionTable table;
  return table;
}

int32_t SessionTable::Open(const std::string& connection, const std::string& options) {
  // Read at the first session rather than when the library is loaded, so a
  // host that set an event sink first hears of a trace that cannot start.
  if (!trace_variable_read_) {
    trace_variable_read_ = true;
    const char* path = std::getenv(kTraceVariable);
    if (path != nullptr && *path != '\0') (void)trace_.Start(path);
  }
  if (!network_.ok() || (!options.empty() && options != kEchoOffOption)) return -1;
  auto session = std::make_unique<Session>();
  session->echo = options.empty();
  session->link = MakeLink(connection, last_error_);
  const char* server = std::getenv(kServerOverrideVariable);
  const std::string target = server != nullptr && *server != '\0' ? server : connection;
  if (session->link == nullptr || !session->link->Open(kConnectTimeoutMs, last_error_)) {
    trace_.Write(0, "open " + target + " failed:", last_error_);
    // The plug-in says only that the session failed; a serial port's reason
    // (busy, missing, no permission) is the user's to fix, so it is told.
    if (server != nullptr && NamesSerialPort(server)) {
      std::fprintf(stderr, "TESSIC: %s\n", last_error_.c_str());
      std::fflush(stderr);
    }
    return -1;
  }
  session->timeout = InitialTimeout();
  const int32_t id = next_session_++;
  session->id = id;
  session->target = target;
  session->framer.set_unsolicited_sink(
      [this, id](std::string_view line) { trace_.Write(id, "unsolicited", line); });
  trace_.Write(id, "opened", target);
  sessions_.emplace(id, std::move(session));
  return id;
}

bool SessionTable::Close(int32_t session) {
  const auto it = sessions_.find(session);
  if (it == sessions_.end()) return false;
  if (it->second->channel >= 0) channels_.erase(it->second->channel);
  trace_.Write(session, "closed");
  sessions_.erase(it);
  return true;
}

int32_t SessionTable::OpenChannel(int32_t session) {
  const auto it = sessions_.find(session);
  if (it == sessions_.end()) return -1;
  Session& s = *it->second;
  if (s.channel < 0) {
    s.channel = next_channel_++;
    channels_.emplace(s.channel, &s);
  }
  return s.channel;
}

bool SessionTable::CloseChannel(int32_t channel) {
  const auto it = channels_.find(channel);
  if (it == channels_.end()) return false;
  it->second->channel = -1;
  channels_.erase(it);
  return true;
}

bool SessionTable::SetTimeout(int32_t channel, int32_t ms) {
  Session* session = ForChannel(channel);
  if (session == nullptr || ms < 1) return false;
  session->timeout = milliseconds(ms);
  return true;
}

SessionTable::Session* SessionTable::ForChannel(int32_t channel) {
  const auto it = channels_.find(channel);
  return it == channels_.end() ? nullptr : it->second;
}

bool SessionTable::Send(int32_t channel, const char* text, size_t length) {
  Session* session = ForChannel(channel);
  if (session == nullptr || text == nullptr) return false;
  const std::string_view command(text, length);
  if (command.find_first_of("\r\n") != std::string_view::npos) return false;
  const Clock::time_point now = Clock::now();
  session->deadline = now + session->timeout;
  session->awaiting = false;
  if (!session->echo) {
    // Without echo only time separates one reply from the next: what has
    // arrived of earlier replies goes now.
    session->framer.Clear();
    session->link->Drain(kDrainLimitMs);
  }
  if (!session->link->connected()) {
    const int limit = std::min(kConnectTimeoutMs, CeilMs(session->timeout));
    if (!session->link->Open(limit, last_error_)) {
      trace_.Write(session->id, "connecting again failed:", last_error_);
      return false;
    }
    trace_.Write(session->id, "connected again");
    session->fresh = true;
  }
  session->line.clear();
  if (session->echo) {
    if (session->fresh) session->line = kEchoOn;
    session->framer.Expect(command, session->fresh);
  }
  session->fresh = false;
  session->line.append(command);
  session->line += kLineEnd;
  session->awaiting = session->link->SendAll(session->line.data(), session->line.size());
  trace_.Write(session->id, session->awaiting ? "sent" : "sending failed:", command);
  return session->awaiting;
}

ReceiveStatus SessionTable::Receive(int32_t channel, size_t capacity, const std::string*& reply) {
  Session* session = ForChannel(channel);
  if (session == nullptr || capacity == 0 || !session->awaiting) return ReceiveStatus::kFailed;
  session->framer.set_limit(capacity - 1);  // room for the terminating zero
  // One clock reading per pass: the one taken when data arrives also
  // decides whether to wait again.
  Clock::time_point now = Clock::now();
  const Clock::time_point slice_end = now + kReceiveSlice;
  for (;;) {
    if (session->framer.TakeInto(session->reply)) {
      session->awaiting = false;
      // A handset that refused the echo switch is framed without echo; so is
      // one that acknowledged it but sent the reply without the echo, which
      // would otherwise time out on every command with nothing to say why.
      if (session->framer.echo_refused()) session->echo = false;
      if (session->framer.echo_missing()) {
        session->echo = false;
        trace_.Log(session->id, "the handset at " + session->target +
                                    " acknowledged the echo switch (ATE1) but does not echo; "
                                    "its replies are framed without echo");
      }
      reply = &session->reply.text;
      trace_.Write(session->id, session->reply.error ? "reply ERROR" : "reply OK", *reply);
      return session->reply.error ? ReceiveStatus::kError : ReceiveStatus::kComplete;
    }
    if (now >= session->deadline) {
      // The caller sends again. Once the echo has been seen the link is in
      // step: the rest of this reply comes before the next echo and is
      // dropped then. Before it, the line sent may still be echoed later
      // (and a repeated command would take that echo for its own), so the
      // connection goes and the next send makes a new one.
      if (!session->echo || !session->framer.echo_seen()) session->link->Close();
      session->framer.Clear();
      session->awaiting = false;
      trace_.Write(session->id, "no whole reply in time");
      return ReceiveStatus::kFailed;
    }
    if (now >= slice_end) return ReceiveStatus::kPending;

    size_t received = 0;
    const int wait_ms = CeilMs(std::min(slice_end, session->deadline) - now);
    const Link::ReadResult result =
        session->link->Read(chunk_.data(), chunk_.size(), wait_ms, received);
    now = Clock::now();
    switch (result) {
      case Link::ReadResult::kData:
        session->framer.Append(chunk_.data(), received);
        break;
      case Link::ReadResult::kNothing:
        break;
      case Link::ReadResult::kClosed:
        session->framer.Clear();
        session->awaiting = false;
        trace_.Write(session->id, "link lost");
        return ReceiveStatus::kFailed;
    }
  }
}

}  // namespace tessic
