#include "host/plugin_host.h"

#include <algorithm>
#include <vector>

namespace benchora {
namespace {

template <typename F>
bool Resolve(const platform::DynamicLibrary& lib, const char* name, F& out, std::string& missing) {
  out = reinterpret_cast<F>(lib.Symbol(name));
  if (out == nullptr) missing += std::string(missing.empty() ? "" : ", ") + name;
  return out != nullptr;
}

}  // namespace

bool PluginHost::Load(const std::string& path, std::string& error) {
  std::string why;
#if defined(_WIN32)
  library_ = platform::DynamicLibrary::Open(path, why);
#else
  // A name without a slash would be looked up on the library search path,
  // not in the current folder where the user sees it.
  library_ =
      platform::DynamicLibrary::Open(path.find('/') == std::string::npos ? "./" + path : path, why);
#endif
  if (!library_.IsLoaded()) {
    error = "cannot load the plug-in " + path + ": " + why;
    return false;
  }
  std::string missing;
  Resolve(library_, "_SetShowLineFunc", set_show_line_, missing);
  Resolve(library_, "_SetFuncInterface", set_func_interface_, missing);
  Resolve(library_, "_SetComHandle", set_com_handle_, missing);
  Resolve(library_, "_SetGetInterface", set_get_interface_, missing);
  Resolve(library_, "_SetBasebandType", set_baseband_type_, missing);
  Resolve(library_, "_CanRun", can_run_, missing);
  Resolve(library_, "_ShowMDIChildForm", show_, missing);
  Resolve(library_, "_CloseMDIChildForm", close_, missing);
  Resolve(library_, "_SonvioAutomate", automate_, missing);
  if (!missing.empty()) {
    error = "the plug-in " + path + " lacks " + missing;
    return false;
  }
  return true;
}

bool PluginHost::Automate(const std::string& command, std::string& reply) const {
  if (automate_ == nullptr) {
    reply.clear();
    return false;
  }
  std::vector<char> buffer(kFirstReplyCapacity);
  int32_t n = automate_(command.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()));
  if (n >= 0 && static_cast<size_t>(n) >= buffer.size()) {
    // The reply did not fit: fetch the same reply again into a buffer of its
    // size (a null command runs nothing, so the command is not repeated).
    buffer.assign(static_cast<size_t>(n) + 1, '\0');
    n = automate_(nullptr, buffer.data(), static_cast<int32_t>(buffer.size()));
  }
  if (n < 0) {
    reply.clear();
    return false;
  }
  // Never trust a length beyond what the buffer holds.
  const size_t copied = std::min(static_cast<size_t>(n), buffer.size() - 1);
  reply.assign(buffer.data(), copied);
  return true;
}

}  // namespace benchora
