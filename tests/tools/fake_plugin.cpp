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

#define FAKE_EXPORT(name) __asm__("_" #name) __attribute__((visibility("default")))

namespace {

int g_runs = 0;
size_t g_grow = 4000;
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

void FakeSetShowLineFunc(void (*)(const char*, uint8_t)) FAKE_EXPORT(SetShowLineFunc);
void FakeSetFuncInterface(const void*, int32_t) FAKE_EXPORT(SetFuncInterface);
void FakeSetComHandle(uint32_t) FAKE_EXPORT(SetComHandle);
void FakeSetGetInterface(void*) FAKE_EXPORT(SetGetInterface);
void FakeSetBasebandType(int32_t) FAKE_EXPORT(SetBasebandType);
int32_t FakeCanRun() FAKE_EXPORT(CanRun);
void FakeShowMDIChildForm(void*) FAKE_EXPORT(ShowMDIChildForm);
void FakeCloseMDIChildForm(void*) FAKE_EXPORT(CloseMDIChildForm);
int32_t FakeSonvioAutomate(const char*, char*, int32_t) FAKE_EXPORT(SonvioAutomate);

void FakeSetShowLineFunc(void (*)(const char*, uint8_t)) {}
void FakeSetFuncInterface(const void*, int32_t) {}
void FakeSetComHandle(uint32_t) {}
void FakeSetGetInterface(void*) {}
void FakeSetBasebandType(int32_t) {}
int32_t FakeCanRun() {
  return 1;
}
void FakeShowMDIChildForm(void*) {}
void FakeCloseMDIChildForm(void*) {}

int32_t FakeSonvioAutomate(const char* command, char* reply, int32_t capacity) {
  if (command == nullptr) {
    if (g_growing) g_last.append(100, 'g');
    return Copy(g_last, reply, capacity);
  }
  const std::string text = command;
  if (text == "none") return -1;
  ++g_runs;
  g_growing = text == "grow";
  if (g_growing) {
    g_grow += 100;
    g_last.assign(g_grow, 'g');
  } else if (text.rfind("long ", 0) == 0) {
    g_last = "run " + std::to_string(g_runs) + " ";
    g_last.resize(std::stoul(text.substr(5)), 'x');
  } else {
    g_last = "ok";
  }
  return Copy(g_last, reply, capacity);
}

}  // extern "C"
