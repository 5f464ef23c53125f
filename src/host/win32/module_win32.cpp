// The library's module-wide objects on Windows, and its entry point. The
// entry point is declared here with its plain types, so this layer stays
// free of system headers.
#include "host/export_guard.h"
#include "host/host_state.h"
#include "ui/application.h"
#include "ui/win32/win32_services.h"

namespace {

// Services first, so they outlive the application and its windows.
struct Module {
  ui::Win32Services services;
  ui::Application application{services};
};

Module& TheModule() {
  static Module module;
  return module;
}

constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

}  // namespace

ui::Application& host::OwnApplication() {
  return TheModule().application;
}

// Succeeds in every case, also when detaching failed.
extern "C" int __stdcall DllMain(void* /*instance*/, unsigned long reason,
                                 void* reserved) noexcept {
  host::GuardExport("DllMain", [&] {
    if (reason == kProcessAttach) {
      host::HostAttach();
    } else if (reason == kProcessDetach) {
      // At process end (reserved set) the windows are already gone.
      if (reserved != nullptr) TheModule().services.Abandon();
      host::HostDetach();
    }
  });
  return 1;
}
