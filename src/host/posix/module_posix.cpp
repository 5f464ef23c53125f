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
  GuardExport("OnProcessAttach", [] { HostAttach(); });
}
__attribute__((destructor)) void OnProcessDetach() noexcept {
  GuardExport("OnProcessDetach", [] { HostDetach(); });
}

}  // namespace

ui::Application& OwnApplication() {
  return TheModule().application;
}
