// The tool tests' own handle on a shared library, so loading TESSIC.dll
// by name takes none of the plug-in's layers.
#pragma once

#include <memory>
#include <string>

// The platform section: load, look up and unload.
#ifdef _WIN32
#include <windows.h>

namespace simtest::native {
inline void* Load(const std::string& path) {
  return reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
}
inline void* Find(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
inline void Unload(void* handle) {
  FreeLibrary(static_cast<HMODULE>(handle));
}
}  // namespace simtest::native
#else
#include <dlfcn.h>

namespace simtest::native {
inline void* Load(const std::string& path) {
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
inline void* Find(void* handle, const char* name) {
  return dlsym(handle, name);
}
inline void Unload(void* handle) {
  dlclose(handle);
}
}  // namespace simtest::native
#endif

namespace simtest {

class SharedLibrary {
 public:
  // The library at `path`; not loaded when that fails.
  static SharedLibrary Open(const std::string& path) {
    SharedLibrary library;
    library.handle_.reset(native::Load(path));
    return library;
  }

  bool IsLoaded() const { return handle_ != nullptr; }

  // Address of an exported symbol, or null.
  void* Symbol(const char* name) const {
    return handle_ ? native::Find(handle_.get(), name) : nullptr;
  }
  // Unloads the library now.
  void Reset() { handle_.reset(); }

 private:
  struct Unloader {
    void operator()(void* handle) const { native::Unload(handle); }
  };
  std::unique_ptr<void, Unloader> handle_;
};

}  // namespace simtest
