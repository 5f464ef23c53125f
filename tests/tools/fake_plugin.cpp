// A stand-in for the plug-in with the host's entry points, for tests of the
// host's side of the automation call. Its automation replies are made to
// order by the command:
//   "long N"  a reply of N bytes that begins "run K ", K counting the
//             commands run (a null command only copies the last reply);
//   "grow"    a reply that is 100 bytes longer at every call, null or not,
//             as a faulty plug-in might answer a re-fetch;
//   "none"    no panel (-1).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

// An exported entry point under the plug-in's name, declared and defined.
#define FAKE_ENTRY(result, name, params, ...)                                         \
  result Fake##name params __asm__("_" #name) __attribute__((visibility("default"))); \
  result Fake##name params __VA_ARGS__

namespace {

int g_runs = 0;
std::string g_last;
bool g_growing = false;

int32_t Copy(const std::string& text, char* reply, int32_t capacity) {
  if (reply != nullptr && capacity > 0) {
    const size_t n = std::min(text.size(), static_cast<size_t>(capacity) - 1);
    std::memcpy(reply, text.data(), n);
    reply[n] = '\0';
  }
  return static_cast<int32_t>(text.size());
}

}  // namespace

extern "C" {

FAKE_ENTRY(void, SetShowLineFunc, (void (*)(const char*, uint8_t)), {})
FAKE_ENTRY(void, SetFuncInterface, (const void*, int32_t), {})
FAKE_ENTRY(void, SetComHandle, (uint32_t), {})
FAKE_ENTRY(void, SetGetInterface, (void*), {})
FAKE_ENTRY(void, SetBasebandType, (int32_t), {})
FAKE_ENTRY(int32_t, CanRun, (), { return 1; })
FAKE_ENTRY(void, ShowMDIChildForm, (void*), {})
FAKE_ENTRY(void, CloseMDIChildForm, (void*), {})

FAKE_ENTRY(int32_t, SonvioAutomate, (const char* command, char* reply, int32_t capacity), {
  if (command == nullptr) {
    if (g_growing) g_last.append(100, 'g');
    return Copy(g_last, reply, capacity);
  }
  const std::string text = command;
  if (text == "none") return -1;
  ++g_runs;
  g_growing = text == "grow";
  if (g_growing) {
    g_last.assign(4100, 'g');
  } else if (text.rfind("long ", 0) == 0) {
    g_last = "run " + std::to_string(g_runs) + " ";
    g_last.resize(std::stoul(text.substr(5)), 'x');
  } else {
    g_last = "ok";
  }
  return Copy(g_last, reply, capacity);
})

}  // extern "C"
