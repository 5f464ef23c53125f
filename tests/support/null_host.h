// A host link for programs that only need somewhere to log (fuzz targets,
// benchmarks): every send fails, log lines are dropped.
#pragma once

#include "common/host_link.h"

namespace testing_host {

class NullHost : public common::HostLink {
 public:
  bool Send(common::HostChannel, uint16_t, uint16_t, const void*, uint16_t&, void*) override {
    return false;
  }
  std::optional<std::string_view> LastError() override { return "No errors"; }
  void Log(const char*, common::LogFlag) override {}
  using common::HostLink::Log;
};

}  // namespace testing_host
