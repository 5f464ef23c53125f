// A scriptable stand-in for TESSIC.dll used by the session and panel tests.
// It records every call and answers receives from a script: first the
// queued statuses, then the standing reply of the command last sent.
// Built twice: complete, and without TESSIC_DedChClose
// (TESSIC_DOUBLE_WITHOUT_DEDCHCLOSE).
#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "tessic_api.h"
#include "tessic_double_api.h"

namespace {

struct Answer {
  int32_t status = 0;
  std::string text;
  bool fill_capacity = false;  // write `capacity` bytes with no terminator
};

struct Rule {
  std::string prefix;
  Answer answer;
};

struct Script {
  int32_t session_result = 7;
  int32_t channel_result = 9;
  uint8_t close_result = 1;
  std::deque<Answer> queued;
  std::vector<Rule> rules;
  std::string last_sent;
  std::vector<std::string> calls;
  std::vector<std::string> sent;
  std::vector<int32_t> sent_channels;
  std::vector<int32_t> sent_lengths;
  std::string last_connection;
  std::string last_options;
};

Script& State() {
  static Script script;
  return script;
}

void Record(const char* call) {
  State().calls.emplace_back(call);
}

const Answer* StandingAnswer(const std::string& command) {
  const Rule* best = nullptr;
  for (const Rule& rule : State().rules) {
    if (command.compare(0, rule.prefix.size(), rule.prefix) == 0 &&
        (best == nullptr || rule.prefix.size() >= best->prefix.size()))
      best = &rule;
  }
  return best != nullptr ? &best->answer : nullptr;
}

}  // namespace

extern "C" {

// The transport functions.

int32_t TESSIC_SessionOpen(const char* connection, const char* options) {
  Record("TESSIC_SessionOpen");
  State().last_connection = connection != nullptr ? connection : "";
  State().last_options = options != nullptr ? options : "";
  return State().session_result;
}

uint8_t TESSIC_SessionClose(int32_t) {
  Record("TESSIC_SessionClose");
  return State().close_result;
}

int32_t TESSIC_DedChOpen(int32_t) {
  Record("TESSIC_DedChOpen");
  return State().channel_result;
}

#if !defined(TESSIC_DOUBLE_WITHOUT_DEDCHCLOSE)
int32_t TESSIC_DedChClose(int32_t) {
  Record("TESSIC_DedChClose");
  return 0;
}
#endif

int32_t TESSIC_send(int32_t channel, const char* text, int32_t length) {
  Record("TESSIC_send");
  Script& s = State();
  s.last_sent.assign(text, static_cast<size_t>(std::max(length, 0)));
  s.sent.push_back(s.last_sent);
  s.sent_channels.push_back(channel);
  s.sent_lengths.push_back(length);
  return 0;
}

int32_t TESSIC_recv(int32_t, char* buffer, int32_t capacity) {
  Record("TESSIC_recv");
  Script& s = State();
  Answer answer;
  if (!s.queued.empty()) {
    answer = s.queued.front();
    s.queued.pop_front();
  } else if (const Answer* standing = StandingAnswer(s.last_sent)) {
    answer = *standing;
  }
  const size_t room = static_cast<size_t>(capacity);
  if (answer.fill_capacity) {
    std::memset(buffer, 'A', room);
  } else {
    const size_t n = std::min(answer.text.size(), room - 1);
    std::memcpy(buffer, answer.text.data(), n);
    buffer[n] = '\0';
  }
  return answer.status;
}

// Never called by the plug-in; present so that the library counts as loaded.
int32_t TESSIC_GetCurrentDir(char*, int32_t) {
  return -1;
}
int32_t TESSIC_SetCurrentDir(const char*) {
  return -1;
}
int32_t TESSIC_start_trace(const char*) {
  return 0;
}
int32_t TESSIC_stop_trace(void) {
  return 0;
}
int32_t TESSIC_GetDllVersion(char*, int32_t) {
  return -1;
}
int32_t TESSIC_QueryConnTypes(char*, int32_t) {
  return -1;
}
int32_t TESSIC_QueryOpenPorts(char*, int32_t) {
  return -1;
}
int32_t TESSIC_QueryConnOptions(const char*, char*, int32_t) {
  return -1;
}
int32_t TESSIC_QueryOptionRange(const char*, const char*, char*, int32_t) {
  return -1;
}
int32_t TESSIC_SearchPluginDll(const char*, char*, int32_t) {
  return -1;
}
int32_t TESSIC_set_timeout(int32_t, int32_t) {
  return 0;
}

// The script and the record.

void Double_Reset(void) {
  State() = Script{};
}

void Double_SetOpenResults(int32_t session, int32_t channel, uint8_t close) {
  State().session_result = session;
  State().channel_result = channel;
  State().close_result = close;
}

void Double_QueueReceive(int32_t status, const char* text) {
  State().queued.push_back({status, text, false});
}

void Double_QueueFullBuffer(int32_t status) {
  State().queued.push_back({status, {}, true});
}

void Double_SetReply(const char* command_prefix, int32_t status, const char* text) {
  auto& rules = State().rules;
  for (Rule& rule : rules) {
    if (rule.prefix == command_prefix) {
      rule.answer = {status, text, false};
      return;
    }
  }
  rules.push_back({command_prefix, {status, text, false}});
}

int32_t Double_CallCount(const char* function) {
  const auto& calls = State().calls;
  return static_cast<int32_t>(std::count(calls.begin(), calls.end(), std::string(function)));
}

int32_t Double_SentCount(void) {
  return static_cast<int32_t>(State().sent.size());
}

const char* Double_Sent(int32_t index) {
  const auto& sent = State().sent;
  return index >= 0 && static_cast<size_t>(index) < sent.size()
             ? sent[static_cast<size_t>(index)].c_str()
             : nullptr;
}

int32_t Double_SentChannel(int32_t index) {
  return State().sent_channels.at(static_cast<size_t>(index));
}

int32_t Double_SentLength(int32_t index) {
  return State().sent_lengths.at(static_cast<size_t>(index));
}

const char* Double_LastConnection(void) {
  return State().last_connection.c_str();
}
const char* Double_LastOptions(void) {
  return State().last_options.c_str();
}

}  // extern "C"
