// The boundary of every exported function: an exception never leaves the
// library (the host is not C++, or not ours, and would abort). One that
// reaches an export is reported as one failure line in the host's log, and
// the host gets the export's failure value.
#pragma once

#include <type_traits>
#include <utility>

namespace host {

// Writes "Internal error in NAME: WHAT" (flag 0) for the exception being
// handled. Call it only from inside a catch handler. Allocates nothing, so
// it works when memory has run out.
void ReportEscapedException(const char* export_name) noexcept;

// Runs `body` and returns its result, or `failure` when it threw.
template <typename Result, typename Body>
Result GuardExport(const char* export_name, Result failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    ReportEscapedException(export_name);
    return failure;
  }
}

// The same for a body without a result.
template <typename Body>
void GuardExport(const char* export_name, Body&& body) noexcept {
  static_assert(std::is_void_v<std::invoke_result_t<Body>>);
  try {
    std::forward<Body>(body)();
  } catch (...) {
    ReportEscapedException(export_name);
  }
}

}  // namespace host
