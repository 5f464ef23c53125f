// The library's module-wide objects on POSIX, and its attach/detach hooks
// (the shared-object constructor and destructor).
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

__attribute__((constructor)) void OnProcessAttach() {
  HostAttach();
}
__attribute__((destructor)) void OnProcessDetach() {
  HostDetach();
}

}  // namespace

ui::Application& OwnApplication() {
  return TheModule().application;
}
