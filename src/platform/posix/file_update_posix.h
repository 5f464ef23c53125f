// Locked, crash-safe rewrites of small text files.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

// Returns the new text, or nullopt to leave the file as it is.
using Edit = std::function<std::optional<std::string>(std::string_view current)>;

// Rewrites the file at `path` under an exclusive advisory lock on the
// sidecar file PATH.lock, so that writers in other processes follow one
// another. When `path` is a symbolic link, the link stays one: the lock is
// taken beside the link, and the link's target is what gets rewritten.
//   - reads the file as it is now (a missing file is empty; an existing file
//     that is no regular file, is larger than `most_bytes` or cannot be
//     opened for reading and writing stops the update);
//   - hands its text to `edit`;
//   - writes the new text to a temporary file in the target's folder, syncs
//     it, gives it the file's permission bits and renames it over the file,
//     then syncs the folder, so the file is always either the old or the
//     new text.
// Temporary files left by a writer that was killed are removed first. The
// file's folder is created when missing. Returns the file's text after the
// update, or nullopt when it failed (errno tells why); the file is then
// unchanged and no temporary file is left.
std::optional<std::string> UpdateFile(const std::string& path, size_t most_bytes, const Edit& edit);

}  // namespace platform::files
