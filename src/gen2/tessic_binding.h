// The process-wide binding of the transport library TESSIC.dll: its module
// handle and the addresses of its 17 entry points, shared by every transport
// session. Empty (all null) while the library is not loaded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace ui {
class Services;
}

namespace MANAGED_IF {

// The entry points in the order they are looked up.
enum TessicEntry : size_t {
  kTessicSessionOpen,
  kTessicSessionClose,
  kTessicSend,
  kTessicRecv,
  kTessicGetCurrentDir,
  kTessicSetCurrentDir,
  kTessicStartTrace,
  kTessicStopTrace,
  kTessicGetDllVersion,
  kTessicQueryConnTypes,
  kTessicQueryOpenPorts,
  kTessicQueryConnOptions,
  kTessicQueryOptionRange,
  kTessicSearchPluginDll,
  kTessicSetTimeout,
  kTessicDedChOpen,
  kTessicDedChClose,
  kTessicEntryCount,
};

inline constexpr std::array<const char*, kTessicEntryCount> kTessicEntryNames = {
    "TESSIC_SessionOpen",
    "TESSIC_SessionClose",
    "TESSIC_send",
    "TESSIC_recv",
    "TESSIC_GetCurrentDir",
    "TESSIC_SetCurrentDir",
    "TESSIC_start_trace",
    "TESSIC_stop_trace",
    "TESSIC_GetDllVersion",
    "TESSIC_QueryConnTypes",
    "TESSIC_QueryOpenPorts",
    "TESSIC_QueryConnOptions",
    "TESSIC_QueryOptionRange",
    "TESSIC_SearchPluginDll",
    "TESSIC_set_timeout",
    "TESSIC_DedChOpen",
    "TESSIC_DedChClose",
};

// The five functions the session calls.
using TessicSessionOpenFunc = int32_t (*)(const char* connection, const char* options);
using TessicSessionCloseFunc = uint8_t (*)(int32_t session);
using TessicSendFunc = int32_t (*)(int32_t channel, const char* text, int32_t length);
using TessicRecvFunc = int32_t (*)(int32_t channel, char* buffer, int32_t capacity);
using TessicDedChOpenFunc = int32_t (*)(int32_t session);

struct TessicBinding {
  platform::DynamicLibrary library;
  std::array<void*, kTessicEntryCount> entries{};

  template <typename Func>
  Func Entry(TessicEntry entry) const {
    return reinterpret_cast<Func>(entries[entry]);
  }
};

// The one binding of this process.
TessicBinding& Tessic();

// Binds the library at `path` after unloading any library bound before.
// False when the file cannot be loaded (no message) or when entry points are
// missing: then a message box lists them, and the library stays bound with
// the entry points that were found.
bool LoadTessic(const std::string& path, ui::Services& services);

// Releases the library and clears every entry point.
void UnloadTessic();

}  // namespace MANAGED_IF
