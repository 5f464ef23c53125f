// Where fmr-plot's picture goes: a file or standard output, with every
// write and the close checked, so a full disk or a reader that went away
// is reported (with the system's reason) instead of leaving a cut picture
// behind a status of 0.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace fmrplot {

// Writes `text` to the file `path`, replacing it. 0 written; 2 the file
// cannot be opened for writing; 1 a write or the close failed. Each
// failure is one line on `err` naming the file and the reason.
[[nodiscard]] int WriteFile(const std::string& path, std::string_view text, std::ostream& err);

// Writes `text` to `out`, standard output, and flushes it: 0, or 1 with
// the reason on `err`.
[[nodiscard]] int WriteStandardOutput(std::string_view text, std::ostream& out, std::ostream& err);

// Closes the process's standard output once everything is written, for
// main: 0, or 1 with the reason on `err` (a file system may report a
// failed write only here).
[[nodiscard]] int CloseStandardOutput(std::ostream& err);

// Whether `output` names the same file as `input` (both existing).
[[nodiscard]] bool SameFile(const std::string& input, const std::string& output);

}  // namespace fmrplot
