#include "table_host.h"

#include <array>

#include "host/exports.h"
#include "host/host_interface.h"

namespace testing_host {
namespace {

TableHost* g_host = nullptr;

const char* GetLastError() {
  static std::string text;
  text = std::string(g_host->LastError().value_or(""));
  return text.c_str();
}

void ShowLineCallback(const char* text, uint8_t flag) {
  g_host->Log(text, static_cast<common::LogFlag>(flag));
}

template <common::HostChannel kChannel>
uint8_t SendSlot(uint16_t id, uint16_t length, const void* request, uint16_t* reply_length,
                 void* reply, uint32_t com_handle) {
  g_host->com_handles.push_back(com_handle);
  return g_host->Send(kChannel, id, length, request, *reply_length, reply) ? 1 : 0;
}

}  // namespace

TableHost::TableHost() {
  g_host = this;
  Install();
  SetShowLineFunc(&ShowLineCallback);
  SetComHandle(kComHandle);
}

TableHost::~TableHost() {
  SetShowLineFunc(nullptr);
  const std::array<void*, host::kHostSlotCount> empty{};
  SetFuncInterface(empty.data(), static_cast<int32_t>(host::kHostTableBytes));
  g_host = nullptr;
}

void TableHost::Install(std::optional<size_t> missing_slot) {
  // The slots where the host puts its functions, by number as the host
  // knows them, not by the library's own names for them.
  std::array<void*, host::kHostSlotCount> table{};
  table[3] = reinterpret_cast<void*>(&GetLastError);
  table[15] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kAudioRequest>);
  table[54] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kAtCommand>);
  table[56] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kInfoRequest>);
  table[77] = reinterpret_cast<void*>(&SendSlot<common::HostChannel::kTestFunction>);
  if (missing_slot) table[*missing_slot] = nullptr;
  SetFuncInterface(table.data(), static_cast<int32_t>(host::kHostTableBytes));
}

}  // namespace testing_host
