#include "plugin_host.h"

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
  library_ = platform::DynamicLibrary::Open(path);
  if (!library_.IsLoaded()) {
    error = "cannot load the plug-in " + path + ": " + platform::LastSystemErrorText();
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
  std::vector<char> buffer(4096);
  int32_t n = automate_(command.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()));
  if (n < 0) {
    reply.clear();
    return false;
  }
  if (static_cast<size_t>(n) >= buffer.size()) {
    buffer.resize(static_cast<size_t>(n) + 1);
    n = automate_(command.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()));
  }
  reply.assign(buffer.data(), static_cast<size_t>(n));
  return true;
}

}  // namespace benchora
