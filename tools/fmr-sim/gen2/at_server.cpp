#include "fmr-sim/gen2/at_server.h"

#include <algorithm>
#include <chrono>
#include <string_view>

namespace fmrsim {
namespace {

// How long the serving thread waits for input before it looks at the stop
// flag again.
constexpr int kWaitSliceMs = 50;
// A line longer than this is no command; it is answered with ERROR.
constexpr size_t kMaxLineBytes = 0x10000;

// "< OK (3 reply lines, 120 bytes)" for the log.
std::string Summary(const std::string& framed) {
  const auto lines = std::count(framed.begin(), framed.end(), '\n');
  const bool error = framed.ends_with("ERROR\r\n");
  return std::string("< ") + (error ? "ERROR" : "OK") + " (" + std::to_string(lines - 1) +
         " reply lines, " + std::to_string(framed.size()) + " bytes)";
}

// "ATE0", "ATE" or "ATE1" (any case): the echo switch; sets `on`.
bool IsEchoSwitch(const std::string& line, bool& on) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  if (line.size() < 3 || line.size() > 4 || upper(line[0]) != 'A' || upper(line[1]) != 'T' ||
      upper(line[2]) != 'E')
    return false;
  if (line.size() == 3 || line[3] == '0') {
    on = false;
    return true;
  }
  on = true;
  return line[3] == '1';
}

}  // namespace

std::unique_ptr<AtServer> AtServer::Start(AtServerConfig config, std::string& error) {
  const net::SocketLibrary library;
  if (!library.ok()) {
    error = "the socket library cannot be started";
    return nullptr;
  }
  bool in_use = false;
  net::Socket listener = net::ListenTcp(config.address, config.port, error, in_use);
  if (!listener.valid()) return nullptr;
  return std::unique_ptr<AtServer>(new AtServer(std::move(config), std::move(listener)));
}

AtServer::AtServer(AtServerConfig config, net::Socket listener)
    : listener_(std::move(listener)),
      address_(config.address),
      port_(net::LocalPort(listener_)),
      log_(std::move(config.log)),
      radio_(std::move(config.radio)),
      commands_(radio_) {
  commands_.set_auto_search_polls(config.auto_search_polls);
  thread_ = std::thread([this] { Run(); });
}

AtServer::~AtServer() {
  {
    const std::lock_guard lock(stop_mutex_);
    stopping_ = true;
  }
  stop_signal_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void AtServer::Log(const std::string& text) const {
  if (log_) log_(text);
}

bool AtServer::Pause(uint32_t ms) {
  std::unique_lock lock(stop_mutex_);
  return !stop_signal_.wait_for(lock, std::chrono::milliseconds(ms),
                                [this] { return stopping_.load(); });
}

void AtServer::Run() {
  std::string pending;  // received bytes of an unfinished line
  char buffer[4096];
  while (!stopping_) {
    bool listener_ready = false;
    bool client_ready = false;
    if (!net::WaitReadable(listener_, client_, kWaitSliceMs, listener_ready, client_ready))
      continue;
    if (listener_ready) {
      net::Socket incoming = net::Accept(listener_);
      if (incoming.valid()) {
        if (client_.valid()) Log("client replaced by a new connection");
        client_ = std::move(incoming);
        pending.clear();
        ForgetConnection();
        ++connections_;
        Log("client connected");
      }
      continue;
    }
    if (!client_ready) continue;

    const long received = net::Receive(client_, buffer, sizeof buffer);
    if (received <= 0) {
      client_.Close();
      pending.clear();
      ForgetConnection();
      Log("client disconnected");
      continue;
    }
    pending.append(buffer, static_cast<size_t>(received));
    size_t end = 0;
    while (client_.valid() && (end = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;  // a bare line end asks nothing
      if (!Answer(line)) {
        client_.Close();
        pending.clear();
        ForgetConnection();
        Log("connection closed");
      }
    }
    if (pending.size() > kMaxLineBytes) {
      pending.clear();
      Log("> (line too long)");
      if (!net::SendAll(client_, FramedReply(AtReply{{}, false}))) client_.Close();
    }
  }
}

void AtServer::ForgetConnection() {
  echo_ = false;
  held_.clear();
}

bool AtServer::Answer(const std::string& line) {
  Log("> " + line);
  // A late answer goes out before anything of the next command.
  if (!held_.empty()) {
    Log("  (late answer sent)");
    if (!net::SendAll(client_, held_)) return false;
    held_.clear();
  }
  // The echo switch belongs to the link, not to the radio: no fault
  // applies to it.
  if (bool on = false; IsEchoSwitch(line, on)) {
    const bool was_on = echo_;
    echo_ = on;
    return net::SendAll(client_, (was_on ? line + "\r\n" : std::string()) + "OK\r\n");
  }
  const FaultAction fault = faults_.Take(AtCommandName(line));
  if (fault.outcome == FaultKind::kStray && !net::SendAll(client_, "+STRAY: before\r\n"))
    return false;
  if (echo_ && !net::SendAll(client_, line + "\r\n")) return false;
  if (fault.delay_ms > 0) {
    Log("  (answer delayed by " + std::to_string(fault.delay_ms) + " ms)");
    if (!Pause(fault.delay_ms)) return false;
  }
  if (fault.outcome == FaultKind::kDrop) {
    Log("  (connection dropped instead of answering)");
    return false;
  }
  std::string framed;
  if (fault.outcome == FaultKind::kError) {
    // The command is refused before the radio sees it.
    framed = FaultedReply(FaultKind::kError, AtReply{}, 0);
  } else {
    AtReply reply;
    {
      const std::lock_guard lock(commands_mutex_);
      reply = commands_.Execute(line);
    }
    framed = fault.outcome ? FaultedReply(*fault.outcome, reply, fault.value) : FramedReply(reply);
  }
  Log(Summary(framed));
  if (fault.outcome == FaultKind::kLate) {
    held_ = std::move(framed);
    return true;
  }
  if (fault.outcome == FaultKind::kTrickle) {
    for (const char c : framed) {
      if (!net::SendAll(client_, std::string_view(&c, 1)) || !Pause(fault.value)) return false;
    }
    return true;
  }
  return net::SendAll(client_, framed);
}

}  // namespace fmrsim
