#include "host/export_guard.h"

#include <cstdio>
#include <exception>

#include "host/host_state.h"

namespace host {

void ReportEscapedException(const char* export_name) noexcept {
  char line[256];
  try {
    throw;
  } catch (const std::exception& error) {
    std::snprintf(line, sizeof(line), "Internal error in %s: %s", export_name, error.what());
  } catch (...) {
    std::snprintf(line, sizeof(line), "Internal error in %s: unknown exception", export_name);
  }
  try {
    ShowLine(line, 0);
  } catch (...) {
    // The host's own callback threw: there is nobody left to tell.
  }
}

}  // namespace host
