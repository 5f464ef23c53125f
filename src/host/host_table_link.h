// The host link of the loaded library: the host's function table, its
// communication handle and its log callback, as the host handed them over.
#pragma once

#include "common/host_link.h"

namespace host {

class HostTableLink final : public common::HostLink {
 public:
  [[nodiscard]] bool Send(common::HostChannel channel, uint16_t message_id, uint16_t request_length,
                          const void* request, uint16_t& reply_length, void* reply) override;
  std::optional<std::string_view> LastError() override;
  void Log(const char* text, common::LogFlag flag) override;
  using common::HostLink::Log;
};

// The module's one link and the context the panels are built with.
common::HostLink& ModuleHostLink();
common::ModuleContext TheModuleContext();

}  // namespace host
