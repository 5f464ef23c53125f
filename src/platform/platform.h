// Operating-system services used by the plug-in, with one implementation per
// platform. Nothing above this layer includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// A loaded shared library. Releases the library when destroyed.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`; an empty object when that fails.
  static DynamicLibrary Open(const std::string& path);
  // The same; when loading fails, `error` is the loader's own explanation
  // (the file is missing, is no library of this platform, lacks a
  // dependency, ...).
  static DynamicLibrary Open(const std::string& path, std::string& error);

  bool IsLoaded() const { return handle_ != nullptr; }
  // Address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  void Reset();

 private:
  void* handle_ = nullptr;
};

// Version resource of a module file: a translation entry and string values
// addressed by the resource's sub-block paths ("\\StringFileInfo\\040904b0\\ProductName").
class VersionResource {
 public:
  virtual ~VersionResource() = default;
  // First "\\VarFileInfo\\Translation" entry.
  virtual bool Translation(uint16_t& language, uint16_t& code_page) const = 0;
  virtual std::optional<std::string> Query(const std::string& sub_block) const = 0;
};

// Null when the file has no version resource (or cannot be read).
std::unique_ptr<VersionResource> LoadVersionResource(const std::string& path);

// Full path of the running program's file.
std::string ProgramPath();
// Folder of the running program's file, with a trailing path delimiter.
// SONVIO_PROGRAM_DIR replaces it (tests and relocated installs).
std::string ProgramFolder();
// The platform's path delimiter.
char PathDelimiter();

// Folder in which a bare initialization-file name lives, with a trailing delimiter.
std::string SettingsFolder();

// Blocks the calling thread.
void SleepMs(uint32_t ms);

// Local time in the C library's asctime form ("Sat Dec  5 22:50:01 2026\n").
// SONVIO_CLOCK (seconds since the epoch) fixes it, shown as UTC.
std::string LocalTimeText();

// The system's description of its last error code.
std::string LastSystemErrorText();

// The first `most_bytes` bytes of the regular file at `path` (a symbolic
// link to one counts). Nullopt when it is missing, cannot be read, or is no
// regular file (a folder, a FIFO, a device): such a file is never read, and
// opening it never waits for a writer.
std::optional<std::string> ReadRegularFile(const std::string& path, size_t most_bytes);

// The largest initialization file read or rewritten. A larger one reads as
// empty and is never rewritten, as a file that cannot be read; a settings
// file of every saved control is a few kilobytes.
inline constexpr size_t kIniFileMostBytes = 4 * 1024 * 1024;

// Whether the initialization file `file` (resolved as IniFile resolves it)
// is a regular file larger than kIniFileMostBytes, which is never
// rewritten: the reason a commit to it fails.
[[nodiscard]] bool IniFileTooLarge(const std::string& file);

// Initialization files: "[section]" lines, then "key=value" lines. Section
// and key names compare without regard to case. A bare file name (no path
// delimiter) lives in SettingsFolder(). A write replaces a key's value in
// place, adds a new key at the end of its section and a new section at the
// end of the file; nothing is ever deleted.
//
// IniFile is one file opened by a handler. Reads see the file as it was at
// the first read, or as the last Commit left it (a missing or unreadable
// file, and anything that is no regular file, reads as empty). Writes are queued; Commit merges
// them into the file as it is at that moment, so a handler that writes many keys replaces the file
// once and keeps what other writers added meanwhile. On POSIX the file is read once and replaced in
// one locked, crash-safe step, keeping its own line ends (a new file gets "\r\n"); on Windows the
// profile functions read and edit it key by key.
class IniFile {
 public:
  explicit IniFile(const std::string& file);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // The value of `key` in `section`; nullopt when either is missing.
  std::optional<std::string> Read(const std::string& section, const std::string& key) const;
  // Queues one write.
  void Write(const std::string& section, const std::string& key, const std::string& value);
  // Applies the queued writes and empties the queue. False when the file
  // could not be written (an existing file that cannot be read counts as
  // such); on POSIX it is then left as it was.
  [[nodiscard]] bool Commit();

  const std::string& path() const { return path_; }

 private:
  struct Impl;
  std::string path_;
  std::unique_ptr<Impl> impl_;
};

// One read or one write, each opening the file on its own.
std::string IniReadString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& default_value);
bool IniWriteString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);
std::string IniResolvePath(const std::string& file);

}  // namespace platform
