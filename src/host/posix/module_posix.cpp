// The library's module-wide objects on POSIX, and its attach/detach hooks
// (the shared-object constructor and destructor).
#include "host/export_guard.h"
#include "host/host_state.h"
#include "ui/application.h"
#include "ui/headless/headless_services.h"

namespace {

// Services first, so they outlive the application and its windows.
struct Module {
  ui::HeadlessServices services;
  ui::Application application{services};
};

Module& TheModule() {
  static Module module;
  return module;
}

__attribute__((constructor)) void OnProcessAttach() noexcept {
  host::GuardExport("OnProcessAttach", [] { host::HostAttach(); });
}
__attribute__((destructor)) void OnProcessDetach() noexcept {
  host::GuardExport("OnProcessDetach", [] { host::HostDetach(); });
}

}  // namespace

ui::Application& host::OwnApplication() {
  return TheModule().application;
}
