// A scriptable stand-in for TESSIC.dll used by the session and panel tests:
// records every call and answers receives from its script (see
// tessic_double_state.h). Built twice: complete, and without
// TESSIC_DedChClose (TESSIC_DOUBLE_WITHOUT_DEDCHCLOSE).
#include <cstring>

#include "tessic_api.h"
#include "tessic_double_state.h"

namespace {

gen2_test::DoubleState& State() {
  static gen2_test::DoubleState state;
  return state;
}

int32_t Record(const char* call, int32_t result) {
  State().calls.emplace_back(call);
  return result;
}

}  // namespace

extern "C" {

TESSIC_API gen2_test::DoubleState* Double_State(void) {
  return &State();
}

int32_t TESSIC_SessionOpen(const char*, const char*) {
  return Record("TESSIC_SessionOpen", State().session_result);
}

uint8_t TESSIC_SessionClose(int32_t) {
  return static_cast<uint8_t>(Record("TESSIC_SessionClose", State().close_result));
}

int32_t TESSIC_DedChOpen(int32_t) {
  return Record("TESSIC_DedChOpen", State().channel_result);
}

#if !defined(TESSIC_DOUBLE_WITHOUT_DEDCHCLOSE)
int32_t TESSIC_DedChClose(int32_t) {
  return Record("TESSIC_DedChClose", 0);
}
#endif

int32_t TESSIC_send(int32_t channel, const char* text, int32_t length) {
  gen2_test::DoubleState& s = State();
  s.sent.emplace_back(text, static_cast<size_t>(std::max(length, 0)));
  s.sent_channels.push_back(channel);
  s.sent_lengths.push_back(length);
  return Record("TESSIC_send", 0);
}

int32_t TESSIC_recv(int32_t, char* buffer, int32_t capacity) {
  gen2_test::DoubleState& s = State();
  gen2_test::DoubleAnswer answer;
  if (!s.queued.empty()) {
    answer = s.queued.front();
    s.queued.pop_front();
  } else if (!s.sent.empty()) {
    for (const auto& [prefix, reply] : s.replies)  // ascending: the longest match wins
      if (s.sent.back().starts_with(prefix)) answer = reply;
  }
  const auto room = static_cast<size_t>(capacity);
  if (answer.fill_capacity)
    std::memset(buffer, 'A', room);
  else
    buffer[answer.text.copy(buffer, room - 1)] = '\0';
  return Record("TESSIC_recv", answer.status);
}

// Never called by the plug-in; present so that the library counts as loaded.
#define UNUSED_ENTRY(result, name, ...) \
  result name(__VA_ARGS__) {            \
    return -1;                          \
  }
UNUSED_ENTRY(int32_t, TESSIC_GetCurrentDir, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_SetCurrentDir, const char*)
UNUSED_ENTRY(int32_t, TESSIC_start_trace, const char*)
UNUSED_ENTRY(int32_t, TESSIC_stop_trace, void)
UNUSED_ENTRY(int32_t, TESSIC_GetDllVersion, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_QueryConnTypes, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_QueryOpenPorts, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_QueryConnOptions, const char*, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_QueryOptionRange, const char*, const char*, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_SearchPluginDll, const char*, char*, int32_t)
UNUSED_ENTRY(int32_t, TESSIC_set_timeout, int32_t, int32_t)
#undef UNUSED_ENTRY

}  // extern "C"
