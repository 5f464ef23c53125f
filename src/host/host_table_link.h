// The host link of the loaded library: the host's function table, its
// communication handle and its log callback, as the host handed them over.
#pragma once

#include "common/host_link.h"

class HostTableLink final : public HostLink {
 public:
  [[nodiscard]] bool Send(HostChannel channel, uint16_t message_id, uint16_t request_length,
                          const void* request, uint16_t& reply_length, void* reply) override;
  std::optional<std::string_view> LastError() override;
  void Log(const char* text, LogFlag flag) override;
  using HostLink::Log;
};

// The module's one link and the context the panels are built with.
HostLink& ModuleHostLink();
ModuleContext TheModuleContext();
