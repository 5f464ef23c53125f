#include "fmr-sim/gen2/at_server.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

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

AtDevice::AtDevice(RadioModel radio, int auto_search_polls, AtLog log)
    : log_(std::move(log)), radio_(std::move(radio)), commands_(radio_) {
  commands_.set_auto_search_polls(auto_search_polls);
}

void AtDevice::Log(const std::string& text) const {
  if (log_) log_(text);
}

void AtDevice::Stop() {
  {
    const std::lock_guard lock(stop_mutex_);
    stopping_ = true;
  }
  stop_signal_.notify_all();
}

bool AtDevice::Pause(uint32_t ms) {
  std::unique_lock lock(stop_mutex_);
  return !stop_signal_.wait_for(lock, std::chrono::milliseconds(ms),
                                [this] { return stopping_.load(); });
}

AtConnection::AtConnection(AtDevice& device, AtLinkOptions options, Send send)
    : device_(device), options_(std::move(options)), send_(std::move(send)) {
  Reset();
}

void AtConnection::Reset() {
  pending_.clear();
  echo_ = options_.echo && !options_.never_echo;
  held_.clear();
  lines_ = 0;
  answers_ = 0;
}

bool AtConnection::Receive(std::string_view bytes) {
  hung_up_ = false;
  pending_.append(bytes);
  size_t end = 0;
  while ((end = pending_.find_first_of("\r\n")) != std::string::npos) {
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    if (line.empty()) continue;  // a bare line end (or the LF of CR LF) asks nothing
    if (!Answer(line)) return false;
  }
  if (pending_.size() > kMaxLineBytes) {
    pending_.clear();
    device_.Log("> (line too long)");
    return send_(OnLink(FramedReply(AtReply{{}, false})));
  }
  return true;
}

std::string AtConnection::OnLink(std::string framed) const {
  if (options_.line_end == "\r\n") return framed;
  std::string out;
  out.reserve(framed.size());
  size_t from = 0;
  for (size_t at = 0; (at = framed.find("\r\n", from)) != std::string::npos; from = at + 2)
    out.append(framed, from, at - from).append(options_.line_end);
  out.append(framed, from);
  return out;
}

std::string AtConnection::WithUnsolicited(std::string framed) const {
  if (options_.unsolicited_every == 0 || answers_ % options_.unsolicited_every != 0) return framed;
  const std::string line = std::string(kUnsolicitedLine) + options_.line_end;
  size_t at = framed.size();
  if (options_.unsolicited_inside) {
    const size_t first_end = framed.find(options_.line_end);
    if (first_end != std::string::npos) at = first_end + options_.line_end.size();
  }
  framed.insert(at, line);
  return framed;
}

bool AtConnection::Answer(const std::string& line) {
  device_.Log("> " + line);
  ++lines_;
  const bool hang_up = options_.hangup_after != 0 && lines_ == options_.hangup_after;
  // The last command line's answer goes out half, then the link ends.
  const auto deliver = [&](const std::string& bytes) {
    if (!hang_up) return send_(bytes);
    device_.Log("  (hung up in the middle of the answer)");
    hung_up_ = true;
    (void)send_(std::string_view(bytes).substr(0, bytes.size() / 2));
    return false;
  };
  // A late answer goes out before anything of the next command.
  if (!held_.empty()) {
    device_.Log("  (late answer sent)");
    if (!send_(held_)) return false;
    held_.clear();
  }
  // The echo switch belongs to the link, not to the radio: no fault
  // applies to it.
  // So does the bare "AT", which only asks whether the device is there.
  const bool attention = line.size() == 2 && (line[0] | 0x20) == 'a' && (line[1] | 0x20) == 't';
  if (bool on = echo_; attention || IsEchoSwitch(line, on)) {
    const bool was_on = echo_;
    echo_ = on && !options_.never_echo;
    ++answers_;
    if (was_on && !send_(line + options_.line_end)) return false;
    return deliver(WithUnsolicited(OnLink("OK\r\n")));
  }
  const FaultAction fault = device_.faults().Take(AtCommandName(line));
  if (fault.outcome == FaultKind::kStray && !send_(OnLink("+STRAY: before\r\n"))) return false;
  if (echo_ && !send_(line + options_.line_end)) return false;
  if (fault.delay_ms > 0) {
    device_.Log("  (answer delayed by " + std::to_string(fault.delay_ms) + " ms)");
    if (!device_.Pause(fault.delay_ms)) return false;
  }
  if (fault.outcome == FaultKind::kDrop) {
    device_.Log("  (connection dropped instead of answering)");
    return false;
  }
  std::string framed;
  if (fault.outcome == FaultKind::kError) {
    // The command is refused before the radio sees it.
    framed = FaultedReply(FaultKind::kError, AtReply{}, 0);
  } else {
    const AtReply reply =
        device_.WithCommands([&](AtCommands& commands) { return commands.Execute(line); });
    if (fault.outcome == FaultKind::kValue) {
      framed = FramedReply(ChangedValue(reply, fault.field, fault.replacement));
    } else {
      framed =
          fault.outcome ? FaultedReply(*fault.outcome, reply, fault.value) : FramedReply(reply);
    }
  }
  device_.Log(Summary(framed));
  ++answers_;
  framed = OnLink(std::move(framed));
  if (!fault.outcome || fault.outcome == FaultKind::kValue) {
    framed = WithUnsolicited(std::move(framed));
  }
  if (hang_up) return deliver(framed);
  if (fault.outcome == FaultKind::kLate) {
    held_ = std::move(framed);
    return true;
  }
  if (fault.outcome == FaultKind::kTrickle) {
    for (const char c : framed) {
      if (!send_(std::string_view(&c, 1)) || !device_.Pause(fault.value)) return false;
    }
    return true;
  }
  return send_(framed);
}

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
      send_deadline_ms_(config.send_deadline_ms),
      device_(std::move(config.radio), config.auto_search_polls, std::move(config.log)),
      connection_(device_, AtLinkOptions{.never_echo = config.never_echo},
                  [this](std::string_view bytes) { return SendToClient(bytes); }) {
  thread_ = std::thread([this] { Run(); });
}

AtServer::~AtServer() {
  device_.Stop();
  if (thread_.joinable()) thread_.join();
}

bool AtServer::SendToClient(std::string_view bytes) {
  using Clock = std::chrono::steady_clock;
  const size_t total = bytes.size();
  auto unsent = [&] {
    return std::to_string(bytes.size()) + " of " + std::to_string(total) + " bytes unsent";
  };
  const auto deadline = std::chrono::milliseconds(send_deadline_ms_);
  auto last_taken = Clock::now();
  while (!bytes.empty()) {
    const long taken = net::SendAvailable(client_, bytes);
    if (taken < 0) return false;
    if (taken > 0) {
      bytes.remove_prefix(static_cast<size_t>(taken));
      last_taken = Clock::now();
      continue;
    }
    if (device_.stopping()) return false;
    const auto waited = Clock::now() - last_taken;
    if (waited >= deadline) {
      device_.Log("client dropped: it read nothing of its answer for " +
                  std::to_string(send_deadline_ms_) + " ms (" + unsent() + ")");
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - waited);
    const int slice = static_cast<int>(std::min<int64_t>(kWaitSliceMs, left.count() + 1));
    bool writable = false;
    bool listener_ready = false;
    (void)net::WaitWritable(client_, listener_, slice, writable, listener_ready);
    if (listener_ready) {
      device_.Log("client dropped: a new connection came while it read nothing of its answer (" +
                  unsent() + ")");
      return false;
    }
  }
  return true;
}

void AtServer::Run() {
  char buffer[4096];
  while (!device_.stopping()) {
    bool listener_ready = false;
    bool client_ready = false;
    if (!net::WaitReadable(listener_, client_, kWaitSliceMs, listener_ready, client_ready))
      continue;
    if (listener_ready) {
      net::Socket incoming = net::Accept(listener_);
      if (incoming.valid()) {
        if (!net::SetNonBlocking(incoming)) device_.Log("(the connection stays blocking)");
        if (client_.valid()) device_.Log("client replaced by a new connection");
        client_ = std::move(incoming);
        connection_.Reset();
        ++connections_;
        device_.Log("client connected");
      }
      continue;
    }
    if (!client_ready) continue;

    const long received = net::Receive(client_, buffer, sizeof buffer);
    if (received == net::kNothingYet) continue;
    if (received <= 0) {
      client_.Close();
      connection_.Reset();
      device_.Log("client disconnected");
      continue;
    }
    if (!connection_.Receive(std::string_view(buffer, static_cast<size_t>(received)))) {
      client_.Close();
      connection_.Reset();
      device_.Log("connection closed");
    }
  }
}

}  // namespace fmrsim
